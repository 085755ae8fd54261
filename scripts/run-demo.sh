#!/usr/bin/env bash
# The main job: builds the zy Phaser bundle and the command-line host,
# installs the bundle where Linux hosts look for VST 3 plug-ins (~/.vst3/)
# and renders a demo through the installed bundle into out/:
#   out/demo-dry.wav   the generated input
#   out/demo.wav       the same through zy Phaser, with feedback automated
#   ZY_BUILD_DIR  build folder (default: build/ in the project)
#   ZY_JOBS       parallel jobs (default: all cores)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZY_BUILD_DIR:-$here/build}"
jobs="${ZY_JOBS:-$(nproc)}"
out="$here/out"

# Only the build packages are installed here, so the tests stay out of this
# configuration; scripts/test.sh turns them on again.
sdk="$("$here/scripts/bootstrap.sh" | tail -n 1)"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVST3_SDK_ROOT="$sdk" -DZY_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target zyPhaser zy_host

bundle="$build/VST3/Release/zyPhaser.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/zyPhaser.vst3"
cp -R "$bundle" "$HOME/.vst3/"
echo "installed $HOME/.vst3/zyPhaser.vst3"

# Feedback (tag 5) rises from 30 % to 90 % over the eight seconds: one
# automation point every 25 blocks of 512 samples.
mkdir -p "$out"
awk 'BEGIN { for (b = 0; b < 750; b += 25) printf "%d 5 %.4f\n", b, 0.3 + 0.6 * b / 749 }' \
    > "$out/demo-automation.txt"

"$build/bin/Release/zy_host" \
    --plugin "$HOME/.vst3/zyPhaser.vst3" \
    --generate 8 --rate 48000 --block 512 \
    --param 2=0.8 --param 4=0.2 \
    --automation "$out/demo-automation.txt" \
    --save-input "$out/demo-dry.wav" \
    --output "$out/demo.wav"
