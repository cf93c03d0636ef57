#!/usr/bin/env bash
# Builds the voshape wheel with the project's backend, installs it into a fresh virtual
# environment that sees the system's packages (pytest, Hypothesis, NumPy, mypy) and runs the
# Python test suite against the installed package, from a folder with no build tree on the path.
#   python/packaging/check-wheel.sh [WORK_FOLDER]   (build/wheel-check by default)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mkdir -p "${1:-$root/build/wheel-check}" && cd "${1:-$root/build/wheel-check}" && pwd)"
python=/usr/bin/python3
rm -rf "$work/dist" "$work/venv"
(cd "$root" && "$python" -m pip wheel --no-build-isolation --no-deps -q -w "$work/dist" .)
"$python" -m venv --system-site-packages "$work/venv"
"$work/venv/bin/python" -m pip install --no-index --no-deps -q "$work"/dist/voshape-*.whl
cd "$work"
unset PYTHONPATH
export PYTHONDONTWRITEBYTECODE=1
"$work/venv/bin/python" - "$work/venv" <<'PYTHON'
import importlib.metadata, sys, voshape
assert voshape.__file__.startswith(sys.argv[1]), voshape.__file__
assert importlib.metadata.version("voshape") == voshape.__version__, voshape.__version__
print("voshape", voshape.__version__, "installed in", voshape.__file__)
PYTHON
"$work/venv/bin/python" -m pytest -q -p no:cacheprovider "$root/python/tests"
