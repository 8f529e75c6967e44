# The README's example command against the source it shows (cmake -DREADME=README.md
# -DSOURCE=<file> -P): the block after "<!-- example: step-up command -->" is the file, byte for
# byte, so that the example a reader copies is the one the template builds and tests.
cmake_minimum_required(VERSION 3.25)

file(READ ${README} readme)
string(REGEX MATCH "<!-- example: step-up command -->\n```cpp\n([^`]*)```" block "${readme}")
if(NOT block)
    message(FATAL_ERROR "${README}: the example command block is missing")
endif()
file(READ ${SOURCE} source)
if(NOT CMAKE_MATCH_1 STREQUAL source)
    message(FATAL_ERROR "${README}: the example command block is not ${SOURCE}")
endif()
