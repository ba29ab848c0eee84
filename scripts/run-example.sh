#!/usr/bin/env bash
# Sets up and builds the project, then converts the bundled example subtitle headlessly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
output="$root/build/example-output"
mkdir -p "$output"
"$root/build/src/cli/marvoxa-cli" --output-dir "$output" "$root/examples/rethymno.srt"
echo
echo "The stream and the help file are in $output"
