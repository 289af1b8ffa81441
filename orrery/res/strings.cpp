#include "orrery/res/strings.h"

#include "orrery/res/resource.h"

namespace {

const StringResource kStrings[] = {
    {IDS_APP_TITLE, "Lumen Almanac"},
    {IDS_DATE_LINE_FORMAT, "%A, %d %B %Y %I:%M %p"},
    {IDS_REGISTRY_KEY, "Vantrel Software\\Lumen Almanac"},
    {IDS_RUN_KEY, "Software\\Microsoft\\Windows\\CurrentVersion\\run"},
    {IDS_NO_REGISTRY_ACCESS,
     "Sorry, this program is unable to access the system registry.   If you want \"Lumen "
     "Almanac\"  to start every time you start Windows, you  must allow write access to the "
     "registry, or  manually add a shortcut to Lumen in your Startup folder."},
    {IDS_REPORT_DATE_FORMAT, "%d %B %Y   %A"},
    {IDS_ANNUAL_FILE, "Annual.scd"},
    {IDS_YEAR_FILE_FORMAT, "Year%.4d.scd"},
    {IDS_GREET_MORNING, "|Good Morning|Top of the morning to you|The day is still young|"},
    {IDS_GREET_MIDDAY, "|Good Day|What a day|You will have quite a productive day today|"},
    {IDS_GREET_AFTERNOON,
     "|Good Afternoon|It's time for a nap|Let's keep the sunny side up and the greasy side "
     "down|"},
    {IDS_GREET_EVENING, "|Good Evening|It's getting late|All in all, a pleasant evening|"},
    {IDS_GREET_SAYINGS,
     "|Greetings|Salutations|Howdy|Make sure you understand all the details|There are some big "
     "changes ahead|Hello Again|Ahoy|Hey there|Welcome|Felicitous Salutations|Live long and "
     "prosper|Jolly Good|What it is|Fascinating|Stay focused|Hold the phone|It's a "
     "jamboree|Befuddled beyond belief|Breathe deep|Absolute bedlam|There's more to it than you "
     "think|Speak freely but succinctly|Joiedevivre|Try to appear as if you know what you're "
     "doing|Great Scott|Jumping jocosity|There is no time to dawdle|Stay alert|Strive for "
     "perspicuity|Holy Mackerel|Lumen almanac|Something odd is about to happen|Bravo|Believe "
     "it|Savoirfaire is everywhere|Exit, stage left|Boisterous, bald faced, balderdash|Mercy|It "
     "is time to make your decision|You will have company soon|You must call it as you see "
     "it|Make sure you examine every option. Don't be rash|You would feel more energetic if you "
     "ate healthier foods|You sure do spend a lot of time at the computer|Exercise makes you "
     "feel better|Sometimes how to is not as important as when to|"},
    {IDS_GREET_OCCASIONS,
     "|The weekend is almost here|Happy Holidays|Most people are asleep now|It's Monday "
     "again|Happy New Year|It's a bit on the early side|It's the start of a brand new month|"},
    {IDS_QUOTE_FILE_UNREADABLE,
     "The quotation file you selected cannot be read.  Please select a different file.  "},
    {IDS_UNTITLED_QUOTE_FILE, "Untitled Quotation File"},
    {IDS_NO_DAILY_QUOTES, "You have chosen not to display daily quotations."},
    {IDS_CANNOT_START_GENERATOR,
     "Cannot start the quotation generator.  Make sure the file Adagio.exe is present.  If "
     "not, try reinstalling Lumen Almanac again."},
    {IDS_LOCAL_TIME_FORMAT, "%I:%M %p  %a"},
    {IDS_TIME_ZONES_KEY, "Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones"},
    {IDS_TIME_ZONES_KEY_NT, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"},
    {IDS_INSUFFICIENT_RESOURCES,
     "Insufficient resources.  Shut down some applications and try again."},
    {IDS_CHOOSE_DIRECTORY, "Select a directory to store your personal notes"},
    {IDS_INFO_TEXT,
     "Lumen Almanac greets you each day with a short report: your notes for today and for "
     "this day in every year, reminders of the days ahead, the rising and setting of the Sun "
     "and the Moon for your home place, the phase of the Moon, and a quotation to start the "
     "day.\r\n\r\nWrite notes for any date on the Dates page, keep the places you care "
     "about on the Places page, and choose what the report shows on the Options page."},
    {IDS_NOTES_NOT_SAVED,
     "Your notes could not be saved to the file \"%s\".  Make sure the personal directory "
     "exists and that you may write to it, then choose Retry; Cancel ends Lumen Almanac "
     "without saving these notes."},
    {IDS_NOTES_DAY_NOT_SAVED,
     "Your notes could not be saved to the file \"%s\", so Lumen Almanac stays on this day.  "
     "Make sure the personal directory exists and that you may write to it."},
    {IDS_DIRECTORY_NOT_CHANGED,
     "Your notes could not be saved in \"%s\", so your personal directory stays there.  "
     "Make sure that directory may be written, then choose the new one again."},
    {IDS_NO_DAILY_QUOTATION_ITEM, "No Daily Quotation at Startup"},
    {IDS_QUOTE_FILE_FILTER, "Quotation files (*.day)|*.day|All files (*.*)|*.*||"},
    {IDS_SELECT_QUOTE_FILE, "Select Quotation File"},
    {IDS_TRY_AGAIN, "Try Again"},
    {IDS_GENERATOR_NAME, "Adagio"},
    {IDS_NOTES_FILE_DAMAGED,
     "The notes file \"%1\" could not be read, so Lumen Almanac showed no notes from it.  "
     "Its contents were kept as \"%2\" before your new notes were saved in its place; "
     "'lumen notes salvage' can recover its whole months."},
    {IDS_SETTINGS_UNREADABLE,
     "Your settings could not be read.\r\n\r\n%1\r\n\r\nLumen Almanac runs with its "
     "default settings this time and leaves that file as it is, so nothing in it is lost.  "
     "Notes are not saved until the settings can be read again."},
    {IDS_MOVE_NOTES,
     "The directory \"%2\" holds no notes yet.  Move your notes files from \"%1\" "
     "there?\r\n\r\nYes moves them, No starts with no notes in the new directory, and "
     "Cancel keeps the current one."},
    {IDS_PLACES_NOT_SAVED,
     "Your places could not be saved.\r\n\r\n%1\r\n\r\nChoose Retry once the settings "
     "may be written again; Cancel ends Lumen Almanac without saving these places."},
    {IDS_NOTES_NOT_MOVED,
     "Your notes were not moved, and your personal directory stays \"%1\".\r\n\r\n%2"},
    {IDS_TIP_CLOSE, "\nClose Lumen Almanac"},
    {IDS_TIP_CLEAR, "\nClear the report and start again from today"},
    {IDS_TIP_MORE_INFO, "\nRead more about Lumen Almanac"},
    {IDS_TIP_HELP, "\nOpen the Lumen Almanac help"},
    {IDS_TIP_TODAY, "\nShow today on the calendar"},
    {IDS_TIP_NEW_PLACE, "\nName this position, give it a time zone and store it"},
    {IDS_TIP_REMOVE, "\nTake the selected file out of the list"},
    {IDS_TIP_CREATE, "\nStart Adagio to make a quotation file"},
    {IDS_TIP_ADD, "\nAdd a quotation file to the list"},
};

const CStringTable kTable(kStrings, sizeof kStrings / sizeof kStrings[0]);

}  // namespace

const CStringTable& OrreryStringTable() { return kTable; }
