#!/usr/bin/env bash
# Installs what the benchmark binary compares against, beyond a new machine's packages: the
# Boost headers (intrusive_ptr, signals2) and libsigc++ 3.
set -euo pipefail
missing=()
for package in libbenchmark-dev libboost-dev libsigc++-3.0-dev; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
