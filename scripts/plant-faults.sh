#!/usr/bin/env bash
# Plants known faults in the binding's cleaning, the framework's key spelling and the Tie
# plug-in, one at a time, and runs fuzz_tie_command against each: an oracle that shares the
# code's mistakes would let them through. Prints one line per fault, CAUGHT (with the first
# line of what caught it) or MISSED, and exits 1 when one was missed.
# Usage: scripts/plant-faults.sh [SECONDS]  (fuzzing time per fault, default 120; needs clang)
# Works in a throw-away checkout of HEAD; the working tree is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}

# name | file | sed expression that plants it
faults=(
    "a key's last sharp or flat missed|kit/finaleframework/music/FCKeySignature.cpp|s/count > first ? (count - 1 - first)/count > first + 1 ? (count - 1 - first)/"
    "a minor tonic three steps below its relative major|kit/finaleframework/music/FCKeySignature.cpp|s/if (CalcMode() == 1) index -= 2;/if (CalcMode() == 1) index -= 3;/"
    "a measure record that does not load read as C major|plugin/FCTieHandler.cpp|s/key->SetKeyValue(record.GetKeyValue());/key->SetKeyValue(record.GetKeyValue());\n    } else {\n        key = std::make_unique<FCKeySignature>();/"
    "notes across a barline compared as stored, whatever the keys|plugin/FCTieHandler.cpp|s/if (next->GetMeasure() != entry->GetMeasure() \&\&/if (false \&\&/"
    "the flags' copy of the note ID left stale|kit/finalepdk/EntryFrames.cpp|s/notes\[k\].flags = (notes\[k\].flags \& ~NOTE_FLAG_ID_BITS) | idBits;/(void)idBits;/"
    "records past the note count cleared from one too far|kit/finalepdk/EntryFrames.cpp|s/for (int k = n; k < EXENTRY_MAX_NOTES; ++k)/for (int k = n + 1; k < EXENTRY_MAX_NOTES; ++k)/"
    "a rest's note record added without counting it|kit/finalepdk/EntryFrames.cpp|s/        entry->noteCount = 1;//"
    "of two notes sharing an ID, the later renumbered|kit/finalepdk/EntryFrames.cpp|s/renumber = j != k \&\& notes\[j\].noteID/renumber = j < k \&\& notes[j].noteID/"
    "a new note ID counted from 1 rather than 0|kit/finalepdk/EntryFrames.cpp|s/int32_t highest = 0;/int32_t highest = 1;/"
)

work=$(mktemp -d)
# shellcheck disable=SC2317  # run by the trap
cleanup() {
    git worktree remove --force "$work/tree" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
git worktree add --detach "$work/tree" HEAD >/dev/null 2>&1
cmake -S "$work/tree" -B "$work/build" -G Ninja -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release -DPLOVIK_SANITIZE=OFF \
      -DPLOVIK_FUZZ=ON -DPLOVIK_TESTS=OFF >/dev/null

missed=0
for fault in "${faults[@]}"; do
    IFS='|' read -r name file expression <<< "$fault"
    sed -i "$expression" "$work/tree/$file"
    if git -C "$work/tree" diff --quiet; then
        echo "NOT PLANTED  $name ($file no longer reads as expected)"
        missed=1
        continue
    fi
    cmake --build "$work/build" --target fuzz_tie_command >"$work/build.log" 2>&1 ||
        { cat "$work/build.log" >&2; exit 2; }
    rm -rf "$work/corpus" "$work/found"
    mkdir -p "$work/corpus" "$work/found"
    if "$work/build/fuzz/fuzz_tie_command" "$work/corpus" fuzz/corpus/fuzz_tie_command \
           -max_len=512 -max_total_time="$seconds" -artifact_prefix="$work/found/" \
           >"$work/run.log" 2>&1; then
        echo "MISSED       $name"
        missed=1
    else
        echo "CAUGHT       $name: $(grep -m1 '^fuzz_tie_command:' "$work/run.log" || echo crash)"
    fi
    git -C "$work/tree" checkout -q -- "$file"
done
exit "$missed"
