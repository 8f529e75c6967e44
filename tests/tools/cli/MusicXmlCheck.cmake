# Runs plovik-host on MusicXML scores as a user would: tie and untie with a report, standard
# output, and every refusal, none of which may write over the score it read.
#   cmake -DHOST=<plovik-host> -DEXAMPLE=<examples/little-etude.musicxml> -DWORK=<dir> -P MusicXmlCheck.cmake
include(${CMAKE_CURRENT_LIST_DIR}/HostCheck.cmake)

function(same a b)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE differ)
    if(differ)
        message(FATAL_ERROR "${a} and ${b} differ")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(score ${WORK}/etude.musicxml)
file(COPY_FILE ${EXAMPLE} ${score})

# Tie with a report; untie gives back the score as it was, byte for byte.
run(0 tie ${score} -o ${WORK}/tied.musicxml --report)
expect("\"Plovik Tie Notes\" on staves 1-3, measures 1-8" "${out}")
expect("Ties added: 22\n  staff 1 (Flute), measure 1, beat 1, voice 1: G4 to measure 1, beat 2\n" "${out}")
# Across the key changes the same written pitch ties, and nothing is left unwritten.
expect("staff 1 (Flute), measure 4, beat 3, voice 1: B4 to measure 5, beat 1\n" "${out}")
expect("Ties removed: 0\nNear misses: 3\n" "${out}")
expect("staff 1 (Flute), measure 2, beat 4, voice 1: C#5; the next note is C5, the same letter with another alteration" "${out}")
file(READ ${WORK}/tied.musicxml tied)
expect("<duration>4</duration>\n        <tie type=\"start\"/>\n        <voice>1</voice>" "${tied}")
run(0 untie ${WORK}/tied.musicxml -o ${WORK}/untied.musicxml)
same(${score} ${WORK}/untied.musicxml)

# The output's name decides its form, and only the ties change in either: into an archive and
# out of it again, the untied score is the example byte for byte.
run(0 tie ${score} -o ${WORK}/tied.mxl)
file(READ ${WORK}/tied.mxl head LIMIT 4 HEX)
if(NOT head STREQUAL "504b0304")
    message(FATAL_ERROR "tied.mxl is not an archive")
endif()
run(0 untie ${WORK}/tied.mxl -o ${WORK}/from-archive.xml)
same(${score} ${WORK}/from-archive.xml)
run(0 tie ${WORK}/tied.mxl -o -)
expect("<score-partwise version=\"4.0\">" "${out}")
run(0 untie ${WORK}/tied.mxl -o ${WORK}/untied.MXL)
run(0 tie ${WORK}/untied.MXL -o ${WORK}/retied.musicxml)
same(${WORK}/tied.musicxml ${WORK}/retied.musicxml)

# A region in beats; the score to standard output, the report to standard error.
run(0 tie ${score} -o - --staves 1 --measures 3 --start-beat 3 --report)
expect("Ties added: 1\n  staff 1 (Flute), measure 3, beat 3, voice 1: C5 to measure 3, beat 4\n" "${err}")
expect("<score-partwise version=\"4.0\">" "${out}")

# Show: how the host holds the score.
run(0 show ${score})
expect("staff 2 (Piano, staff 1), part P2: voice 1 in layer 1, voice 2 in layer 2" "${out}")
expect("  m2  A4+C5/h A4+E5/h" "${out}")

# Refusals: one message, a non-zero exit, and the score untouched.
run(3 tie ${WORK}/missing.musicxml -o ${WORK}/out.musicxml)
expect("plovik-host: cannot read ${WORK}/missing.musicxml: No such file or directory" "${err}")
file(WRITE ${WORK}/notes.txt "Not a score at all.\n")
run(3 tie ${WORK}/notes.txt -o ${WORK}/notes.txt)
expect("notes.txt: not MusicXML: not well-formed XML" "${err}")
file(READ ${WORK}/notes.txt kept)
if(NOT kept STREQUAL "Not a score at all.\n")
    message(FATAL_ERROR "a refused file was written over")
