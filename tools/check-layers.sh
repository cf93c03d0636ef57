#!/usr/bin/env bash
# Fails when a header or source of a lower layer includes a file of a higher one. The layers, lowest
# first: base, foundation, host, host/selection, host/graph, include (the library's own headers).
# A forwarding header left at an old include path ("// Moved: include NEW; ...") must include NEW
# and nothing else; nothing in the tree includes one (they are kept for other projects' code only).
# Usage: tools/check-layers.sh [ROOT], ROOT being the repository's top (the default).
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

# Every header and source of the tree, so that an include can be told apart from a missing file.
existing=$(mktemp)
trap 'rm -f "$existing"' EXIT
find . -path ./build -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print | sed 's|^\./||' \
    >"$existing"

mapfile -t everything < <(sort "$existing")

awk '
function layer_of(path) {
    if (path ~ /^base\//) return 0
    if (path ~ /^foundation\//) return 1
    if (path ~ /^host\/selection\//) return 3
    if (path ~ /^host\/graph\//) return 4
    if (path ~ /^host\//) return 2
    if (path ~ /^include\//) return 5
    return -1
}
# The path without "." and "dir/.." steps.
function normal(path,    parts, n, i, out, depth) {
    n = split(path, parts, "/")
    depth = 0
    for (i = 1; i <= n; ++i) {
        if (parts[i] == "." || parts[i] == "") continue
        if (parts[i] == ".." && depth > 0 && out[depth] != "..") { --depth; continue }
        out[++depth] = parts[i]
    }
    path = ""
    for (i = 1; i <= depth; ++i) path = path (i > 1 ? "/" : "") out[i]
    return path
}
function dir_of(path) { return path ~ /\// ? substr(path, 1, match(path, /\/[^\/]*$/) - 1) : "." }
# The file that #include "name" in file reaches: next to the file first, then on the include paths
# of the build (the top and include/); "" when it is found on none.
function resolve(file, name,    candidate) {
    candidate = normal(dir_of(file) "/" name); if (candidate in exists) return candidate
    candidate = normal(name); if (candidate in exists) return candidate
    candidate = normal("include/" name); if (candidate in exists) return candidate
    return ""
}
function fail(message) { print message > "/dev/stderr"; ++failures }
FNR == NR { exists[$0] = 1; next }
FNR == 1 { files[++nfiles] = FILENAME; count[FILENAME] = 0 }
/^\/\/ Moved: include [^;]*;/ { target = $0; sub(/^\/\/ Moved: include /, "", target); sub(/;.*/, "", target); forward[FILENAME] = target }
/^[ \t]*#[ \t]*include[ \t]*"/ {
    name = $0; sub(/^[^"]*"/, "", name); sub(/".*/, "", name)
    included[FILENAME, ++count[FILENAME]] = name
}
END {
    split("base foundation host host/selection host/graph include", names, " ")
    for (f = 1; f <= nfiles; ++f) {
        file = files[f]
        if (file in forward) {
            target = forward[file]
            if (!(target in exists)) fail(file ": forwards to " target ", which does not exist")
            else if (count[file] != 1 || resolve(file, included[file, 1]) != target)
                fail(file ": a forwarding header to " target " must include it and nothing else")
            continue
        }
        rank = layer_of(file)
        for (i = 1; i <= count[file]; ++i) {
            name = included[file, i]
            reached = resolve(file, name)
            # Files above the layers have include paths of their own; only their use of an old
            # spelling is checked.
            if (reached == "") { if (rank >= 0) fail(file ": includes \"" name "\", which is not in the tree"); continue }
            if (reached in forward) { fail(file ": includes \"" name "\", the old spelling of " forward[reached]); continue }
            if (rank < 0) continue
            reached_rank = layer_of(reached)
            if (reached_rank > rank)
                fail(file " (" names[rank + 1] ") includes " reached " (" names[reached_rank + 1] ")")
        }
    }
    if (failures > 0) { printf "layers: %d problem(s) in %d files\n", failures, nfiles > "/dev/stderr"; exit 1 }
    printf "layers: %d files, each includes only its own layer or lower ones\n", nfiles
}
' "$existing" "${everything[@]}"
