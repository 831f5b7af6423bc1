#!/usr/bin/env bash
# Installs the build under /usr in a scratch folder, as the package does, and
# checks what the desktop, the package manager and the game itself look for
# there: every file in place, the desktop entry, store listing and file type
# well formed and naming each other, and both programs running from the
# installed tree alone.
#
#   install_check.sh CMAKE BUILD_FOLDER SCRATCH_FOLDER
set -uo pipefail
cmake=$1 build=$2 root=$3
id=org.valkoran.Valkoran
usr=$root/usr
share=$usr/share
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli xmllint; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (./scripts/deps.sh installs it)" >&2; exit 1; }
done

rm -rf "${root:?}" && mkdir -p "$root" || exit 1
if ! out=$(DESTDIR="$root" "$cmake" --install "$build" --prefix /usr 2>&1); then
  echo "$out" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

# ---- every file in place, and nothing else
expected=(bin/valkoran bin/valkoran-cli)
for f in back1024.jpg sun.png sunmask.png world00.png worldmask29.png butt1.jpg ddentbutt20.jpg \
         bomb.png fuel.png crystal.png valkoran.png Valkoran.html \
         gamestart.wav click1.wav click2.wav gameinfo.wav turn.wav timer.wav battlestart.wav battlewon.wav \
         battlelost.wav bomb.wav pulse.wav pulsegot.wav reinforcements.wav scout.wav console.wav message.wav; do
  expected+=("share/valkoran/$f")
done
expected+=("share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" share/mime/packages/valkoran.xml)
for f in "${expected[@]}"; do
  [ -s "$usr/$f" ] || fail "missing or empty: /usr/$f"
done
for f in bin/valkoran bin/valkoran-cli; do
  [ -x "$usr/$f" ] || fail "not executable: /usr/$f"
done

# A PNG's width and height, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in 16 24 32 48 64 128 256; do
  for icon in "apps/$id.png" mimetypes/application-x-valkoran-game.png; do
    f=$share/icons/hicolor/${size}x$size/$icon
    if [ ! -s "$f" ]; then
      fail "missing icon: ${f#"$root"}"
    elif [ "$(png_size "$f")" != "${size}x$size" ]; then
      fail "${f#"$root"} is $(png_size "$f"), not ${size}x$size"
    fi
  done
done

stray=$(cd "$usr" && find . -type f | sed 's|^\./||' |
        grep -Ev '^(bin/valkoran(-cli)?|share/valkoran/[^/]+|share/applications/[^/]+\.desktop|share/metainfo/[^/]+\.xml|share/mime/packages/[^/]+\.xml|share/icons/hicolor/[0-9]+x[0-9]+/(apps|mimetypes)/[^/]+\.png)$')
[ -z "$stray" ] || fail "installed but not expected: $stray"

# ---- the desktop entry, the store listing and the file type
desktop=$share/applications/$id.desktop
if [ -f "$desktop" ]; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  grep -qx 'Exec=valkoran %f' "$desktop" || fail "the desktop entry does not start valkoran with the file"
  grep -qx 'MimeType=application/x-valkoran-game;' "$desktop" || fail "the desktop entry does not claim saved games"
  grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
fi

metainfo=$share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  # The whole tree, so the listing's desktop entry and icon are looked up too.
  out=$(appstreamcli validate-tree --no-net --explain "$root" 2>&1) || fail "appstreamcli validate-tree: $out"
  field() { xmllint --xpath "string($1)" "$metainfo" 2>/dev/null; }
  [ "$(field /component/id)" = "$id" ] || fail "metainfo id is '$(field /component/id)'"
  [ "$(field "/component/launchable[@type='desktop-id']")" = "$id.desktop" ] || fail "metainfo launches '$(field /component/launchable)'"
  [ "$(field /component/provides/mediatype)" = application/x-valkoran-game ] || fail "metainfo provides no saved-game type"
  [ "$(field /component/releases/release/@version)" = 1.0.0 ] || fail "metainfo release is '$(field /component/releases/release/@version)'"
  case "$(field "/component/url[@type='homepage']")" in
    https://*) ;;
    *) fail "metainfo home page is '$(field "/component/url[@type='homepage']")'" ;;
  esac
fi

mime=$share/mime/packages/valkoran.xml
if [ -f "$mime" ]; then
  if out=$(xmllint --noout "$mime" 2>&1); then
    node="//*[local-name()='mime-type']"
    type=$(xmllint --xpath "string($node/@type)" "$mime")
    glob=$(xmllint --xpath "string($node/*[local-name()='glob']/@pattern)" "$mime")
    icon=$(xmllint --xpath "string($node/*[local-name()='icon']/@name)" "$mime")
    [ "$type" = application/x-valkoran-game ] || fail "file type is '$type'"
    [ "$glob" = '*.gam' ] || fail "file type glob is '$glob'"
    [ "$icon" = application-x-valkoran-game ] || fail "file type icon is '$icon'"
  else
    fail "xmllint: $out"
  fi
fi

# ---- the programs, run from the installed tree with nothing of the build
# folder in reach (the game looks in the current folder first)
cd "$root" || exit 1
if ! out=$("$usr/bin/valkoran-cli" new --worlds 12 --player Ann --seed 7 --out game.gam 2>&1); then
  fail "valkoran-cli new: $out"
elif ! out=$("$usr/bin/valkoran-cli" report game.gam 2>&1) || ! grep -q "Ann Owns 1 World" <<<"$out"; then
  fail "valkoran-cli report: $out"
fi
if [ -s game.gam ]; then
  # The game runs until it is closed: three seconds show whether it started
  # and found every picture and sound it loads with a game open.
  QT_QPA_PLATFORM=offscreen timeout 3 "$usr/bin/valkoran" game.gam >game.out 2>&1
  rc=$?
  [ $rc -eq 124 ] || fail "valkoran stopped by itself (exit $rc): $(cat game.out)"
  ! grep -E "not found|not a sound" game.out || fail "the installed game misses data files"
fi

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed tree OK: ${#expected[@]} files, 14 icons"
