set(_plovik_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${_plovik_san})
add_link_options(${_plovik_san})
