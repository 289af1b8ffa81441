# The Options page as a user works it: a quotation file added through the
# file dialog, Moon rise/Moon set unticked, a first name typed, "Every time"
# chosen; after Orrery closes, lumen's report and the autostart entry show
# every choice. Create starts Adagio from Orrery's folder.
. "$(dirname "$0")/lib.sh"
e2e_setup

# A quotation file of our own.
source="$E2E_DIR/garden.txt"
"$LUMEN_BIN/lumen" generate "$source" --new >/dev/null
sed -i 's/^{\*\*\* SHORT TITLE \*\*\*}\r$/&\nGarden Sayings\r/' "$source"
printf '%s\r\n' '{*** DEFAULT QUOTE ***}' 'The garden is patient.' >>"$source"
"$LUMEN_BIN/lumen" generate "$source" >/dev/null || e2e_fail "cannot generate $source"
quote=$("$LUMEN_BIN/lumen" quote "$E2E_DIR/garden.day")
[ "$quote" = "The garden is patient." ] || e2e_fail "unexpected quotation '$quote'"

report=$("$LUMEN_BIN/lumen" report)
e2e_expect "$report" "The Moon rises"
e2e_expect_not "$report" "The garden is patient."

e2e_start_orrery
e2e_key ctrl+Tab ctrl+Tab ctrl+Tab   # Report -> Dates -> Places -> Options

# Add: the file dialog takes a typed path.
e2e_key alt+a
dialog=$(e2e_window "Select Quotation File")
e2e_focus "$dialog"
e2e_type "$E2E_DIR/garden.day"
e2e_key Return
sleep 0.5
# No window manager gives the keyboard back: the tab bar has it again.
e2e_focus "$WIN"

# From the tab bar: the list, Add, Remove, Create, Sunrise/Sunset, Moon...
e2e_key Tab Tab Tab Tab Tab Tab
e2e_key space                        # untick Moon rise/Moon set
e2e_key Tab Tab Tab                  # Moon Phase, Greetings, First Name
e2e_type "Robin"
e2e_key Tab                          # the start mode's checked button
e2e_key Down Down                    # "Every time I start my computer"

# Create starts Adagio, found beside Orrery.
e2e_key alt+c
e2e_window "Lumen Quote File Generator" >/dev/null
pkill -f "^$LUMEN_BIN/Adagio" 2>/dev/null || true

# Leave the page and close Orrery with its system menu.
e2e_focus "$WIN"
e2e_key ctrl+Tab
e2e_close_orrery

report=$("$LUMEN_BIN/lumen" report)
e2e_expect "$report" " Robin!"
e2e_expect "$report" "The Sun rises"
e2e_expect_not "$report" "The Moon rises"
e2e_expect "$report" "Moon Phase:"
e2e_expect "$report" "The garden is patient."
entry="$XDG_CONFIG_HOME/autostart/Orrery.desktop"
[ -f "$entry" ] || e2e_fail "no autostart entry"
# "Every time": the program alone, without the day number of a daily start.
grep -qx "X-Lumen-Run-Value=$LUMEN_BIN/Orrery" "$entry" || { cat "$entry" >&2; e2e_fail "not an every-time entry"; }
grep -q '^Exec=.*Orrery"\{0,1\}$' "$entry" || e2e_fail "the autostart entry does not start Orrery"
echo "options round trip: ok"
