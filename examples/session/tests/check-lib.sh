# Shared by the driver's shell tests: a scratch directory removed on exit, a failure count, and
# check NAME STATUS MESSAGE, which compares the last run's status ($got) and standard error
# ($scratch/err, shown up to 2,000 bytes on a failure) with the expected ones.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

check() {
    local name=$1 status=$2 message=$3
    if [ "$got" != "$status" ] || [ "$(cat "$scratch/err")" != "$message" ]; then
        echo "FAIL $name: status $got (expected $status), standard error:"
        head -c 2000 "$scratch/err"
        echo "(expected: $message)"
        failures=$((failures + 1))
    fi
}
