#!/usr/bin/env bash
# Builds a release into build-package/ and packs it as a Debian package,
# dist-out/valkoran_<version>_<arch>.deb; prints its path. Install it with
#   sudo apt install ./dist-out/valkoran_*.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-package"
"$root/scripts/deps.sh"
# dpkg-shlibdeps (in dpkg-dev) works out the package's Depends from the
# libraries the programs link; CPack asks file which files are programs.
"$root/scripts/deps.sh" dpkg-dev file
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVALKORAN_TESTS=OFF -DVALKORAN_BENCH=OFF
cmake --build "$build"
rm -f "$build"/valkoran_*.deb
(cd "$build" && cpack)
mkdir -p "$root/dist-out"
for deb in "$build"/valkoran_*.deb; do
  mv -f "$deb" "$root/dist-out/"
  echo "$root/dist-out/$(basename "$deb")"
done
