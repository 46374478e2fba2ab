#!/usr/bin/env bash
# Installs what the build needs (Debian packages) when run as root; otherwise names the one
# command that installs it. Sourced by run.sh and test.sh.
set -euo pipefail

BRINDLECAST_PACKAGES=(cmake g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev python3 python3-pil)

missing=()
for package in "${BRINDLECAST_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "Brindlecast needs these packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi
