#!/usr/bin/env bash
# Times marvoxa-cli and dvdauthor's spumux on the same 1,500 two-line cues in the same run and
# prints the ratio, then the peak memory of marvoxa-cli converting 200,000 cues.
# Needs spumux (dvdauthor), ffmpeg (for the short video spumux reads) and GNU time.
# Usage: bench/time-conversion.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli="$build/src/cli/marvoxa-cli"
"$build/bench/render_encode_benchmark" --write-srt "$work/long.srt"

seconds() {  # seconds taken by the command, on standard output
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'
}

best=
for run in 1 2 3 4 5; do
    taken=$(seconds "$cli" --output-dir "$work" "$work/long.srt")
    echo "marvoxa-cli run $run: $taken s for 1500 cues"
    best=$(awk -v a="$taken" -v b="${best:-$taken}" 'BEGIN { print (a < b ? a : b) }')
done

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
spumux_time=$(seconds sh -c "spumux -m dvd '$work/spumux.xml' <'$work/video.mpg' >'$work/muxed.mpg'")
echo "spumux: $spumux_time s for 1500 cues"
awk -v m="$best" -v s="$spumux_time" \
    'BEGIN { printf "marvoxa-cli best %.3f s, spumux %.3f s: %.0fx faster\n", m, s, s / m }'

"$build/bench/render_encode_benchmark" --write-srt "$work/huge.srt" 200000
/usr/bin/time -f "%M %e" -o "$work/usage" "$cli" --output-dir "$work" "$work/huge.srt" >/dev/null
read -r peak_kb elapsed <"$work/usage"
awk -v k="$peak_kb" -v e="$elapsed" \
    'BEGIN { printf "marvoxa-cli, 200000 cues: %.1f s, peak resident memory %.1f MB\n", e, k / 1024 }'
