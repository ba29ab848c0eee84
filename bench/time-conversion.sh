#!/usr/bin/env bash
# Times marvoxa-cli and dvdauthor's spumux on the same 1,500 two-line cues in the same run and
# prints the ratio, by the wall clock and by CPU time (user + system, which other programs on a
# shared machine do not inflate), what the Blu-ray stream (--also pgs) adds to the same
# conversion, then the peak memory of marvoxa-cli converting 200,000 cues.
# Needs spumux (dvdauthor), ffmpeg (for the short video spumux reads) and GNU time.
# Usage: bench/time-conversion.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli="$build/src/cli/marvoxa-cli"
"$build/bench/render_encode_benchmark" --write-srt "$work/long.srt" 2>/dev/null

# Runs the command quietly; prints "wall-seconds cpu-seconds".
measure() {
    /usr/bin/time -f "%e %U %S" -o "$work/usage" "$@" >/dev/null 2>&1
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/usage"
}

# Best of ten, by wall clock and by CPU time separately; the median shows the spread.
# Sets best_wall, best_cpu and median_wall.
best_of_ten() {
    local label=$1
    shift
    best_wall=999
    best_cpu=999
    local walls=() run wall cpu
    for run in $(seq 10); do
        read -r wall cpu < <(measure "$@")
        echo "$label run $run: $wall s, $cpu CPU s for 1500 cues"
        walls+=("$wall")
        best_wall=$(awk -v a="$wall" -v b="$best_wall" 'BEGIN { print (a < b ? a : b) }')
        best_cpu=$(awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { print (a < b ? a : b) }')
    done
    median_wall=$(printf '%s\n' "${walls[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.3f", (v[5] + v[6]) / 2 }')
    echo "$label median of the ten runs: $median_wall s"
}

best_of_ten marvoxa-cli "$cli" --output-dir "$work" "$work/long.srt"

# The Blu-ray stream beside the DVD stream: what --also pgs (1920x1080) adds to the same run.
dvd_wall=$best_wall
dvd_cpu=$best_cpu
best_of_ten "marvoxa-cli --also pgs" "$cli" --also pgs --output-dir "$work" "$work/long.srt"
awk -v dw="$dvd_wall" -v dc="$dvd_cpu" -v pw="$best_wall" -v pc="$best_cpu" 'BEGIN {
    printf "--also pgs best %.3f s (%.3f CPU s) against %.3f s (%.3f CPU s): %+.3f s by the clock, %+.3f CPU s\n",
        pw, pc, dw, dc, pw - dw, pc - dc }'
best_wall=$dvd_wall
best_cpu=$dvd_cpu

# spumux draws the same SRT with the same face and size and muxes it into a one-second video;
# subtitles past the video's end are still written.
ffmpeg -hide_banner -loglevel error -f lavfi -i color=black:s=720x576:r=25 -t 1 \
    -target pal-dvd "$work/video.mpg"
cat >"$work/spumux.xml" <<XML
<subpictures format="PAL">
  <stream>
    <textsub filename="$work/long.srt" characterset="UTF-8" font="LiberationSans-Regular.ttf"
      fontsize="22.0" horizontal-alignment="center" vertical-alignment="bottom"
      subtitle-fps="25" movie-fps="25" movie-width="720" movie-height="576"/>
  </stream>
</subpictures>
XML
read -r spumux_wall spumux_cpu < <(measure sh -c \
    "spumux -m dvd '$work/spumux.xml' <'$work/video.mpg' >'$work/muxed.mpg'")
echo "spumux: $spumux_wall s, $spumux_cpu CPU s for 1500 cues"
awk -v mw="$best_wall" -v mc="$best_cpu" -v sw="$spumux_wall" -v sc="$spumux_cpu" 'BEGIN {
    printf "marvoxa-cli best %.3f s (%.3f CPU s), spumux %.3f s (%.3f CPU s): %.0fx faster by the clock, %.0fx by CPU time\n",
        mw, mc, sw, sc, sw / mw, sc / mc }'

"$build/bench/render_encode_benchmark" --write-srt "$work/huge.srt" 200000 2>/dev/null
/usr/bin/time -f "%M %e" -o "$work/usage" "$cli" --output-dir "$work" "$work/huge.srt" >/dev/null 2>&1
read -r peak_kb elapsed <"$work/usage"
awk -v k="$peak_kb" -v e="$elapsed" \
    'BEGIN { printf "marvoxa-cli, 200000 cues: %.1f s, peak resident memory %.1f MB\n", e, k / 1024 }'
