#!/usr/bin/env bash
# Builds the Debian package, installs it as a user would (apt-get install ./build/marvoxa_*.deb)
# and checks the installed copy: its version, a conversion, the manual page, the desktop entry
# and the metainfo, and the window under Xvfb, which must keep its settings in the user's
# folder. Then removes the package and checks that nothing of it is left in /usr.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/package.sh"
deb=$(echo "$root"/build/marvoxa_*.deb)
version=$(dpkg-deb -f "$deb" Version)

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
apt_get() {
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -y -qq "$@"
}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "== The package's files"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$scratch/contents"
for path in /usr/bin/marvoxa /usr/bin/marvoxa-cli /usr/share/man/man1/marvoxa-cli.1.gz \
    /usr/share/man/man1/marvoxa.1.gz /usr/share/applications/marvoxa.desktop \
    /usr/share/metainfo/invalid.marvoxa.Marvoxa.metainfo.xml /usr/share/doc/marvoxa/copyright \
    /usr/share/doc/marvoxa/changelog.gz /usr/lib/marvoxa/libmarvoxa_media.so; do
    grep -qxF "$path" "$scratch/contents" || fail "the package lacks $path"
done
# Each hicolor icon has the size its folder names; a theme skips one that has not.
dpkg-deb -x "$deb" "$scratch/unpacked"
icons=0
for icon in "$scratch"/unpacked/usr/share/icons/hicolor/*/apps/marvoxa.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    file "$icon" | grep -q "PNG image data, ${size/x/ x }, 8-bit/color RGBA" ||
        fail "$icon is not a ${size} RGBA picture: $(file -b "$icon")"
    icons=$((icons + 1))
done
((icons >= 6)) || fail "only $icons icon sizes in the package"

echo "== Installing $deb"
if dpkg-query -W -f='${Status}' marvoxa 2>/dev/null | grep -q 'install ok installed'; then
    apt_get remove marvoxa
fi
# What /usr holds by that name without the package, as a copy from `cmake --install`.
find /usr -iname '*marvoxa*' 2>/dev/null | sort >"$scratch/without-package"
# Slim images keep manual pages and documents out with dpkg's path-exclude; these patterns,
# read after the images' own, let this package's in. The folders need their own pattern: a file
# whose folder is excluded cannot be unpacked.
apt_get install --no-install-recommends \
    -o Dpkg::Options::=--path-include=/usr/share/man/man1 \
    -o Dpkg::Options::=--path-include='/usr/share/man/man1/marvoxa*' \
    -o Dpkg::Options::=--path-include='/usr/share/doc/marvoxa*' "$deb"
dpkg -L marvoxa | grep "^/usr/" | sort >"$scratch/installed"

echo "== The installed converter"
[[ $(command -v marvoxa-cli) == /usr/bin/marvoxa-cli ]] ||
    fail "marvoxa-cli is not the installed one: $(command -v marvoxa-cli)"
answer=$(/usr/bin/marvoxa-cli --version) || fail "marvoxa-cli --version failed"
[[ $answer == "marvoxa-cli $version" ]] || fail "marvoxa-cli --version says \"$answer\""
# The installed, stripped converter writes the stream the build's converter writes.
/usr/bin/marvoxa-cli --output-dir "$scratch/installed-output" "$root/examples/rethymno.srt" \
    >"$scratch/report" || fail "the installed converter failed on rethymno.srt"
"$root/build/src/cli/marvoxa-cli" --output-dir "$scratch/build-output" \
    "$root/examples/rethymno.srt" >/dev/null
for file in Generated.sup Marvoxa_Help_File.txt; do
    [[ -s $scratch/installed-output/$file ]] || fail "the installed converter wrote no $file"
done
cmp "$scratch/installed-output/Generated.sup" "$scratch/build-output/Generated.sup" ||
    fail "the installed converter's stream differs from the build's"
# A video's subtitle track is read by the module the installed converter loads from /usr/lib.
mkvmerge -q -o "$scratch/film.mkv" "$root/examples/rethymno.srt" ||
    fail "mkvmerge could not make a video of rethymno.srt"
/usr/bin/marvoxa-cli --output-dir "$scratch/installed-mkv" "$scratch/film.mkv" \
    >"$scratch/report-mkv" 2>&1 || fail "the installed converter failed on an MKV: $(cat "$scratch/report-mkv")"
cmp "$scratch/installed-mkv/Generated.sup" "$scratch/build-output/Generated.sup" ||
    fail "the installed converter's stream of the MKV differs from that of its SRT"

echo "== The manual pages"
for page in marvoxa-cli marvoxa; do
    if [[ ! -e /usr/share/man/man1/$page.1.gz ]]; then
        fail "the package holds $page.1.gz but dpkg did not install it; path-exclude rules:" \
            "$(grep -rh path-exclude /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d 2>/dev/null)"
    fi
    found=$(man -w "$page") || fail "man -w $page finds no page"
    [[ $found == /usr/share/man/man1/$page.1.gz ]] || fail "man -w $page finds \"$found\""
    warnings=$(MANWIDTH=80 man --warnings "$page" 2>&1 >/dev/null) || fail "man $page failed"
    [[ -z $warnings ]] || fail "man $page warns: $warnings"
done

echo "== The desktop entry and the metainfo"
desktop-file-validate /usr/share/applications/marvoxa.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net /usr/share/metainfo/invalid.marvoxa.Marvoxa.metainfo.xml ||
    fail "appstreamcli validate"

echo "== The installed window under Xvfb"
# A home of its own: the window's settings must land in its ~/.config/Marvoxa.
home="$scratch/home"
mkdir -p "$home"
mkdir -m 700 "$scratch/runtime"
HOME=$home XDG_CONFIG_HOME='' XDG_RUNTIME_DIR=$scratch/runtime xvfb-run -a bash -c '
    set -u
    marvoxa >"$1/window.log" 2>&1 &
    pid=$!
    window=
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name "^Marvoxa By Pellorn\$" 2>/dev/null | head -1)
        [[ -n $window ]] && break
        sleep 0.2
    done
    if [[ -z $window ]]; then
        echo "no window titled \"Marvoxa By Pellorn\" appeared" >&2
        xwininfo -root -tree >&2
        kill "$pid"
        exit 1
    fi
    echo "window $window: $(xdotool getwindowname "$window")"
    # Closed as a window manager closes it, so the window saves its settings as it does for a user.
    python3 - "$window" <<"PYTHON"
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):  # XEvent: 24 longs
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x11.XOpenDisplay(None)
event = Event()
event.client.type = 33  # ClientMessage
event.client.window = int(sys.argv[1])
event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.client.format = 32
event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x11.XSendEvent(display, event.client.window, 0, 0, ctypes.byref(event))
x11.XFlush(display)
x11.XCloseDisplay(display)
PYTHON
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the window did not close" >&2
        kill "$pid"
        exit 1
    fi
    wait "$pid" || { echo "the window ended with status $?" >&2; exit 1; }
' bash "$scratch" || fail "the installed window: $(cat "$scratch/window.log" 2>/dev/null)"
[[ -s $home/.config/Marvoxa/Marvoxa_Settings.ini ]] ||
    fail "the window wrote no ~/.config/Marvoxa/Marvoxa_Settings.ini"
[[ ! -e /usr/bin/Marvoxa_Settings.ini ]] || fail "the window wrote its settings into /usr/bin"

echo "== Removing the package"
apt_get remove marvoxa
while read -r path; do
    # Folders such as /usr/bin stay for others; a file, or a folder no package owns, is left over.
    if [[ -e $path && (! -d $path || -z $(dpkg -S "$path" 2>/dev/null)) ]]; then
        fail "left in place after removal: $path"
    fi
done <"$scratch/installed"
leftovers=$(find /usr -iname '*marvoxa*' 2>/dev/null | sort |
    comm -13 "$scratch/without-package" -)
[[ -z $leftovers ]] || fail "left in /usr after removal: $leftovers"

if ((failures > 0)); then
    echo "$failures package checks failed" >&2
    exit 1
fi
echo "The package $deb installs, works and removes cleanly."
