#!/usr/bin/env bash
# Builds zy Phaser with its tests and runs them all. Installs what is missing
# and fetches the SDK first (scripts/bootstrap.sh); a second run rebuilds only
# what changed. Three stages, in this order:
#   plain     the Release build with every test, the memcheck and
#             ThreadSanitizer runs included
#   sanitize  the same tests built by clang with AddressSanitizer and
#             UndefinedBehaviorSanitizer, then each fuzz target for a while
#   static    the format and clang-tidy checks (scripts/static-checks.sh)
# Arguments go to both ctest runs.
#   ZY_TEST_STAGES     stages to run (default: "plain sanitize static"); an
#                      unknown name, or a stage whose script is missing, fails
#   ZY_BUILD_DIR       plain build folder (default: build/ in the project)
#   ZY_SANITIZE_DIR    sanitizer build folder (default: build-sanitize/)
#   ZY_FUZZ_SECONDS    how long each fuzz target runs (default: 60)
#   ZY_JOBS            parallel jobs (default: all cores)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZY_BUILD_DIR:-$here/build}"
sanitize="${ZY_SANITIZE_DIR:-$here/build-sanitize}"
stages="${ZY_TEST_STAGES:-plain sanitize static}"
jobs="${ZY_JOBS:-$(nproc)}"

stage() { [[ " $stages " == *" $1 "* ]]; }
fail() { echo "[test] $*" >&2; exit 2; }

# A stage that is asked for runs or fails: an unknown name or a missing stage
# script ends the run before anything is built.
for s in $stages; do
    case "$s" in
        plain | sanitize | static) ;;
        *) fail "unknown stage '$s' in ZY_TEST_STAGES (plain, sanitize, static)" ;;
    esac
done
[ -n "${stages// /}" ] || fail "ZY_TEST_STAGES names no stage (plain, sanitize, static)"
if stage sanitize && [ ! -r "$here/scripts/sanitizer-env.sh" ]; then
    fail "the sanitize stage needs scripts/sanitizer-env.sh, which is missing"
fi
if stage static && [ ! -x "$here/scripts/static-checks.sh" ]; then
    fail "the static stage needs scripts/static-checks.sh, which is missing or not executable"
fi

sdk="$("$here/scripts/bootstrap.sh" --tests | tail -n 1)"

# The editor tests need an X server: every test runs under one virtual display.
run_ctest() {
    (cd "$1" && shift && xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --output-on-failure -j "$jobs" "$@")
}

if stage plain; then
    echo "== plain build: $build"
    # the benchmarks too, so that the static stage's clang-tidy sees them
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DVST3_SDK_ROOT="$sdk" -DZY_BUILD_TESTS=ON -DZY_BUILD_BENCHMARKS=ON >/dev/null
    cmake --build "$build" -j "$jobs"
    run_ctest "$build" "$@"
fi

if stage sanitize; then
    echo "== sanitizer build: $sanitize"
    (
        # shellcheck source=sanitizer-env.sh
        . "$here/scripts/sanitizer-env.sh"
        CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$sanitize" -G Ninja \
              -DCMAKE_BUILD_TYPE=Release -DVST3_SDK_ROOT="$sdk" -DZY_BUILD_TESTS=ON \
              -DZY_SANITIZE=address,undefined -DZY_BUILD_FUZZERS=ON \
              -DZY_FUZZ_SECONDS="${ZY_FUZZ_SECONDS:-60}" >/dev/null
        cmake --build "$sanitize" -j "$jobs"
        rm -f "$sanitize/fuzz-runs.txt"
        status=0
        run_ctest "$sanitize" "$@" || status=$?
        if [ -f "$sanitize/fuzz-runs.txt" ]; then
            echo "== fuzz targets"
            sort "$sanitize/fuzz-runs.txt"
        fi
        exit "$status"
    )
fi

if stage static; then
    echo "== static checks"
    # units that only the sanitizer build compiles (fuzz targets) from there
    "$here/scripts/static-checks.sh" "$build" "$sanitize"
fi
