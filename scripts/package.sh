#!/usr/bin/env bash
# Builds the Debian package build/marvoxa_<version>_<arch>.deb with CPack from the build folder
# (set up and built first, as scripts/setup.sh does), then lets lintian judge it: an error
# fails, warnings are shown (the README names those that remain).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/scripts/setup.sh" "$build"
cd "$build"
# A package of an earlier version would be taken for this one.
rm -f marvoxa_*.deb
cpack -G DEB >cpack.log || {
    cat cpack.log
    exit 1
}
packages=(marvoxa_*.deb)
if ((${#packages[@]} != 1)) || [[ ! -f ${packages[0]} ]]; then
    echo "CPack made no single package: ${packages[*]}" >&2
    cat cpack.log >&2
    exit 1
fi
echo "lintian ${packages[0]}:"
lintian --fail-on error --display-info "${packages[0]}"
echo "Built $build/${packages[0]}"
