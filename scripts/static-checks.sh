#!/usr/bin/env bash
# Static checks of the project's own C++ sources, the .cpp and .h files under
# bench/, controller/, processor/, tests/, tools/ and vstgui/ (found without
# git, so that an unpacked archive is checked like a clone):
#   - clang-format-14: every one must already be formatted
#     (.clang-format at the root; .clang-format-toolkit, the toolkit's layout,
#     for the slider family under vstgui/ and its test folders);
#   - clang-tidy-14 (.clang-tidy): every own translation unit of the build,
#     once each, the slider files through the build's VSTGUI overlay, with
#     findings reported only in the project's own files.
# Fails on any finding, and when either half finds nothing to check; ends
# with a short summary.
#   scripts/static-checks.sh [BUILD_DIR [MORE_BUILD_DIRS...]]
# BUILD_DIR (default: $ZY_BUILD_DIR or build/) must be configured (it holds
# compile_commands.json) and built (clang-tidy reads what the build
# generates). A unit that only a further build compiles (a fuzz target of the
# sanitizer build) is taken from there; a unit no build compiles is listed
# as not checked. ZY_JOBS sets the parallel jobs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-${ZY_BUILD_DIR:-$here/build}}" && pwd)"
builds=("$build")
for extra in "${@:2}"; do
  [ -f "$extra/compile_commands.json" ] && builds+=("$(cd "$extra" && pwd)")
done
jobs="${ZY_JOBS:-$(nproc)}"
start=$SECONDS

for tool in clang-format-14 clang-tidy-14 python3; do
  command -v "$tool" >/dev/null || { echo "[static-checks] $tool is missing: run scripts/bootstrap.sh --tests" >&2; exit 2; }
done
[ -f "$build/compile_commands.json" ] \
  || { echo "[static-checks] no $build/compile_commands.json: configure the build first" >&2; exit 2; }

