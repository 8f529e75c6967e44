# The reference of the kit (cmake -DOUT=<folder> -P cmake/Reference.cmake, from the source
# folder; scripts/docs.sh and the kit's archive run it): Doxygen's HTML of the framework, the host
# binding, the plug-in library and the Tie plug-in in OUT/html, with the table of host services
# and the README's guide to writing a command as its main page. Fails when a public class has no
# one-line description; members without a comment are only listed in OUT/warnings.log.
cmake_minimum_required(VERSION 3.25)

find_program(DOXYGEN doxygen)
find_program(AWK awk)
if(NOT DOXYGEN OR NOT AWK)
    message(FATAL_ERROR "The reference needs Doxygen, Graphviz and awk "
                        "(scripts/docs.sh installs them)")
endif()
get_filename_component(OUT ${OUT} ABSOLUTE)
set(generated ${OUT}/generated)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${generated})

execute_process(
    COMMAND ${AWK} [[/^## Writing a command on the framework/ { on = 1; print "# Writing a command on the framework {#mainpage}"; next }
                     on && /^## / { exit }
                     on && !/^<!--/ { print }]] README.md
    OUTPUT_FILE ${generated}/mainpage.md RESULT_VARIABLE rc1)
execute_process(COMMAND ${AWK} -f docs/catalogue.awk kit/finalepdk/FXCatalogue.h
                OUTPUT_FILE ${generated}/catalogue.md RESULT_VARIABLE rc2)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PLOVIK_DOCS_OUT=${OUT}
                        PLOVIK_DOCS_GENERATED=${generated} ${DOXYGEN} docs/Doxyfile
                RESULT_VARIABLE rc3)
if(NOT rc1 EQUAL 0 OR NOT rc2 EQUAL 0 OR NOT rc3 EQUAL 0)
    message(FATAL_ERROR "The reference could not be made")
endif()

# A class whose comment does not open with a one-line description fails, as does a class
# without one.
file(GLOB_RECURSE headers RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
     kit/finaleframework/*.h kit/finalepdk/*.h kit/pluginkit/*.h plugin/*.h)
list(SORT headers)
execute_process(COMMAND ${AWK} -f docs/class-briefs.awk ${headers} RESULT_VARIABLE rc
                OUTPUT_VARIABLE missing)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${missing}Classes above: the first comment line must be the class's "
                        "one-line description.")
endif()
file(STRINGS ${OUT}/warnings.log undocumented REGEX "warning: Compound .* is not documented")
if(undocumented)
    list(JOIN undocumented "\n" undocumented)
    message(FATAL_ERROR "Classes without a description:\n${undocumented}")
endif()
file(REMOVE_RECURSE ${generated})
message(STATUS "Reference: ${OUT}/html/index.html")
