#include "lumen/commands.h"

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"report", "[--now \"YYYY-MM-DD HH:MM:SS\"]", "Print the day's report, as Orrery shows it first.",
       "Options:\n"
       "  --now \"YYYY-MM-DD HH:MM:SS\"  the moment of the report (default: now)\n"
       "\n"
       "A notes file that cannot be read (a folder or a pipe in its place, or a\n"
       "file the user may not read) shows no notes and is named on standard error.\n"
       "\n"
       "On a terminal, control characters in the texts are shown, not obeyed:\n"
       "ESC as ^[, other controls but tab and line feed as ^ and a letter, DEL as\n"
       "^? and the C1 controls (U+0080 to U+009F) as U+FFFD.\n",
       RunReport, true},
      {"sky", "--lat DEG --lon DEG [--bias MIN | --zone KEY] [--date YYYY-MM-DD]",
       "Print sunrise and sunset, moonrise and moonset and the Moon's phase.",
       "Options:\n"
       "  --lat DEG          latitude, -90 to 90, north positive\n"
       "  --lon DEG          longitude, -180 to 180, east positive\n"
       "  --bias MIN         minutes to add to local time to get UTC\n"
       "  --zone KEY         a zone of 'lumen zones', for the date at 12:00\n"
       "                     (with neither: the whole-hour zone of the longitude)\n"
       "  --date YYYY-MM-DD  the date (default: today)\n",
       RunSky},
      {"quote", "FILE [--date YYYY-MM-DD] [--info]", "Print the day's quotation of a quotation file.",
       "Options:\n"
       "  --date YYYY-MM-DD  the date (default: today)\n"
       "  --info             print the file's title, subtitle and cycle length instead\n"
       "\n"
       "On a terminal, control characters in the texts are shown, not obeyed:\n"
       "ESC as ^[, other controls but tab and line feed as ^ and a letter, DEL as\n"
       "^? and the C1 controls (U+0080 to U+009F) as U+FFFD.\n",
       RunQuote},
      {"generate", "SOURCE [--new]", "Generate the quotation file (.day) beside a quotation source.",
       "Options:\n"
       "  --new  create the empty source first when SOURCE does not exist\n",
       RunGenerate},
      {"zones", "[--date YYYY-MM-DD]",
       "List the time zones: key, display text, name and bias for the date, tab-separated.",
       "Options:\n"
       "  --date YYYY-MM-DD  the date (default: today)\n",
       RunZones},
      {"notes", "[--date YYYY-MM-DD]",
       "Print the notes of a date: dated, annual, remind flag and advance reminders.",
       "Options:\n"
       "  --date YYYY-MM-DD  the date (default: today)\n"
       "\n"
       "A notes file that cannot be read (a folder or a pipe in its place, or a\n"
       "file the user may not read) shows no notes and is named on standard error.\n"
       "\n"
       "On a terminal, control characters in the texts are shown, not obeyed:\n"
       "ESC as ^[, other controls but tab and line feed as ^ and a letter, DEL as\n"
       "^? and the C1 controls (U+0080 to U+009F) as U+FFFD.\n",
       RunNotes, true},
      {"notes set", "--date YYYY-MM-DD [--dated TEXT] [--annual TEXT] [--remind 0|1]",
       "Change the notes of a date and save them.",
       "Options:\n"
       "  --date YYYY-MM-DD  the date\n"
       "  --dated TEXT       the note for this date only (\"\" removes it)\n"
       "  --annual TEXT      the note for this day in every year (\"\" removes it)\n"
       "  --remind 0|1       remind of the notes in the five days before\n",
       RunNotesSet, true},
      {"notes salvage", "FILE OUT", "Recover the whole months of a damaged notes file into a new one.",
       "Reads the months of FILE (a year file or the annual file) one after another\n"
       "and writes every month that still reads completely into OUT, a new notes\n"
       "file (an existing OUT is never replaced); the other months are empty there.\n"
       "It prints which months were recovered.\n"
       "\n"
       "What cannot be recovered:\n"
       "  - the month where the damage is and every month after it: the months are\n"
       "    stored one after another without an index, so nothing past the first\n"
       "    break can be found;\n"
       "  - texts of a month that are wrong but still well-formed: such a month\n"
       "    reads completely and is copied as it is.\n"
       "\n"
       "Exit status 0 when FILE could be read at all, 1 when it or OUT could not.\n",
       RunNotesSalvage},
      {"places", "", "List the five places (0 is Home), tab-separated.", "", RunPlaces, true},
      {"places set", "N --name NAME --lat DEG --lon DEG [--zone KEY]",
       "Store place N (0 for Home, 1 to 4).",
       "Options:\n"
       "  --name NAME  at most 31 characters\n"
       "  --lat DEG    latitude, -90 to 90, north positive\n"
       "  --lon DEG    longitude, -180 to 180, east positive\n"
       "  --zone KEY   a zone of 'lumen zones' (default: none, the longitude's zone)\n",
       RunPlacesSet, true},
      {"reg export", "[KEY]", "Print the settings in the regedit text format.",
       "KEY is a key such as \"HKEY_CURRENT_USER\\Software\" (default: both hives).\n"
       "Read-only keys served by the system, such as the time zones, are left out\n"
       "unless KEY names them.\n",
       RunRegExport, true},
      {"reg import", "FILE", "Read settings from a regedit text file ('-' for standard input).",
       "The whole file is checked first: a malformed file changes nothing.\n"
       "Read-only keys served by the system are never changed.\n",
       RunRegImport, true},
  };
  return commands;
}
