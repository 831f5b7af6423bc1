#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build needs, when any is missing;
# with arguments, those packages instead.
set -euo pipefail

packages=(build-essential cmake ninja-build libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-multimedia-dev fonts-dejavu-core fontconfig)
if (($#)); then packages=("$@"); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
