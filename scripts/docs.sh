#!/usr/bin/env bash
# Builds the reference of the framework, the host binding and the plug-in from their headers
# into build/docs/html (open index.html), with class graphs, the table of host services, and
# the README's guide to writing a command as its main page. Fails when a public class has no
# description, which is why the test command runs it too (a few seconds). Installs Doxygen and
# Graphviz when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
PLOVIK_SETUP_DOCS=1 source scripts/setup.sh

export PLOVIK_DOCS_OUT=build/docs
export PLOVIK_DOCS_GENERATED=build/docs/generated
rm -rf "$PLOVIK_DOCS_OUT"
mkdir -p "$PLOVIK_DOCS_GENERATED"

awk '/^## Writing a command on the framework/ { on = 1; print "# Writing a command on the framework {#mainpage}"; next }
     on && /^## / { exit }
     on && !/^<!--/ { print }' README.md > "$PLOVIK_DOCS_GENERATED/mainpage.md"
awk -f docs/catalogue.awk finalepdk/FXCatalogue.h > "$PLOVIK_DOCS_GENERATED/catalogue.md"

doxygen docs/Doxyfile

# A class whose comment does not open with a one-line description fails, as does a class
# without one; members without a comment are only listed in the log.
mapfile -t headers < <(git ls-files 'finaleframework/*.h' 'finalepdk/*.h' 'plugin/*.h' 2>/dev/null ||
                       find finaleframework finalepdk plugin -name '*.h')
if ! awk -f docs/class-briefs.awk "${headers[@]}" >&2; then
    echo "Classes above: the first comment line must be the class's one-line description." >&2
    exit 1
fi
undocumented=$(grep -E "warning: Compound .* is not documented" "$PLOVIK_DOCS_OUT/warnings.log" || true)
if [ -n "$undocumented" ]; then
    echo "Classes without a description:" >&2
    echo "$undocumented" >&2
    exit 1
fi
echo "Reference: $PLOVIK_DOCS_OUT/html/index.html"
