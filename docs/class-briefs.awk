# Lists the public classes whose comment does not open with a one-line description: the first
# comment line above the class must be a whole sentence (or the comment's only line).
/^[ \t]*\/\// { block[++n] = $0; next }
/^template/ { next }
/^(class|struct) [A-Za-z_0-9]+/ && !/;[ \t]*$/ {
    if (n > 1 && block[1] !~ /\.[ \t]*$/) { print FILENAME ":" FNR ": " $2; bad++ }
}
{ n = 0 }
END { exit bad > 0 }
