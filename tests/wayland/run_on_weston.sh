#!/usr/bin/env bash
# Starts weston (its X11 backend, inside a private Xvfb, which gives the compositor a seat) and the
# app with only WAYLAND_DISPLAY set, then checks over the app's own Wayland protocol log that its
# window came up natively: an xdg toplevel with the application id, configured, a buffer attached
# at the output's scale and a frame the compositor has drawn.
#   run_on_weston.sh <program> <app id> <work folder> [output scale]
# Exits 77 (skipped) with its reason where no compositor can run here.
set -uo pipefail
program=$1 app_id=$2 work=$(realpath -m "$3") scale=${4:-1}

skip() { echo "SKIPPED: $*"; exit 77; }
for tool in Xvfb weston; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps --tests installs it)"
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-*.so >/dev/null 2>&1 \
  || skip "Qt's Wayland platform plugin is not installed (package qt6-wayland)"

rm -rf "$work"
mkdir -p "$work/runtime" "$work/home/config/morvela-calculator"
chmod 700 "$work/runtime"
printf '[General]\nstatsOptOut=true\n' >"$work/home/config/morvela-calculator/preferences.ini"

pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait 2>/dev/null; }
trap cleanup EXIT

# Bounded waits for things this script started: each polls every 0.1 s.
wait_for() { # <tenths of a second> <command...>
  local tries=$1; shift
  until "$@"; do
    ((tries--)) || return 1
    sleep 0.1
  done
}

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$work/xvfb.display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for 100 test -s "$work/xvfb.display" || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
x_display=":$(cat "$work/xvfb.display")"

env -u WAYLAND_DISPLAY DISPLAY="$x_display" XDG_RUNTIME_DIR="$work/runtime" \
  weston --backend=x11-backend.so --use-pixman --no-config --socket=morvela-test --width=1200 --height=860 \
  --scale="$scale" --log="$work/weston.log" >/dev/null 2>&1 &
weston=$!
pids+=("$weston")
weston_ready() { test -S "$work/runtime/morvela-test" || ! kill -0 "$weston" 2>/dev/null; }
wait_for 150 weston_ready && test -S "$work/runtime/morvela-test" \
  || skip "weston did not start on the virtual X server: $(tail -n 5 "$work/weston.log" 2>/dev/null)"

# Only WAYLAND_DISPLAY: there is no X display for the app to fall back on.
env -u DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u QT_LOGGING_RULES \
  WAYLAND_DISPLAY=morvela-test XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" \
  XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state" XDG_CACHE_HOME="$work/home/cache" \
  DBUS_SESSION_BUS_ADDRESS=disabled: WAYLAND_DEBUG=client \
  "$program" >"$work/app.out" 2>"$work/app.log" &
app=$!
pids+=("$app")

toplevel_line() { grep -m1 -E "xdg_toplevel@[0-9]+\.set_app_id\(\"$app_id\"\)" "$work/app.log"; }
# The toplevel's surface, then a buffer on it and a frame the compositor has presented after it.
window_drawn() {
  local surface
  surface=$(grep -m1 -oE 'xdg_wm_base@[0-9]+\.get_xdg_surface\(new id xdg_surface@[0-9]+, wl_surface@[0-9]+\)' \
    "$work/app.log" | grep -oE 'wl_surface@[0-9]+') || return 1
  awk -v s="$surface" -v scale="$scale" '
    index($0, "-> " s ".set_buffer_scale(" scale ")") { scaled = 1 }
    index($0, "-> " s ".frame(new id ") { match($0, /wl_callback@[0-9]+/); pending = substr($0, RSTART, RLENGTH) }
    index($0, "-> " s ".attach(wl_buffer@") { attached = 1 }
    attached && pending != "" && index($0, "-> " s ".commit()") { watched[pending] = 1; pending = "" }
    /^\[[0-9. ]+\] wl_callback@[0-9]+\.done\(/ {
      match($0, /wl_callback@[0-9]+/); if (substr($0, RSTART, RLENGTH) in watched) drawn = 1
    }
    END { exit !(scaled && drawn) }' "$work/app.log"
}
running() { kill -0 "$app" 2>/dev/null; }
drawn_or_gone() { window_drawn || ! running; }

if ! wait_for 300 drawn_or_gone || ! window_drawn; then
  running || echo "the app exited with status $(wait "$app"; echo $?)"
  echo "--- app (last lines of its Wayland log)"; grep -v '^\[' "$work/app.log" | tail -n 20; tail -n 20 "$work/app.log"
  echo "FAIL: no window of $app_id came up on weston (output scale $scale) within 30 s"
  exit 1
fi
toplevel_line >/dev/null || { echo "FAIL: the window does not carry the application id $app_id"; exit 1; }
grep -q 'wl_registry@[0-9]*\.bind([0-9]*, "xdg_wm_base"' "$work/app.log" \
  || { echo "FAIL: the app did not use xdg-shell"; exit 1; }
running || { echo "FAIL: the app exited after showing its window"; exit 1; }
echo "PASS: a native Wayland window of $app_id came up on weston at output scale $scale: $(toplevel_line)"
