# Nothing typed in Orrery is lost: a note left unsaved in Orrery and one
# that lumen writes meanwhile both survive Orrery's close; a second start
# brings the running window to the front and ends; SIGTERM (what a logout
# sends) saves a new note and the window's position as closing would.
. "$(dirname "$0")/lib.sh"
e2e_setup

today=$(date +%Y-%m-%d)
later=$(date -d '+9 days' +%Y-%m-%d)

# Types text into the Notes dialog of today, opened from the report, and
# closes the dialog with its Close button.
type_note() {
  e2e_focus "$WIN"
  e2e_key Tab Menu e                 # the report view's menu: Edit Notes...
  dialog=$(e2e_window "Notes For The Day")
  e2e_focus "$dialog"
  e2e_type "$1"
  e2e_key Tab Tab Tab space          # annual notes, remind, Close
  sleep 0.3
  [ -z "$(xdotool search --onlyvisible --name "Notes For The Day" 2>/dev/null)" ] \
    || e2e_fail "the Notes dialog did not close"
}

e2e_start_orrery
type_note "Typed in Orrery"
"$LUMEN_BIN/lumen" notes set --date "$later" --dated "Written by lumen" \
  || e2e_fail "lumen notes set failed while Orrery runs"
e2e_close_orrery
e2e_expect "$("$LUMEN_BIN/lumen" notes --date "$today")" "Typed in Orrery"
e2e_expect "$("$LUMEN_BIN/lumen" notes --date "$later")" "Written by lumen"

# A second start while one runs: it ends at once, and the first comes back
# from the taskbar (a window manager for this part only).
e2e_start_orrery
openbox >"$E2E_DIR/openbox.log" 2>&1 &
WM=$!
E2E_PIDS="$E2E_PIDS $WM"
sleep 1
viewable() { xwininfo -id "$WIN" | grep -q "IsViewable"; }
xdotool windowminimize "$WIN"
i=0
while viewable; do i=$((i + 1)); [ $i -gt 50 ] && e2e_fail "the window did not minimize"; sleep 0.1; done
e2e_start Orrery
e2e_wait_exit "$E2E_PID" 10
wait "$E2E_PID" || e2e_fail "the second start did not end with status 0"
i=0
until viewable; do i=$((i + 1)); [ $i -gt 50 ] && e2e_fail "the running window did not come back"; sleep 0.1; done
count=$(xdotool search --onlyvisible --name "^Lumen Almanac$" | wc -l)
[ "$count" -eq 1 ] || e2e_fail "$count main windows instead of one"
kill "$WM"
wait "$WM" 2>/dev/null || true
sleep 0.5

# The session ends: SIGTERM saves what was typed and the window's position.
type_note "Before the logout"
"$LUMEN_BIN/lumen" reg export 'HKEY_CURRENT_USER\Software\Vantrel Software\Lumen Almanac\Orrery\WindowPos' \
  >"$E2E_DIR/before.reg" 2>/dev/null || true
kill -TERM "$ORRERY"
e2e_wait_exit "$ORRERY" 10
notes=$("$LUMEN_BIN/lumen" notes --date "$today")
e2e_expect "$notes" "Before the logout"
e2e_expect "$notes" "Typed in Orrery"
e2e_expect "$("$LUMEN_BIN/lumen" reg export)" '"right"=dword:'
echo "ok"
