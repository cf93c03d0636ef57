#!/usr/bin/env bash
# Compiles each forwarding header left at an old include path, as another project's code would
# include it: it must still compile, and warn with the new path and the release it goes in.
# Usage: tools/check-forwarding-headers.sh [ROOT] (CXX picks the compiler; c++ by default).
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"
compiler=${CXX:-c++}
failures=0
# The headers include the build's generated check setting; outside a build, the one a release
# build writes (no checks) stands in for it.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/VoShape"
sed 's/@VOSHAPE_CHECKS_VALUE@/0/' cmake/VoBuildConfig.h.in > "$config/VoShape/VoBuildConfig.h"
mapfile -t headers < <(grep -rl --include='*.h' '^// Moved: include ' base foundation host include | sort)
for header in "${headers[@]}"; do
    target=$(sed -n 's|^// Moved: include \([^;]*\);.*|\1|p' "$header")
    if ! messages=$(echo "#include \"$header\"" |
                    "$compiler" -std=c++17 -fsyntax-only -I "$root" -I "$config" -x c++ - 2>&1); then
        echo "$header: does not compile:" >&2
        echo "$messages" >&2
        failures=$((failures + 1))
    elif ! grep -q "warning: $header moved to $target; the old path goes in version" <<<"$messages"; then
        echo "$header: does not warn that it moved to $target" >&2
        failures=$((failures + 1))
    fi
done
if [ "$failures" -gt 0 ] || [ ${#headers[@]} -eq 0 ]; then
    echo "forwarding headers: $failures problem(s) in ${#headers[@]} headers" >&2
    exit 1
fi
echo "forwarding headers: ${#headers[@]} compile and warn"
