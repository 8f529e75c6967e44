# Turns the catalogue of host services (finalepdk/FXCatalogue.h) into a Markdown page with a
# table, one row per service.
function take(   at, field) {
    at = index(rest, ", ")
    field = substr(rest, 1, at - 1)
    rest = substr(rest, at + 2)
    return field
}
function missing(policy) {
    if (policy == "FXRequired") return "0 or null (the host is expected to have it)"
    if (policy == "FXZero") return "0"
    if (policy == "FXBlankIfMissing") return "a one-blank text"
    if (policy == "FXWindowsFallback") return "asks Windows instead"
    if (policy ~ /^FXIfMissing</) { sub(/^FXIfMissing</, "", policy); sub(/>$/, "", policy); return policy }
    return policy
}
function shaping(shape) {
    if (shape == "S16") return "signed 16-bit"
    if (shape == "U16") return "unsigned 16-bit"
    if (shape == "Bool8") return "low 8 bits"
    return "as the host answers"
}
function arguments(list,   n) {
    if (list ~ /^FX_ARGS_[0-9]+$/) {
        n = substr(list, 9) - 1
        if (n == 0) return "version"
        return n (n == 1 ? " host value" : " host values") ", version"
    }
    gsub(/^\(|\)$/, "", list)
    gsub(/uint32_t$/, "version", list)
    return list
}
BEGIN {
    print "# Host services {#host_services}"
    print ""
    print "Every service of the host that the binding knows, in the host's order, as"
    print "`finalepdk/FXCatalogue.h` lists it. Each binding function has the service's name; it looks"
    print "the service up once and caches the answer. Arguments the host declares as 16-bit travel"
    print "widened to 32 bits; the result is shaped as shown. A service marked *works first* has a"
    print "binding function of its own in `FXBinding.cpp` (cleaning a frame, correcting a version,"
    print "counting edits) before the call."
    print ""
    print "| Service | Arguments | Result | Shaping | When the host lacks it |"
    print "|---|---|---|---|---|"
}
/^[ \t]*X\((P|W), FX_/ {
    rest = $0
    sub(/^[ \t]*X\(/, "", rest)
    sub(/\) *\\?[ \t]*$/, "", rest)
    kind = take(); name = take(); argc = take(); shape = take(); policy = take(); ret = take()
    note = kind == "W" ? " (works first)" : ""
    printf "| `%s`%s | %s | `%s` | %s | %s |\n", name, note, arguments(rest), ret, shaping(shape), missing(policy)
    rows++
}
END {
    print ""
    print rows " services."
}
