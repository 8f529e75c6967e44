// Fields of the packed host records are often unaligned; the assertion macros take their
// arguments by reference, which must not bind to such a field. Compare a copy instead.
#pragma once

template <typename T>
T Copy(T value) {
    return value;
}
