# Applied to every target of the project through plovik_warnings.
add_library(plovik_warnings INTERFACE)
target_compile_options(plovik_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                                 -Wno-missing-field-initializers)
if(PLOVIK_WERROR)
    target_compile_options(plovik_warnings INTERFACE -Werror)
endif()
