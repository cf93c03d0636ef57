#!/usr/bin/env bash
# Installs the two Debian packages into /usr with dpkg, as a distribution's user would, builds the
# consumers against them with nothing but the system's defaults (pkg-config's own search path,
# find_package without a prefix) and runs them without LD_LIBRARY_PATH; removes both packages again
# on the way out, whatever happened. Needs root (dpkg). Refuses to replace a copy installed before.
# Usage: check-deb-install.sh RUNTIME.deb DEV.deb OUTDIR
set -euo pipefail
runtime=$1 dev=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
runtime_name=$(dpkg-deb -f "$runtime" Package) dev_name=$(dpkg-deb -f "$dev" Package)
for name in "$runtime_name" "$dev_name"; do
    if dpkg-query -W -f '${Status}' "$name" 2>/dev/null | grep -q 'ok installed'; then
        echo "$name is installed already; remove it first (dpkg -r $name): this check does not replace it"
        exit 1
    fi
done
remove() { dpkg --purge "$dev_name" "$runtime_name" >/dev/null 2>&1 || true; }
trap remove EXIT
dpkg -i "$runtime" "$dev" >/dev/null

rm -rf "$out" && mkdir -p "$out"
unset PKG_CONFIG_PATH PKG_CONFIG_LIBDIR LD_LIBRARY_PATH CMAKE_PREFIX_PATH
# shellcheck disable=SC2046 # the flags are words
g++ -std=c++17 -Wall -Wextra -Werror -o "$out/vo_consumer_pkg_config" \
    "$here/selector.cpp" $(pkg-config --cflags --libs voshape)
cmake -S "$here" -B "$out/cmake" -G Ninja -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build "$out/cmake" >/dev/null
grep -q "^VoShape_DIR:PATH=/usr/" "$out/cmake/CMakeCache.txt" ||
    { echo "find_package found VoShape elsewhere than /usr: $(grep '^VoShape_DIR' "$out/cmake/CMakeCache.txt")"; exit 1; }
for consumer in vo_consumer_pkg_config cmake/vo_consumer cmake/vo_consumer_unprefixed cmake/vo_consumer_selector; do
    # The loader's path may go through /lib, which merged-/usr systems link to /usr/lib.
    library=$(ldd "$out/$consumer" | awk '$1 ~ /^libVoshape\.so/ { print $3 }')
    [[ -n $library && $(realpath "$library") == /usr/lib/* ]] ||
        { echo "$consumer does not load libVoshape from /usr/lib: ${library:-not found}"; exit 1; }
    "$out/$consumer" >/dev/null
done
echo "$runtime_name and $dev_name installed into /usr: consumers built with pkg-config and find_package, and ran"
