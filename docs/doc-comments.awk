# Doxygen input filter: the headers' own comments, as doc comments. A comment line on its own
# above a declaration becomes a "///" line; the file's opening comment (above #pragma once),
# comments at the end of a code line and clang-format switches stay as they are.
BEGIN { body = 0 }
/^#pragma once/ { body = 1; print; next }
body && /^[ \t]*\/\/ / && !/clang-format/ { sub(/\/\/ /, "/// "); print; next }
body && /^[ \t]*\/\/$/ { sub(/\/\//, "///"); print; next }
{ print }
