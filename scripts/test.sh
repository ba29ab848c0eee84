#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite, and builds, installs, tries and removes the
# Debian package; then builds it again with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, together with the fuzz targets, and runs it all a second time
# (each fuzz target for a short, fixed number of executions). Line tables instead of full debug
# information keep that build short while reports still name lines.
# MARVOXA_SKIP_SANITIZER_PASS=1 runs the first pass only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
# The Debian package of this build, installed, tried and removed again.
bash "$root/scripts/package-check.sh"

if [[ ${MARVOXA_SKIP_SANITIZER_PASS:-0} == 1 ]]; then
    exit 0
fi
echo "Second pass: sanitizers and fuzz targets"
"$root/scripts/setup.sh" "$root/build-sanitize" -DCMAKE_CXX_COMPILER=clang++-14 \
    -DMARVOXA_SANITIZE=ON -DMARVOXA_FUZZ=ON -DMARVOXA_BUILD_BENCHMARKS=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
cd "$root/build-sanitize"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure --parallel "$(nproc)"
