# Environment for running the sanitizer build (build-sanitize/) and anything
# built there, such as the SDK's moduleinfotool that runs at link time.
# Source it:  . scripts/sanitizer-env.sh
#
# Every report ends the program with a failure; leaks are checked at exit.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/lsan.supp:print_suppressions=0"
# pixman, which cairo loads with the bundle, allocates its tables in a load-
# time constructor and never frees them. When a host unloads the bundle,
# pixman goes too and the tables count as leaked, with no symbols left to
# name them. Keeping pixman loaded for the whole process keeps them reachable.
export LD_PRELOAD="libpixman-1.so.0${LD_PRELOAD:+:$LD_PRELOAD}"
