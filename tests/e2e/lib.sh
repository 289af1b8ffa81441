# Shared by the end-to-end scripts: a private X server, a sandboxed profile,
# and the moves of a user. Source it, then call e2e_setup.
# LUMEN_BIN names the folder of the built programs.

set -eu

: "${LUMEN_BIN:?LUMEN_BIN must name the folder of the built programs}"

e2e_fail() {
  echo "FAIL: $*" >&2
  [ -n "${E2E_DIR:-}" ] && [ -n "${DISPLAY:-}" ] && import -window root "$E2E_DIR/failure.png" 2>/dev/null \
    && echo "screenshot: $E2E_DIR/failure.png (kept)" >&2 && E2E_KEEP=1
  exit 1
}

e2e_cleanup() {
  for pid in ${E2E_PIDS:-}; do kill "$pid" 2>/dev/null || true; done
  [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null || true
  [ -z "${E2E_KEEP:-}" ] && [ -n "${E2E_DIR:-}" ] && rm -rf "$E2E_DIR"
  return 0
}

# A sandbox (registry, config, data, runtime, notes folder) and a server.
e2e_setup() {
  E2E_DIR=$(mktemp -d /tmp/lumen-e2e.XXXXXX)
  trap e2e_cleanup EXIT
  export LUMEN_REGISTRY_DIR="$E2E_DIR/registry"
  export XDG_CONFIG_HOME="$E2E_DIR/config"
  export XDG_DATA_HOME="$E2E_DIR/data"
  export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" "$E2E_DIR/notes"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS WAYLAND_DISPLAY
  export LANG=C.UTF-8
  # Notes in the sandbox, not beside the programs.
  printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Vantrel Software\Lumen Almanac\Orrery\Schedule]' \
    "\"Path\"=\"$E2E_DIR/notes/\"" | "$LUMEN_BIN/lumen" reg import - >/dev/null
  exec 3>"$E2E_DIR/display"
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp >"$E2E_DIR/xvfb.log" 2>&1 &
  E2E_XVFB=$!
  exec 3>&-
  i=0
  while [ ! -s "$E2E_DIR/display" ]; do
    i=$((i + 1)); [ $i -gt 100 ] && e2e_fail "Xvfb did not start"
    sleep 0.1
  done
  export DISPLAY=":$(cat "$E2E_DIR/display")"
}

# Starts a program of LUMEN_BIN in the background; E2E_PID is its process.
e2e_start() {
  program=$1; shift
  "$LUMEN_BIN/$program" "$@" >"$E2E_DIR/$program.log" 2>&1 &
  E2E_PID=$!
  E2E_PIDS="${E2E_PIDS:-} $E2E_PID"
}

# Waits for a visible window whose title matches; prints its id.
e2e_window() {
  i=0
  while :; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    i=$((i + 1)); [ $i -gt 150 ] && e2e_fail "no window named '$1'"
    sleep 0.1
  done
}

# Gives a window the keyboard (there is no window manager to do it).
e2e_focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
}

e2e_key() { xdotool key --delay 60 "$@"; sleep 0.3; }
e2e_type() { xdotool type --delay 20 "$1"; sleep 0.3; }

# Clicks at (x, y) of a window.
e2e_click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}

e2e_clipboard() { xclip -selection clipboard -o 2>/dev/null || true; }

# Waits for a process to end; fails after $2 seconds (default 20).
e2e_wait_exit() {
  i=0
  limit=$(( ${2:-20} * 10 ))
  while kill -0 "$1" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt $limit ] && e2e_fail "process $1 did not end"
    sleep 0.1
  done
}

# Starts Orrery and gives its main window the keyboard: ORRERY is its
# process, WIN its window.
e2e_start_orrery() {
  e2e_start Orrery "$@"
  ORRERY=$E2E_PID
  WIN=$(e2e_window "Lumen Almanac")
  e2e_focus "$WIN"
}

# Closes Orrery through its window menu, as a user without a window manager
# does, and waits for it to end.
e2e_close_orrery() {
  e2e_focus "$WIN"
  e2e_key alt+space
  e2e_key c
  e2e_wait_exit "$ORRERY"
}

# Fails unless the text ($1) holds the fixed string $2.
e2e_expect() {
  printf '%s\n' "$1" | grep -qF -- "$2" || { printf '%s\n' "$1" >&2; e2e_fail "expected '$2'"; }
}
e2e_expect_not() {
  if printf '%s\n' "$1" | grep -qF -- "$2"; then printf '%s\n' "$1" >&2; e2e_fail "did not expect '$2'"; fi
}
