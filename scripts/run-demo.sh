#!/usr/bin/env bash
# The main job: builds the zy Phaser bundle, installs it where Linux hosts look
# for VST 3 plug-ins (~/.vst3/) and renders a demo through it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZY_BUILD_DIR:-$here/build}"
jobs="${ZY_JOBS:-$(nproc)}"

sdk="$("$here/scripts/bootstrap.sh" | tail -n 1)"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVST3_SDK_ROOT="$sdk" >/dev/null
cmake --build "$build" -j "$jobs" --target zyPhaser

bundle="$build/VST3/Release/zyPhaser.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/zyPhaser.vst3"
cp -R "$bundle" "$HOME/.vst3/"
echo "installed $HOME/.vst3/zyPhaser.vst3"
