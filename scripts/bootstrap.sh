#!/usr/bin/env bash
# Prepares this machine for building zy Phaser:
#   - installs the Debian packages the build (and, with --tests, the tests) needs,
#     only those that are missing;
#   - fetches the VST 3 SDK (with VSTGUI) as Debian's source package, checks it
#     and unpacks it once into a cache folder outside the clone.
# Progress goes to stderr; stdout gets one line, the SDK root, which
# scripts/test.sh, run-demo.sh and bench.sh read as the last line.
# `bootstrap.sh --print-sdk-root` prints that line alone and changes nothing.
set -euo pipefail

SDK_PACKAGE=vst3sdk
SDK_VERSION='3.7.10.14+~4.13.3-4'
SDK_UPSTREAM='3.7.10.14+~4.13.3'
SDK_SUITE=trixie

CACHE_ROOT="${ZY_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/zyphaser}"
SDK_ROOT="$CACHE_ROOT/vst3sdk-$SDK_UPSTREAM"

BUILD_PACKAGES=(
  cmake g++ pkg-config ninja-build
  libx11-xcb-dev libxcb-util-dev libxcb-cursor-dev libxcb-keysyms1-dev
  libxcb-xkb-dev libxkbcommon-dev libxkbcommon-x11-dev
  libfontconfig1-dev libcairo2-dev libpango1.0-dev libfreetype-dev
  libexpat1-dev libsndfile1-dev fonts-dejavu-core libx11-dev
)
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev valgrind
  xvfb xauth libxtst-dev
  clang-14 libclang-rt-14-dev
  clang-format-14 clang-tidy-14 python3
)

# tarball component -> folder inside the SDK root ("" is the root itself)
declare -A COMPONENT_DIR=(
  [main]=""
  [base]=base
  [cmake]=cmake
  [pluginterfaces]=pluginterfaces
  [public-sdk]=public.sdk
  [vstgui4]=vstgui4
)
declare -A COMPONENT_SHA256=(
  [main]=0c9fa7b578f8549d6ce6efeb427e9c7df8ca0e018bea13a523b78bb167663b81
  [base]=b9eb5c1e57ca2ef6b2560dd0e13822dd5a51e437b8f5a6c421b099d621d2bffb
  [cmake]=f4699e910a67e585d7d177b2a48f6aa43706b3f073c8e454615f094484374349
  [pluginterfaces]=fd426c6b26ef93fdfdc8aef7e9b836c1bf43f25b8a1ef4c0642a41fb9250ab8a
  [public-sdk]=ca1f70406b36f0763c799085c67deed5befc69514cc2b9cacb804512e95db335
  [vstgui4]=5a7673c7b22a66086a6749a0c7ff447fcfc4a10d2c2013d58ff1320be4e8456f
)

log() { echo "[bootstrap] $*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

tarball_name() {
  if [ "$1" = main ]; then echo "${SDK_PACKAGE}_${SDK_UPSTREAM}.orig.tar.gz"
  else echo "${SDK_PACKAGE}_${SDK_UPSTREAM}.orig-$1.tar.gz"; fi
}

install_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  as_root apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# The first Debian archive URI named in this machine's own apt sources
# (one-line or deb822 form), so that no host name is written into the project.
debian_mirror() {
  local f uri
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -r "$f" ] || continue
    uri=$(awk '
      /^[[:space:]]*#/ { next }
      $1 == "deb" || $1 == "deb-src" {
        for (i = 2; i <= NF; i++) if ($i !~ /^\[/ && $i !~ /\]$/) { print $i; exit }
      }
      tolower($1) == "uris:" { print $2; exit }
    ' "$f" | grep -v -- '-security' | head -n 1 || true)
    if [ -n "$uri" ]; then echo "${uri%/}"; return 0; fi
  done
  return 1
}

fetch_sdk() {
  [ -f "$SDK_ROOT/.complete" ] && return 0
  local mirror work
  mirror=$(debian_mirror) || { log "no Debian mirror found in /etc/apt"; exit 1; }
  work="$CACHE_ROOT/apt"
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/sourceparts" "$work/download"
  echo "deb-src $mirror $SDK_SUITE main" > "$work/sources.list"
  local opts=(
    -o "Dir::Etc::sourcelist=$work/sources.list"
    -o "Dir::Etc::sourceparts=$work/sourceparts"
    -o "Dir::State::Lists=$work/lists"
    -o "Dir::Cache=$work/cache"
    -o "APT::Sandbox::User=root"
  )
  log "fetching $SDK_PACKAGE=$SDK_VERSION from $SDK_SUITE"
  apt-get "${opts[@]}" update -qq >&2
  (cd "$work/download" && apt-get "${opts[@]}" source --download-only --tar-only -qq "$SDK_PACKAGE=$SDK_VERSION" >&2)

  local c file
  for c in "${!COMPONENT_DIR[@]}"; do
    file="$work/download/$(tarball_name "$c")"
    echo "${COMPONENT_SHA256[$c]}  $file" | sha256sum -c --quiet - >&2 \
      || { log "checksum mismatch: $file"; exit 1; }
  done

  local staging="$SDK_ROOT.partial"
  rm -rf "$staging"
  mkdir -p "$staging"
  for c in "${!COMPONENT_DIR[@]}"; do
    mkdir -p "$staging/${COMPONENT_DIR[$c]}"
    tar -xzf "$work/download/$(tarball_name "$c")" -C "$staging/${COMPONENT_DIR[$c]}" --strip-components=1
  done
  rm -rf "$SDK_ROOT"
  mv "$staging" "$SDK_ROOT"
  touch "$SDK_ROOT/.complete"
  rm -rf "$work/download"
  log "SDK unpacked to $SDK_ROOT"
}

main() {
  local with_tests=0 print_root=0 a
  for a in "$@"; do
    case "$a" in
      --tests) with_tests=1 ;;
      --print-sdk-root) print_root=1 ;;
      *) log "unknown argument: $a"; exit 2 ;;
    esac
  done
  if [ $print_root -eq 1 ]; then echo "$SDK_ROOT"; return 0; fi
  install_packages "${BUILD_PACKAGES[@]}"
  [ $with_tests -eq 1 ] && install_packages "${TEST_PACKAGES[@]}"
  fetch_sdk
  echo "$SDK_ROOT"
}

main "$@"
