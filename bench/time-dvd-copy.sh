#!/usr/bin/env bash
# Times marvoxa-cli --into-dvd against a plain cp -r of the same VIDEO_TS folder on the same disk,
# and its peak memory: adding a stream to a title copies the whole title set, so a plain copy is
# the floor it is judged against (aims: at most twice the copy's time, under 100 MB resident).
# As marvoxa-cli syncs its copy to the disk and cp -r does not, cp -r then sync is shown too.
# The DVD is made here: a ten-second PAL clip from ffmpeg, repeated by the concat demuxer into
# one program stream of about 1.1 GB (108 minutes) and authored by dvdauthor, which splits the
# title video into VTS_01_1.VOB and VTS_01_2.VOB at 1 GiB; 1,500 cues are spread over the title.
# Needs ffmpeg, dvdauthor, lsdvd, GNU time and about 5.7 GB free where mktemp puts its folder
# (set TMPDIR to choose the disk); builds marvoxa-cli with scripts/setup.sh when it is missing.
# The three-language row adds three streams of 1,500 cues in one run (aims: at most 1.5 times one
# language's time, under 100 MB resident).
# Page caches are dropped before each run when the system lets us, so both read from the disk.
# Usage: bench/time-dvd-copy.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli="$build/src/cli/marvoxa-cli"
if [[ ! -x $cli ]]; then
    bash "$root/scripts/setup.sh" "$build"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Source DVD, the cp copy and marvoxa's copies exist together, plus the long stream while authoring.
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if ((free_kb < 5700 * 1024)); then
    echo "Needs about 5.7 GB free in $work, has $((free_kb / 1024)) MB." >&2
    exit 1
fi

clip_seconds=10
repeats=650
title_seconds=$((clip_seconds * repeats))
cues=1500

ffmpeg -hide_banner -loglevel error -f lavfi -i "testsrc=s=720x576:r=25:d=$clip_seconds" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$clip_seconds" \
    -ac 2 -aspect 4:3 -target pal-dvd -shortest "$work/clip.mpg"
for _ in $(seq "$repeats"); do echo "file 'clip.mpg'"; done >"$work/clips.txt"
# Only video and audio: ffmpeg's stub NAV packs would be copied in too, and dvdauthor writes its own.
ffmpeg -hide_banner -loglevel error -f concat -safe 0 -i "$work/clips.txt" \
    -map 0:v -map 0:a -c copy -f dvd "$work/long.mpg"

chapters=$(seq -s, 0 5 $((title_seconds / 60 - 1)) | sed 's/[0-9]\+/&:00/g')
cat >"$work/dvd.xml" <<XML
<dvdauthor dest="$work/dvd">
  <vmgm/>
  <titleset>
    <titles>
      <video format="pal" aspect="4:3"/>
      <pgc>
        <vob file="$work/long.mpg" chapters="$chapters"/>
      </pgc>
    </titles>
  </titleset>
</dvdauthor>
XML
if ! VIDEO_FORMAT=PAL dvdauthor -x "$work/dvd.xml" >"$work/dvdauthor.log" 2>&1; then
    tail -20 "$work/dvdauthor.log" >&2
    exit 1
fi
rm "$work/long.mpg" "$work/clips.txt"
source_ts="$work/dvd/VIDEO_TS"

# One- and two-line cues of two seconds, evenly spread from the title's first second to its end.
awk -v n="$cues" -v len="$title_seconds" '
    function stamp(t,   ms) {
        ms = int(t * 1000 + 0.5)
        return sprintf("%02d:%02d:%02d,%03d", int(ms / 3600000), int(ms / 60000) % 60,
                       int(ms / 1000) % 60, ms % 1000)
    }
    BEGIN {
        step = (len - 3) / n
        for (i = 1; i <= n; i++) {
            start = 1 + (i - 1) * step
            printf "%d\n%s --> %s\n", i, stamp(start), stamp(start + 2)
            if (i % 2) printf "Subtitle number %d\n\n", i
            else printf "Line one of cue %d\nand a second line\n\n", i
        }
    }' >"$work/cues.srt"

echo "Source: $source_ts"
ls -l "$source_ts" | awk 'NR > 1 { printf "  %-14s %12d bytes\n", $9, $5 }'
du -sb "$source_ts" | awk '{ printf "  total %.2f GB (%.0f MiB)\n", $1 / 1e9, $1 / 1048576 }'
echo "Title: $title_seconds s ($((title_seconds / 60)) min), $cues cues in $(du -k "$work/cues.srt" | cut -f1) KB of SRT"