endif()
# Not well-formed: refused at the line and column of the first error, nothing written.
file(READ ${score} etude)
string(REPLACE "<step>C</step>" "<step>C</stop>" damaged "${etude}")
file(WRITE ${WORK}/damaged.musicxml "${damaged}")
run(3 tie ${WORK}/damaged.musicxml -o ${WORK}/damaged-out.musicxml)
string(REGEX MATCH "damaged.musicxml: not MusicXML: not well-formed XML at line [0-9]+, column [0-9]+: mismatched tag\n$" message "${err}")
if(NOT message OR EXISTS ${WORK}/damaged-out.musicxml)
    message(FATAL_ERROR "a damaged score was not refused as it should be:\n${err}")
endif()
run(2 tie ${score} -o ${score} --measures 9-10)
expect("bad region: measures 9-10 are not a range of the score" "${err}")
same(${score} ${EXAMPLE})
set(crowded "<score-partwise><part-list><score-part id=\"P1\"><part-name>Organ</part-name></score-part></part-list><part id=\"P1\">")
foreach(voice 1 2 3 4 5)
    string(APPEND notes "<note><pitch><step>C</step><octave>${voice}</octave></pitch><duration>4</duration><voice>${voice}</voice></note><backup><duration>4</duration></backup>")
endforeach()
string(APPEND crowded "<measure number=\"1\"><attributes><divisions>1</divisions></attributes><note><rest/><duration>4</duration></note></measure><measure number=\"2\">${notes}</measure></part></score-partwise>")
file(WRITE ${WORK}/crowded.musicxml "${crowded}")
# What the host cannot hold is left as it is and said once per staff and measure.
run(0 tie ${WORK}/crowded.musicxml -o ${WORK}/crowded-tied.musicxml)
expect("plovik-host: note: staff 1 (Organ), measure 2: voice 5 is left out (the host holds four voices on a staff)\n" "${err}")
run(0 check ${WORK}/crowded.musicxml)
expect("note: staff 1 (Organ), measure 2: voice 5 is left out" "${out}")

# Check: the example has no tie problem; a broken score has, exit status 1, in text and JSON.
run(0 check ${score} --near-misses)
expect("0 errors, 0 warnings, 3 near misses\n" "${out}")
string(REPLACE "\n        <tie type=\"stop\"/>" "" broken "${tied}")
file(WRITE ${WORK}/broken.musicxml "${broken}")
run(1 check ${WORK}/broken.musicxml --measures 4-8)
expect("error: staff 1 (Flute), measure 5, beat 1, voice 1: B4: <tied type=\"stop\"/> without <tie type=\"stop\"/> (drawn, not held)\n" "${out}")
run(1 check ${WORK}/broken.musicxml --json)
expect("\"schema\": \"plovik-check/1\"" "${out}")
expect("\"kind\": \"tied-without-tie\", \"mark\": \"stop\"" "${out}")
# Repair mends it; the example's own stops come back, and repair again changes nothing.
run(0 repair ${WORK}/broken.musicxml -o ${WORK}/repaired.musicxml --report)
expect("the tie's missing <tie> or <tied> written" "${out}")
run(0 check ${WORK}/repaired.musicxml)
same(${WORK}/repaired.musicxml ${WORK}/tied.musicxml)
run(0 repair ${WORK}/repaired.musicxml -o ${WORK}/repaired-again.musicxml)
same(${WORK}/repaired.musicxml ${WORK}/repaired-again.musicxml)
run(2 check ${score} -o ${WORK}/out.musicxml)
run(3 tie ${score} -o ${WORK}/no/such/folder/out.musicxml)
expect("cannot write ${WORK}/no/such/folder/out.musicxml" "${err}")
run(2 tie ${score})
expect("tie needs -o OUT" "${err}")
