# Helpers of the scripts that run plovik-host (${HOST}) as a user would:
# run(status args...) runs it, expects that exit status and leaves ${out} and ${err};
# expect(text where) fails unless the text stands in where.
function(run expected_status)
    execute_process(COMMAND ${HOST} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "plovik-host ${ARGN}: exit ${status}, expected ${expected_status}\n${out}${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect text where)
    string(FIND "${where}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "expected \"${text}\" in:\n${where}")
    endif()
endfunction()
