#!/usr/bin/env bash
# Builds everything and runs every test: a Release build, then the same tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Exit status 0 only when all passed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/setup.sh"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

echo "== Release build"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" -j"$jobs"
(cd "$root/build/release" && ctest --output-on-failure -j"$jobs")

echo "== Sanitizer build (ASan + UBSan)"
cmake -S "$root" -B "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DBRINDLECAST_SANITIZE=ON \
  -DBRINDLECAST_BENCH=OFF >/dev/null
cmake --build "$root/build/asan" -j"$jobs"
# Qt keeps some allocations for the life of the process; leaks are checked in the core tests.
(cd "$root/build/asan" && ASAN_OPTIONS=abort_on_error=0:detect_leaks=1 \
  LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j"$jobs")
