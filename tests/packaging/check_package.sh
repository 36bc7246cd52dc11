#!/usr/bin/env bash
# Builds the Debian package from a built tree, installs it with dpkg -i, starts the installed
# program on a virtual X server and photographs its window, then purges the package and checks
# that nothing it installed is left.
#   check_package.sh <build folder> <work folder> <app id> <version>
# Installing needs root (CI runs as root); elsewhere this exits 77 (skipped) and says why.
set -uo pipefail
build=$(realpath "$1") work=$(realpath -m "$2") app_id=$3 version=$4
package=morvela-calculator

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
seconds() { date +%s%N; }
elapsed() { local tenths=$((($(seconds) - $1) / 100000000)); echo "$((tenths / 10)).$((tenths % 10)) s"; }

[ "$(id -u)" -eq 0 ] || skip "installing a package with dpkg -i needs root (CI runs as root)"
for tool in cpack dpkg-deb dpkg-shlibdeps Xvfb xwininfo import convert; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps --tests installs it)"
done
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
  skip "$package is already installed on this machine and is left alone (dpkg --purge $package to let this test run)"
fi

rm -rf "$work"
mkdir -p "$work/home/config/morvela-calculator" "$work/runtime"
chmod 700 "$work/runtime"
printf '[General]\nstatsOptOut=true\n' >"$work/home/config/morvela-calculator/preferences.ini"

pids=()
installed=
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "$installed" ] && dpkg --purge "$package" >/dev/null 2>&1
}
trap cleanup EXIT

# 1. The package, from the tree as built.
start=$(seconds)
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack could not make the package"; }
deb=$(ls "$work"/out/${package}_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no ${package}_${version}_*.deb"
echo "built $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) in $(elapsed "$start")"

depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6core6 libqt6quick6 librtaudio6 qml6-module-qtquick qml6-module-qtquick-controls \
  qml6-module-qtquick-layouts qml6-module-qtquick-shapes qt6-wayland; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|')
binary=/usr/bin/morvela-calculator
expected_files=(
  "$binary"
  "/usr/share/applications/$app_id.desktop"
  "/usr/share/metainfo/$app_id.metainfo.xml"
  "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  "/usr/share/man/man1/morvela-calculator.1.gz"
  "/usr/share/doc/$package/copyright"
  "/usr/share/doc/$package/changelog.gz"
)
for file in "${expected_files[@]}"; do
  grep -qxF "$file" <<<"$contents" || fail "the package does not hold $file"
done
changelog_version=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/doc/$package/changelog.gz" \
  | gunzip | sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "the changelog's newest entry is '$changelog_version', the package is $version"

# 2. Installed for real, its dependencies checked by dpkg.
start=$(seconds)
dpkg -i "$deb" >"$work/dpkg-install.log" 2>&1 || { cat "$work/dpkg-install.log"; fail "dpkg -i failed"; }
installed=yes
echo "installed with dpkg -i in $(elapsed "$start")"
for file in "${expected_files[@]}"; do
  [ -e "$file" ] || fail "$file is not there after dpkg -i"
done
[ "$("$binary" --version)" = "morvela-calculator $version" ] || fail "the installed binary reports '$("$binary" --version)'"

# 3. The installed program's window, on a virtual X server.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$work/xvfb.display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/xvfb.display" ] && break; sleep 0.1; done
[ -s "$work/xvfb.display" ] || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
display=":$(cat "$work/xvfb.display")"
for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
start=$(seconds)
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE DISPLAY="$display" HOME="$work/home" \
  XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state" XDG_CACHE_HOME="$work/home/cache" \
  XDG_RUNTIME_DIR="$work/runtime" DBUS_SESSION_BUS_ADDRESS=disabled: \
  "$binary" >"$work/app.log" 2>&1 &
app=$!
pids+=("$app")
# The window by its title (xwininfo answers at once, found or not), then its picture, until it
# shows more than one colour: drawn, not merely mapped.
window=
for _ in $(seq 150); do
  kill -0 "$app" 2>/dev/null || { cat "$work/app.log"; fail "the installed program exited before its window came up"; }
  window=$(xwininfo -display "$display" -name "Morvela Calculator" 2>/dev/null | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
  if [ -n "$window" ] && import -display "$display" -window "$window" "$work/window.png" 2>/dev/null \
    && [ "$(convert "$work/window.png" -format '%[fx:standard_deviation > 0.02]' info:)" = 1 ]; then
    break
  fi
  window=
  sleep 0.2
done
[ -n "$window" ] || { cat "$work/app.log"; fail "no drawn window titled 'Morvela Calculator' came up within 30 s"; }
read -r width height < <(identify -format '%w %h' "$work/window.png")
((width >= 900 && height >= 680)) || fail "the window is ${width}x${height}, smaller than its 900x680 minimum"
echo "the installed program's window came up (${width}x${height}) in $(elapsed "$start")"
kill "$app"

# 4. Purged: nothing of it is left.
start=$(seconds)
dpkg --purge "$package" >"$work/dpkg-purge.log" 2>&1 || { cat "$work/dpkg-purge.log"; fail "dpkg --purge failed"; }
installed=
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed; then
  fail "dpkg still lists $package after --purge"
fi
left=()
while read -r path; do
  [ -n "$path" ] && [ -e "$path" ] && [ ! -d "$path" ] && left+=("$path")
done <<<"$contents"
for dir in "/usr/share/doc/$package"; do
  [ -e "$dir" ] && left+=("$dir")
done
((${#left[@]} == 0)) || fail "left behind after dpkg --purge: ${left[*]}"
echo "purged in $(elapsed "$start"); nothing left behind"
echo "PASS"
