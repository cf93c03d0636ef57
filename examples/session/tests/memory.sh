#!/usr/bin/env bash
# Memory that runs out while the selection of a large shape is made and unmade. The driver runs
# under limits on its address space, from the smallest that lets it build the scene up by 12 MB:
# each run must pass, or end with status 1 (a command failed) or 2 (the run ended at its line) and
# located "out of memory" lines, each line named once. Just above that smallest limit, the
# selection's items are freed for the first time with the memory used up; the free list
# (foundation/FreeList.h) used to register its thread-exit release then, which the C library
# cannot report and ends the process on (status 134); and a report that ran out of memory while it
# was printed had its line named twice.
# Usage: memory.sh DRIVER
set -u
driver=$(realpath "$1")
# shellcheck source=check-lib.sh
source "$(dirname "$0")/check-lib.sh"

# The sanitizers' shadow memory leaves no room for a limit on memory.
if grep -q -e __asan_init -e __tsan_init "$driver"; then
    echo "skipped: a sanitized driver cannot run under a limit on memory"
    exit 0
fi

points=100000
echo "shape A $points" >"$scratch/large.scene"
printf 'primary A\nselect-all-points\nunselect-points\nselect-all-points\n' >"$scratch/all.script"
# run KB: the driver within KB kilobytes; sets got and $scratch/err.
run() {
    (cd "$scratch" && ulimit -v "$1" &&
        exec "$driver" --max-count $points --max-total $points --scene large.scene \
            --script all.script) >/dev/null 2>"$scratch/err"
    got=$?
}
# True when the driver started (127: the loader had no room) and the scene did not run out.
builds() {
    run "$1"
    [ "$got" != 127 ] && ! grep -q '^large.scene:' "$scratch/err"
}

# The smallest limit, to 256 KB, under which the scene is built.
low=8192
high=1048576
if builds $low || ! builds $high; then
    echo "FAIL the scene is built within $low KB, or not within $high KB: the bounds need a look"
    exit 1
fi
while [ $((high - low)) -gt 256 ]; do
    middle=$(((low + high) / 2))
    if builds $middle; then high=$middle; else low=$middle; fi
done

# From there up in steps of 1 MB: a command that runs out of memory fails (status 1), or the
# run ends at its line (status 2).
outOfMemory=0
for ((limit = high; limit < high + 12 * 1024; limit += 1024)); do
    run $limit
    if [ "$got" = 0 ] && [ ! -s "$scratch/err" ]; then
        break
    fi
    if { [ "$got" != 1 ] && [ "$got" != 2 ]; } || [ "$(sort "$scratch/err" | uniq -d)" ] ||
        grep -qv -e '^all.script:[0-9]*: out of memory$' "$scratch/err"; then
        echo "FAIL within $limit KB: status $got (expected 1 or 2, and located errors, once a line):"
        head -c 2000 "$scratch/err"
        failures=$((failures + 1))
    fi
    outOfMemory=$((outOfMemory + 1))
done
if [ "$outOfMemory" -lt 2 ]; then
    echo "FAIL only $outOfMemory limits from $high KB on ran out of memory: nothing was tried"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "$outOfMemory limits from $high KB on ran out of memory, each reported"
exit "$failures"
