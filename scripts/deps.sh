#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build and the tests need, when any
# is missing; with arguments, those packages instead.
set -euo pipefail

packages=(build-essential cmake ninja-build libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-multimedia-dev fonts-dejavu-core fontconfig locales
          desktop-file-utils appstream libxml2-utils xvfb xauth)
custom=$#
if (($#)); then packages=("$@"); fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests read saved games under a German locale too, where the decimal
# point is a comma.
if ((!custom)) && ! locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$'; then
  echo "Generating the de_DE.UTF-8 locale"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
