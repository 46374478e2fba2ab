#!/usr/bin/env bash
# Builds Brindlecast (Release) and opens its window.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DBRINDLECAST_TESTS=OFF >/dev/null
cmake --build "$root/build/release" -j"$(nproc)" --target brindlecast brindlecast-cli
exec "$root/build/release/app/brindlecast" "$@"
