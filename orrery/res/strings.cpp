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
};

const CStringTable kTable(kStrings, sizeof kStrings / sizeof kStrings[0]);

}  // namespace

const CStringTable& OrreryStringTable() { return kTable; }