drop_caches() {
    sync
    { echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null || true
}
if { echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    echo "Page caches are dropped before each run."
else
    echo "Page caches cannot be dropped here: the runs may read from memory."
fi

# Runs the command quietly and sets wall, user, sys (seconds) and kb (peak resident); stops the
# script with the command's last words when it fails.
measure() {
    local log=$1
    shift
    if ! /usr/bin/time -f "%e %U %S %M" -o "$work/usage" "$@" >"$log" 2>&1; then
        echo "Failed: $*" >&2
        tail -20 "$log" >&2
        exit 1
    fi
    read -r wall user sys kb < <(tail -1 "$work/usage")
}

best_cp=999999
best_cp_sync=999999
best_mx=999999
best_mx_kb=0
best_three=999999
best_three_kb=0
for language in fr es it; do cp "$work/cues.srt" "$work/film.$language.srt"; done
for run in 1 2 3; do
    rm -rf "$work/cp-copy" "$work/out"
    drop_caches
    measure "$work/cp.log" cp -r "$source_ts" "$work/cp-copy"
    echo "run $run cp -r: $wall s wall, $user s user, $sys s system, peak $kb KB"
    best_cp=$(awk -v a="$wall" -v b="$best_cp" 'BEGIN { print (a < b ? a : b) }')

    # marvoxa-cli syncs its copy to the disk before it is put in place; cp -r leaves the data in
    # the page cache, so the copy with a sync after it is shown too.
    rm -rf "$work/cp-copy"
    drop_caches
    measure "$work/cp.log" sh -c 'cp -r "$1" "$2" && sync' sh "$source_ts" "$work/cp-copy"
    echo "run $run cp -r then sync: $wall s wall, $user s user, $sys s system"
    best_cp_sync=$(awk -v a="$wall" -v b="$best_cp_sync" 'BEGIN { print (a < b ? a : b) }')

    rm -rf "$work/cp-copy"
    drop_caches
    measure "$work/marvoxa.log" "$cli" --ifo "$source_ts/VTS_01_0.IFO" \
        --into-dvd --language de --output-dir "$work/out" "$work/cues.srt"
    echo "run $run marvoxa-cli --into-dvd: $wall s wall, $user s user, $sys s system, peak $kb KB"
    if awk -v a="$wall" -v b="$best_mx" 'BEGIN { exit !(a < b) }'; then
        best_mx=$wall
    fi
    if ((kb > best_mx_kb)); then
        best_mx_kb=$kb
    fi

    # Three languages, one read and write of the title set.
    rm -rf "$work/out3"
    drop_caches
    measure "$work/marvoxa3.log" "$cli" --ifo "$source_ts/VTS_01_0.IFO" --into-dvd \
        --output-dir "$work/out3" "$work/film.fr.srt" "$work/film.es.srt" "$work/film.it.srt"
    echo "run $run marvoxa-cli --into-dvd, three languages: $wall s wall, $user s user, $sys s system, peak $kb KB"
    if awk -v a="$wall" -v b="$best_three" 'BEGIN { exit !(a < b) }'; then
        best_three=$wall
    fi
    if ((kb > best_three_kb)); then
        best_three_kb=$kb
    fi
    if ((run < 3)); then rm -rf "$work/out3"; fi
done
lsdvd_three=$(lsdvd -s "$work/out3" 2>/dev/null || true)
grep -E 'Subtitle:' <<<"$lsdvd_three" || true
for language in fr es it; do
    if ! grep -q "Language: $language" <<<"$lsdvd_three"; then
        echo "lsdvd lists no subtitle stream in language $language after the three-language run." >&2
        exit 1
    fi
done
rm -rf "$work/out3"

# The last run's copy, checked once: libdvdread must see the new stream, and the title video may
# need one more file for the added packs, never fewer.
out_ts="$work/out/VIDEO_TS"
echo "Output: $out_ts"
ls -l "$out_ts" | awk 'NR > 1 { printf "  %-14s %12d bytes\n", $9, $5 }'
du -sb "$out_ts" | awk '{ printf "  total %.2f GB (%.0f MiB)\n", $1 / 1e9, $1 / 1048576 }'
lsdvd_out=$(lsdvd -s "$work/out" 2>/dev/null || true)
grep -E '^Title|Subtitle:' <<<"$lsdvd_out" || true
if ! grep -q 'Language: de' <<<"$lsdvd_out"; then
    echo "lsdvd lists no subtitle stream in language de." >&2
    exit 1
fi
source_vobs=$(find "$source_ts" -name '*.VOB' | wc -l)
out_vobs=$(find "$out_ts" -name '*.VOB' | wc -l)
echo "VOB files: $source_vobs in the source, $out_vobs in the copy"
if ((out_vobs != source_vobs && out_vobs != source_vobs + 1)); then
    echo "The copy should have as many VOB files as the source or one more." >&2
    exit 1
fi

awk -v m="$best_mx" -v c="$best_cp_sync" \
    'BEGIN { printf "cp -r then sync: %s s (marvoxa-cli takes %.2f times as long)\n", c, m / c }'
echo "cp -r: $best_cp s"
awk -v w="$best_mx" -v k="$best_mx_kb" 'BEGIN { printf "marvoxa-cli --into-dvd: %s s, peak %.1f MB\n", w, k / 1024 }'
awk -v m="$best_mx" -v c="$best_cp" 'BEGIN { printf "ratio: %.2f\n", m / c }'
awk -v w="$best_three" -v k="$best_three_kb" -v one="$best_mx" \
    'BEGIN { printf "three languages: %s s, peak %.1f MB, %.2f times one language\n", w, k / 1024, w / one }'