fail() { echo "[static-checks] $*" >&2; echo "[static-checks] FAILED" >&2; exit 1; }
count() { tr -cd '\0' <"$1" | wc -c; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- the sources ------------------------------------------------------------
# What git would not track is left out: build folders, out/, the fuzz corpora.
cd "$here"
own_dirs=(bench controller processor tests tools vstgui)
for dir in "${own_dirs[@]}"; do
  [ -d "$dir" ] || fail "no $dir/ in $here: the project is incomplete"
done
find "${own_dirs[@]}" \( -type d \( -name 'build*' -o -name out -o -path 'tests/fuzz/*/corpus' \) \) -prune \
     -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | LC_ALL=C sort -z >"$work/sources"
# vstgui/ holds only the slider family, so its style is named here rather
# than found in a .clang-format beside it.
grep -zv '^vstgui/' "$work/sources" >"$work/project-sources" || true
grep -z '^vstgui/' "$work/sources" >"$work/toolkit-sources" || true
[ "$(count "$work/project-sources")" -gt 0 ] \
  || fail "clang-format: no .cpp or .h file outside vstgui/: nothing to check"
[ "$(count "$work/toolkit-sources")" -gt 0 ] \
  || fail "clang-format: no .cpp or .h file under vstgui/: the slider family is not checked"
# In a clone, a tracked source outside those folders would go unchecked.
if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z -- '*.cpp' '*.h' | LC_ALL=C sort -z \
    | LC_ALL=C comm -z -23 - "$work/sources" | tr '\0' '\n' >"$work/unlisted"
  while read -r f; do
    [ -e "$f" ] && fail "$f is tracked but lies outside ${own_dirs[*]}: add its folder to own_dirs"
  done <"$work/unlisted"
fi

# --- clang-format -----------------------------------------------------------
{
  xargs -0 -r -a "$work/project-sources" -P "$jobs" -n 8 \
        clang-format-14 --dry-run -Werror 2>&1 || true
  xargs -0 -r -a "$work/toolkit-sources" -P "$jobs" -n 8 \
        clang-format-14 --style=file:.clang-format-toolkit --dry-run -Werror 2>&1 || true
} >"$work/format.log"
format_files=$(awk -F: '/^[^:]+:[0-9]+:[0-9]+: error:/ { f[$1] = 1 } END { print length (f) }' "$work/format.log")
format_lines=$(awk '/^[^:]+:[0-9]+:[0-9]+: error:/ { n++ } END { print n + 0 }' "$work/format.log")
if [ "$format_files" -gt 0 ]; then
  grep -oE '^[^:]+:[0-9]+:[0-9]+: error:' "$work/format.log" | cut -d: -f1,2 | head -n 40 >&2
  echo "[static-checks] clang-format: $format_files files need formatting (clang-format-14 -i FILE;" \
       "under vstgui/ add --style=file:.clang-format-toolkit)" >&2
fi

# --- clang-tidy -------------------------------------------------------------
# One compile command per own source (the processor is also built for the
# ThreadSanitizer tests): the first, which is the plain build.
python3 - "$here" "$work" "${builds[@]}" <<'EOF'
import json, os, sys
here, work, builds = sys.argv[1], sys.argv[2], sys.argv[3:]
with open(os.path.join(work, "sources")) as listed:
    tracked = [f for f in listed.read().split("\0") if f.endswith(".cpp")]
own = {os.path.join(here, f) for f in tracked}
# the slider files are compiled from a build's overlay, where they are links
# to ours
linked = {}
for build in builds:
    for f in tracked:
        if f.startswith("vstgui/"):
            linked[os.path.join(build, "vstgui-overlay", f)] = os.path.join(here, f)
entries, covered = [], set()
for build in builds:
    for e in json.load(open(os.path.join(build, "compile_commands.json"))):
        path = os.path.normpath(os.path.join(e["directory"], e["file"]))
        source = linked.get(path, path)
        if source in own and source not in covered:
            covered.add(source)
            entries.append(e)
json.dump(entries, open(os.path.join(work, "compile_commands.json"), "w"), indent=1)
# heavy translation units first, so that the last jobs are short ones
weight = lambda e: (0 if ("/tests/" in e["file"] or "/vstgui-overlay/" in e["file"]) else 1)
with open(os.path.join(work, "units.txt"), "w") as out:
    for e in sorted(entries, key=weight):
        out.write(os.path.normpath(os.path.join(e["directory"], e["file"])) + "\n")
missing = sorted(own - covered)
with open(os.path.join(work, "missing.txt"), "w") as out:
    for f in missing:
        out.write(os.path.relpath(f, here) + "\n")
EOF

esc() { printf '%s' "$1" | sed 's/[][\.*^$+?(){}|]/\\&/g'; }
# the project's own headers; the slider headers are seen through the overlay,
# at times by a path with "../" in it
overlays="($(for b in "${builds[@]}"; do esc "$b"; printf '|'; done | sed 's/|$//'))"
slider_headers="$overlays/vstgui-overlay/vstgui/([^:]*/)?(lib/controls/cslider|uidescription/viewcreator/sliderviewcreator)\\.h"
header_filter="^($(esc "$here")/(processor|controller|tests|tools|bench)/|$slider_headers$)"
own_files="^($(esc "$here")/(processor|controller|tests|tools|bench|vstgui)/|$slider_headers:|$overlays/vstgui-overlay/vstgui/[^:]*\\.cpp:)"

units=$(wc -l <"$work/units.txt")
[ "$units" -gt 0 ] \
  || fail "clang-tidy: no build in ${builds[*]} compiles any of the project's .cpp files: nothing to check"
mkdir -p "$work/tidy"
# shellcheck disable=SC2016
xargs -a "$work/units.txt" -d '\n' -P "$jobs" -I{} sh -c '
  out="$1/tidy/$(printf "%s" "$2" | tr / _).log"
  clang-tidy-14 -p "$1" --quiet --header-filter="$3" "$2" >"$out" 2>&1 || true
' _ "$work" {} "$header_filter" || true

# A finding in a header shows once for every unit that includes it. Only
# findings in the project's own files count: clang-tidy also reports one in
# a system or SDK header when a note of it points into our code (glibc's
# allocator declarations against the test's counting replacements).
cat "$work"/tidy/*.log 2>/dev/null \
  | grep -E '^/.*:[0-9]+:[0-9]+: (warning|error): .* \[[^]]+\]$' \
  | sed -E ':a; s#/[^/:]+/\.\./#/#; ta; s/,-warnings-as-errors\]$/]/' \
  | grep -E "$own_files" | sort -u >"$work/findings.txt" || true
tidy_findings=$(wc -l <"$work/findings.txt")
if [ "$tidy_findings" -gt 0 ]; then
  sed "s#^$here/##" "$work/findings.txt" >&2
fi
# a unit that did not compile, or a crash of clang-tidy, fails the check too
grep -lE 'Found compiler error|Error while processing|Stack dump' "$work"/tidy/*.log >"$work/broken.txt" 2>/dev/null || true
tidy_broken=$(wc -l <"$work/broken.txt")
if [ "$tidy_broken" -gt 0 ]; then
  while read -r f; do grep -E 'error:|Error|Stack dump' "$f" | head -n 20 >&2; done <"$work/broken.txt"
fi
missing=$(wc -l <"$work/missing.txt")
if [ "$missing" -gt 0 ]; then
  echo "[static-checks] warning: no build compiles these, so clang-tidy did not check them:" >&2
  sed 's/^/  /' "$work/missing.txt" >&2
  echo "  (the plain build needs -DZY_BUILD_TESTS=ON -DZY_BUILD_BENCHMARKS=ON)" >&2
fi

echo "[static-checks] clang-format: $(count "$work/sources") files, $format_files with findings ($format_lines lines)"
echo "[static-checks] clang-tidy: $units units ($tidy_broken broken, $missing not built), $tidy_findings findings$( [ "$tidy_findings" -gt 0 ] && printf ' (%s)' "$(grep -oE '\[[^]]+\]$' "$work/findings.txt" | sort | uniq -c | sort -rn | awk '{printf "%s%s %s", sep, $1, $2; sep=", "}')")"
echo "[static-checks] $((SECONDS - start)) s"
if [ "$format_files" -gt 0 ] || [ "$tidy_findings" -gt 0 ] || [ "$tidy_broken" -gt 0 ]; then
  echo "[static-checks] FAILED" >&2
  exit 1
fi
echo "[static-checks] passed"
