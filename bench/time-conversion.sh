#!/usr/bin/env bash
# Times marvoxa-cli converting 1,500 two-line cues, three runs. Usage: bench/time-conversion.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/render_encode_benchmark" --write-srt "$work/long.srt"
for run in 1 2 3; do
    start=$(date +%s.%N)
    "$build/src/cli/marvoxa-cli" --output-dir "$work" "$work/long.srt" >/dev/null
    end=$(date +%s.%N)
    awk -v run="$run" -v s="$start" -v e="$end" 'BEGIN { printf "run %d: %.3f s for 1500 cues\n", run, e - s }'
done
