#!/usr/bin/env bash
# Builds the selector consumer with nothing but what pkg-config says of voshape.pc in PCDIR, and
# runs it: the flags must find the prefixed headers and link the three libraries of that prefix.
# Usage: check-pkg-config.sh PCDIR OUTDIR
set -euo pipefail
pcdir=$1 out=$2
export PKG_CONFIG_PATH=$pcdir PKG_CONFIG_LIBDIR=$pcdir
mkdir -p "$out"
# shellcheck disable=SC2046 # the flags are words
g++ -std=c++17 -Wall -Wextra -Werror -o "$out/vo_consumer_pkg_config" \
    "$(dirname "$0")/selector.cpp" $(pkg-config --cflags --libs voshape)
libdir=$(realpath "$(pkg-config --variable=libdir voshape)")
# The libraries are those of the prefix, not some other copy the loader could find.
# ldd's list is read whole first: grep -q stopping early would end ldd by SIGPIPE, which pipefail
# takes for a failure.
loaded=$(LD_LIBRARY_PATH=$libdir ldd "$out/vo_consumer_pkg_config")
grep -q "$libdir/libVoshape.so" <<<"$loaded" ||
    { echo "vo_consumer_pkg_config does not load libVoshape from $libdir"; exit 1; }
LD_LIBRARY_PATH=$libdir "$out/vo_consumer_pkg_config"
echo "pkg-config $(pkg-config --modversion voshape): built and ran against $libdir"
