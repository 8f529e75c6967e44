# Runs plovik-host as a user would and checks what it prints.
#   cmake -DHOST=<plovik-host> -P DemoCheck.cmake
include(${CMAKE_CURRENT_LIST_DIR}/HostCheck.cmake)

# The demo: a tie mark appears after Tie, and every one is gone after Untie.
run(0)
string(FIND "${out}" "The score after \"Plovik Tie Notes\"" tied)
string(FIND "${out}" "The score after \"Plovik Untie Notes\"" untied)
if(tied EQUAL -1 OR untied EQUAL -1 OR untied LESS tied)
    message(FATAL_ERROR "the demo did not print the score after each command:\n${out}")
endif()
string(SUBSTRING "${out}" 0 ${tied} before)
string(SUBSTRING "${out}" ${tied} -1 rest)
math(EXPR length "${untied} - ${tied}")
string(SUBSTRING "${out}" ${tied} ${length} after_tie)
string(SUBSTRING "${out}" ${untied} -1 after_untie)
expect("  m1  C4/q C4/q E4+G4/q E4+C5/q" "${before}")
expect("  m1  C4~/q C4/q E4~+G4/q E4+C5~/q" "${after_tie}")
expect("  m3  C#5/q r/q G4~/q G4~/q" "${after_tie}")
expect("  m1  C4/q C4/q E4+G4/q E4+C5/q" "${after_untie}")
string(FIND "${after_untie}" "~" mark)
if(NOT mark EQUAL -1)
    message(FATAL_ERROR "a tie mark is left after Untie:\n${after_untie}")
endif()
expect("answered 1" "${rest}")

# A partial region: ties start at the start position and stop at the end of the region.
run(0 --measures 2-3 --staves 1 --start-pos 1024 --end-pos 2048)
expect("Region: staff 1, measures 2-3, from position 1024 of measure 2 to position 2048 of measure 3" "${out}")
expect("  m2  C5/h D5/q C#5~/q\n  m3  C#5/q r/q G4~/q G4/q" "${out}")

# Usage.
run(0 --help)
expect("--measures M[-N]" "${out}")
run(2 --measures 9)
expect("bad region: measures 9-9" "${err}")
run(2 --staves 2-1)
expect("bad region" "${err}")
run(2 --frobnicate)
expect("unknown option or command '--frobnicate'" "${err}")
expect("usage: plovik-host" "${err}")
