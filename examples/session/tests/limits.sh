#!/usr/bin/env bash
# The driver's bounds on what it reads: the length of a line (in scenes, scripts, standard input
# and -i alike, /dev/zero included), the length of a name, the number of shapes, and memory that
# runs out while a scene is read. Each case must end with the status and the one message given.
# Usage: limits.sh DRIVER
set -u
driver=$1
# shellcheck source=check-lib.sh
source "$(dirname "$0")/check-lib.sh"

# The sanitizers' shadow memory leaves no room for a limit on memory.
sanitized=false
grep -q -e __asan_init -e __tsan_init "$driver" && sanitized=true
# run ARGS...: the driver in the scratch directory, within 200 MB unless sanitized, so that a line
# read whole instead of up to its bound fails here.
run() {
    (cd "$scratch" && { $sanitized || ulimit -v 200000; } && "$driver" "$@")
}

limit=1048576
zeros='"'$(printf '\\x00%.0s' $(seq 40))'"...'
tooLong="line longer than $limit bytes, starting $zeros (expected at most $limit bytes a line)"
run --script /dev/zero 2>"$scratch/err" >/dev/null; got=$?
check "/dev/zero as a script" 2 "/dev/zero:1: $tooLong"
run --scene /dev/zero 2>"$scratch/err" >/dev/null; got=$?
check "/dev/zero as a scene" 2 "/dev/zero:1: $tooLong"
run -i </dev/zero 2>"$scratch/err" >/dev/null; got=$?
check "/dev/zero on standard input" 2 "<stdin>:1: $tooLong"
# A long line after lines that ran: only its start is quoted; what ran before it shows.
{ echo count; printf 'select %.0s' $(seq 200000); echo; echo count; } >"$scratch/long.script"
run --script - <"$scratch/long.script" 2>"$scratch/err" >"$scratch/out"; got=$?
check "a long line" 2 "<stdin>:2: line longer than $limit bytes, starting \"select select select select select selec\"... (expected at most $limit bytes a line)"
[ "$(grep -c '^> count' "$scratch/out")" = 1 ] || { echo "FAIL the line before the long one did not run, or the one after it did"; failures=$((failures + 1)); }

name=$(printf 'N%.0s' $(seq 300))
start=$(printf 'N%.0s' $(seq 40))
printf 'shape A 1\nshape %s 2\n' "$name" >"$scratch/name.scene"
run --scene name.scene 2>"$scratch/err" >/dev/null; got=$?
check "a long name in a scene" 2 "name.scene:2: shape name \"$start\"... is 300 bytes long (expected at most 256 bytes)"
printf 'count\nshape %s 2\n' "$name" >"$scratch/name.script"
run --script name.script 2>"$scratch/err" >/dev/null; got=$?
check "a long name in a shape command" 1 "name.script:2: shape name \"$start\"... is 300 bytes long (expected at most 256 bytes)"

for i in 1 2 3 4 5 6; do echo "shape S$i 0"; done >"$scratch/six.scene"
run --max-shapes 5 --scene six.scene 2>"$scratch/err" >/dev/null; got=$?
check "a scene beyond --max-shapes" 2 "six.scene:6: shape \"S6\" makes the scene too large (expected at most 5 shapes, deleted ones included)"
printf 'delete S1\nshape S7 0\n' >"$scratch/more.script"
run --max-shapes 6 --scene six.scene --script more.script 2>"$scratch/err" >/dev/null; got=$?
check "a shape command beyond --max-shapes" 1 "more.script:2: shape \"S7\" makes the scene too large (expected at most 6 shapes, deleted ones included)"
run --max-shapes 6 --scene six.scene 2>"$scratch/err" >/dev/null; got=$?
check "a scene within --max-shapes" 0 ""
run --max-shapes -1 2>"$scratch/usage" >/dev/null; got=$?
head -n 1 "$scratch/usage" >"$scratch/err"
check "a bad --max-shapes" 2 'vo-shape-session: --max-shapes "-1" is no count (expected 0 to 2147483647)'
# The per-shape and total bounds are options too.
printf 'shape Big 20000\nshape Other 20000\n' >"$scratch/big.scene"
run --scene big.scene 2>"$scratch/err" >/dev/null; got=$?
check "a shape beyond the default --max-count" 2 'big.scene:1: point count "20000" out of range (expected an integer from 0 to 10000)'
run --max-count 20000 --max-total 30000 --scene big.scene 2>"$scratch/err" >/dev/null; got=$?
check "a scene beyond --max-total" 2 'big.scene:2: shape "Other" makes the scene too large (expected at most 30000 points and handles over all shapes; 10000 are left)'
run --max-count 20000 --max-total 40000 --scene big.scene 2>"$scratch/err" >/dev/null; got=$?
check "a scene within --max-count and --max-total" 0 ""
run --max-count 2147483648 2>"$scratch/usage" >/dev/null; got=$?
head -n 1 "$scratch/usage" >"$scratch/err"
check "a bad --max-count" 2 'vo-shape-session: --max-count "2147483648" is no count (expected 0 to 2147483647)'
run --max-total x 2>"$scratch/usage" >/dev/null; got=$?
head -n 1 "$scratch/usage" >"$scratch/err"
check "a bad --max-total" 2 'vo-shape-session: --max-total "x" is no count (expected 0 to 9223372036854775807)'

# The default bound, 100000 shapes, stops a large scene at the first shape beyond it.
awk 'BEGIN { for (i = 1; i <= 100001; ++i) print "shape S" i " 0" }' >"$scratch/large.scene"
run --scene large.scene 2>"$scratch/err" >/dev/null; got=$?
check "a scene beyond the default bound" 2 "large.scene:100001: shape \"S100001\" makes the scene too large (expected at most 100000 shapes, deleted ones included)"

# Memory that runs out while the scene is read: the line is named.
if ! $sanitized; then
    awk 'BEGIN { for (i = 1; i <= 1000000; ++i) print "shape S" i " 0" }' >"$scratch/huge.scene"
    (cd "$scratch" && ulimit -v 60000 && "$driver" --max-shapes 1000000 --scene huge.scene) 2>"$scratch/err" >/dev/null; got=$?
    if [ "$got" != 2 ] || ! grep -qx "huge.scene:[0-9]*: out of memory reading the scene" "$scratch/err"; then
        echo "FAIL memory running out while a scene is read: status $got, standard error:"
        cat "$scratch/err"
        failures=$((failures + 1))
    fi
fi

[ "$failures" -eq 0 ] && echo "all limit cases passed"
exit "$failures"
