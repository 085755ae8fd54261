#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time over a fresh copy of its seed
# corpus and appends "<target> <runs> runs" to a summary file.
#   run-fuzzer.sh FUZZER SEEDS WORK SECONDS SUMMARY
set -euo pipefail
fuzzer="$1" seeds="$2" work="$3" seconds="$4" summary="$5"
name="$(basename "$fuzzer")"

rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$seeds" ]; then
    cp -r "$seeds/." "$work/corpus/"
fi

status=0
"$fuzzer" "$work/corpus" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    >"$work/log" 2>&1 || status=$?

runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)"
if [ "$status" -eq 0 ]; then
    echo "$name ${runs:-?} runs" >>"$summary"
else
    echo "$name ${runs:-?} runs, FAILED with exit $status" >>"$summary"
fi
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/log"
    echo "[fuzz] $name failed; inputs kept in $work/artifacts" >&2
    exit "$status"
fi
echo "$name: ${runs:-?} runs in ${seconds} s"
