#!/usr/bin/env bash
# Builds zy Phaser with its tests and runs them all. Installs what is missing
# and fetches the SDK first (scripts/bootstrap.sh); a second run rebuilds only
# what changed.
#   ZY_BUILD_DIR  build folder (default: build/ in the project)
#   ZY_JOBS       parallel jobs (default: all cores)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZY_BUILD_DIR:-$here/build}"
jobs="${ZY_JOBS:-$(nproc)}"

sdk="$("$here/scripts/bootstrap.sh" --tests | tail -n 1)"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVST3_SDK_ROOT="$sdk" -DZY_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$jobs"

# The editor tests need an X server: every test runs under one virtual display.
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure -j "$jobs" "$@"
