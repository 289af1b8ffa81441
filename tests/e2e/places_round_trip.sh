# Two places named and zoned in the Set Location of Interest dialog with the
# keyboard are stored at exit; in the next run, choosing one on the Places
# page appends its Sun and Moon section, on its own zone, to the report.
. "$(dirname "$0")/lib.sh"
e2e_setup

# The dialog's tab order from the name field: Save, Close, the location
# box, latitude, longitude, the zone box, the slot box.
tab_to_location_box() { e2e_key Tab Tab Tab; }

# Chooses a zone in the focused zone box by the start of its display text
# (up to the first blank: a blank would open the list).
choose_zone() { e2e_type "$1"; }

e2e_start_orrery
e2e_key ctrl+Tab ctrl+Tab        # the Places page
e2e_key alt+n                    # "&New"
dlg=$(e2e_window "Set Location of Interest")
e2e_focus "$dlg"

# Home (unnamed, so the dialog opens on it): Lisbon on London's zone.
e2e_type "Lisbon"
tab_to_location_box
e2e_key Tab
e2e_type "38.72"
e2e_key Tab
e2e_key minus                    # a leading '-' would be an option of xdotool's
e2e_type "9.14"
e2e_key Tab
choose_zone "(UTC+00:00)"
e2e_key Return                   # Save

# Location 1: Kathmandu on Nepal's zone.
e2e_key Tab                      # past the disabled slot box to the name
tab_to_location_box
e2e_type "1"
e2e_key Tab
e2e_type "27.7"
e2e_key Tab
e2e_type "85.32"
e2e_key Tab
choose_zone "(UTC+05:45)"
e2e_key Tab                      # the name field
e2e_type "Kathmandu"
e2e_key Return                   # Save
e2e_key Escape                   # Close
i=0
while xdotool search --onlyvisible --name "Set Location of Interest" >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 50 ] && e2e_fail "the dialog did not close"
  sleep 0.1
done

e2e_close_orrery

places=$("$LUMEN_BIN/lumen" places)
e2e_expect "$places" "$(printf '0\tLisbon\t38.7200\t-9.1400\tGMT Standard Time\t(UTC+00:00) Dublin, Edinburgh, Lisbon, London')"
e2e_expect "$places" "$(printf '1\tKathmandu\t27.7000\t85.3200\tNepal Standard Time\t(UTC+05:45) Kathmandu')"

# The next run: Kathmandu on the Places page, then the Report page.
e2e_start_orrery
e2e_key ctrl+Tab ctrl+Tab        # the Places page
e2e_key Tab                      # the name list
e2e_type "K"
e2e_key Tab                      # out of the list, which keeps ctrl+Tab
e2e_key ctrl+shift+Tab ctrl+shift+Tab
sleep 0.5
# Into the report view (left part of the page), then copy it all.
e2e_click "$WIN" 60 150
e2e_key ctrl+a ctrl+c
report=$(e2e_clipboard | tr -d '\r')
e2e_expect "$report" "- Kathmandu Position: (27.70, 85.32)"
# The section for Kathmandu follows the report of the day, on Nepal's zone.
section=$(printf '%s\n' "$report" | sed -n '/- Kathmandu Position:/,$p')
[ "$(printf '%s\n' "$section" | sed -n 2p)" = "TimeZone: Nepal Standard Time" ] ||
  { printf '%s\n' "$report" >&2; e2e_fail "no Nepal zone line after the Kathmandu header"; }
e2e_expect "$section" "The Sun rises at "
[ "$(printf '%s\n' "$report" | head -1)" != "$(printf '%s\n' "$section" | head -1)" ] ||
  e2e_fail "the report of the day is missing before the section"

e2e_close_orrery
echo "places round trip: ok"
