#!/usr/bin/env bash
# The driver under failing input and output (a reader that leaves, a closed standard error, a FIFO that keeps it
# waiting), and scenes it must refuse: each case must end with the status and the one message on standard error given,
# never with status 0 and a lost transcript.
# Usage: io-errors.sh DRIVER
set -u
driver=$1
# shellcheck source=check-lib.sh
source "$(dirname "$0")/check-lib.sh"

"$driver" --script - <"$scratch" 2>"$scratch/err" >/dev/null; got=$?
check "script from a directory" 2 "<stdin>: cannot read the file: Is a directory"
"$driver" -i <&- 2>"$scratch/err" >/dev/null; got=$?
check "closed standard input" 2 "<stdin>: cannot read the file: Bad file descriptor"
if [ -r /proc/self/mem ]; then
    "$driver" --script /proc/self/mem 2>"$scratch/err" >/dev/null; got=$?
    check "unreadable file" 2 "/proc/self/mem: cannot read the file: Input/output error"
fi
# A read error midway: a terminal's other side that closes after two lines gives EIO after them.
if command -v python3 >/dev/null; then
    python3 - "$driver" >"$scratch/out" 2>"$scratch/err" <<'PTY'
import os, pty, subprocess, sys
master, slave = pty.openpty()
os.write(slave, b"count\ncount\n")
os.close(slave)
run = subprocess.run([sys.argv[1], "--script", "-"], stdin=master, capture_output=True)
sys.stdout.write(str(run.stdout.count(b"> count")))
sys.stderr.buffer.write(run.stderr)
sys.exit(run.returncode)
PTY
    got=$?
    check "read error after two lines" 2 "<stdin>: cannot read the file: Input/output error"
    [ "$(cat "$scratch/out")" = 2 ] || { echo "FAIL the two lines before the read error did not run"; failures=$((failures + 1)); }
fi
for json in "" --json; do
    if [ -w /dev/full ]; then
        "$driver" $json >/dev/full 2>"$scratch/err"; got=$?
        check "full output $json" 2 "vo-shape-session: cannot write the transcript to standard output"
    fi
    "$driver" $json >&- 2>"$scratch/err"; got=$?
    check "closed output $json" 2 "vo-shape-session: cannot write the transcript to standard output"
done
# A reader that leaves early: the driver, blocked on a full pipe, must report it, not die of SIGPIPE.
yes show | head -n 20000 >"$scratch/shows.script"
"$driver" --script "$scratch/shows.script" 2>"$scratch/err" | head -n 1 >/dev/null; got=${PIPESTATUS[0]}
check "a pipe closed by its reader" 2 "vo-shape-session: cannot write the transcript to standard output"
# An error line that cannot be written to standard error: the status says so.
printf 'count\nselect Nope\n' >"$scratch/failing.script"
"$driver" --script "$scratch/failing.script" >/dev/null 2>&-; got=$?
[ "$got" = 2 ] || { echo "FAIL an error line on a closed standard error: status $got (expected 2)"; failures=$((failures + 1)); }
if [ -w /dev/full ]; then
    "$driver" --script "$scratch/failing.script" >/dev/null 2>/dev/full; got=$?
    [ "$got" = 2 ] || { echo "FAIL an error line on a full standard error: status $got (expected 2)"; failures=$((failures + 1)); }
fi
"$driver" >/dev/null 2>&-; got=$?
[ "$got" = 0 ] || { echo "FAIL a run without error lines on a closed standard error: status $got (expected 0)"; failures=$((failures + 1)); }
# A script from a FIFO: what ran shows in the transcript while the driver waits for the next line.
mkfifo "$scratch/fifo"
"$driver" --script "$scratch/fifo" >"$scratch/out" 2>"$scratch/err" &
reader=$!
exec 3>"$scratch/fifo"
echo count >&3
for _ in $(seq 100); do
    grep -q '^> count' "$scratch/out" && break
    sleep 0.1
done
grep -q '^> count' "$scratch/out" || { echo "FAIL a script from a FIFO: the transcript of its first line did not show while the driver waited"; failures=$((failures + 1)); }
exec 3>&-
wait "$reader"; got=$?
check "a script from a FIFO" 0 ""
# load-file takes regular files only: the FIFO, which no one writes now, and /dev/zero are refused
# at once; a selection saved on a full disk (/dev/full) is not written.
printf 'load-file %s\nload-file /dev/zero\nsave-file /dev/full\n' "$scratch/fifo" >"$scratch/load.script"
timeout 20 "$driver" --script "$scratch/load.script" 2>"$scratch/err" >/dev/null; got=$?
check "selection files that are not regular files" 1 "$scratch/load.script:1: cannot read \"$scratch/fifo\": it is a FIFO, not a regular file (expected a file written by save-file)
$scratch/load.script:2: cannot read \"/dev/zero\": it is a character device, not a regular file (expected a file written by save-file)
$scratch/load.script:3: cannot write \"/dev/full\", which is left as it was: it is not a regular file (expected a regular file that can be written)"
"$driver" --script $'no\nsuch\e[2J' 2>"$scratch/err" >/dev/null; got=$?
check "file name with control characters" 2 'no\x0asuch\x1b[2J: cannot open the file'
printf 'shape \e[2JX 3\nshape Y 2\n' >"$scratch/control.scene"
"$driver" --scene "$scratch/control.scene" 2>"$scratch/err" >/dev/null; got=$?
check "scene name with a control character" 2 "$scratch/control.scene:1: shape name \"\\x1b[2JX\" holds a control character or is not UTF-8 (expected printable UTF-8)"
for i in 1 2 3 4 5 6; do echo "shape S$i 10000 10000"; done >"$scratch/large.scene"
"$driver" --scene "$scratch/large.scene" 2>"$scratch/err" >/dev/null; got=$?
check "scene beyond its total" 2 "$scratch/large.scene:6: shape \"S6\" makes the scene too large (expected at most 100000 points and handles over all shapes; 0 are left)"
# Memory: under a limit the scene does not fit in, the shape that ran out is named. Not with the
# sanitizers, whose shadow memory no such limit leaves room for.
if ! grep -q -e __asan_init -e __tsan_init "$driver"; then
    head -n 5 "$scratch/large.scene" >"$scratch/five.scene"
    (ulimit -v 60000; "$driver" --scene "$scratch/five.scene" 2>"$scratch/err" >/dev/null); got=$?
    if [ "$got" != 2 ] || ! grep -qx "$scratch/five.scene:[2-5]: out of memory building shape \"S[2-5]\"" "$scratch/err"; then
        echo "FAIL scene beyond the memory limit: status $got, standard error:"
        cat "$scratch/err"
        failures=$((failures + 1))
    fi
fi
"$driver" $'--\e[2J' 2>"$scratch/usage" >/dev/null; got=$?
head -n 1 "$scratch/usage" >"$scratch/err"
check "option with control characters" 2 'vo-shape-session: unknown option "--\x1b[2J"'
printf 'count\n' | "$driver" -i 2>"$scratch/err" >/dev/null; got=$?
check "a pipe read to its end" 0 ""

[ "$failures" -eq 0 ] && echo "all input and output cases passed"
exit "$failures"
