#!/usr/bin/env bash
# Measures the processor: Google Benchmark timings (ns per stereo frame of
# both loops at 48 kHz, blocks of 1, 32, 512 and 4096, and at 512 with Level
# moved in every block so that the smoothers glide; bypass, blocks flagged
# silent while the chains ring and once they have rung out, and the intake of
# eight queues), then the instructions per frame of both loops, and of
# flagged blocks that still ring, at block 512 counted with callgrind. Not part of the tests.
#   ZY_BENCH_BUILD_DIR  build folder (default: build-bench/ in the project)
#   ZY_JOBS             parallel jobs of the build (default: all cores)
#   extra arguments go to the benchmark binary (e.g. --benchmark_filter=Phaser)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZY_BENCH_BUILD_DIR:-$here/build-bench}"
jobs="${ZY_JOBS:-$(nproc)}"

sdk="$("$here/scripts/bootstrap.sh" --tests | tail -n 1)"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVST3_SDK_ROOT="$sdk" -DZY_BUILD_TESTS=OFF -DZY_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$jobs" --target zy_bench zy_bench_frames >/dev/null

bin="$build/bin/Release"
"$bin/zy_bench" --benchmark_min_time=0.5 "$@"

echo
echo "Instructions per stereo frame inside process (callgrind, block 512, 48 kHz):"
frames=262144
count() { # label, then the arguments of zy_bench_frames
  local label="$1" out collected
  shift
  out="$(mktemp)"
  # "process(": a bare "process" would match processAudio32/64 as well, and
  # entering them would toggle the count off again.
  valgrind --tool=callgrind --callgrind-out-file="$out" \
           --toggle-collect='Steinberg::Vst::PlugProcessor::process(*' \
           "$bin/zy_bench_frames" "$@" >/dev/null 2>"$out.log"
  collected="$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out.log")"
  awk -v c="$collected" -v f="$frames" -v l="$label" \
      'BEGIN { printf "  %s: %.1f instructions per frame\n", l, c / f }'
  rm -f "$out" "$out.log"
}
count "64-bit loop" 64 512 "$frames"
count "32-bit loop" 32 512 "$frames"
count "32-bit, flagged silent while the chains ring" 32 512 "$frames" flagged
