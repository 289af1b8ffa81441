// Orrery's dialog templates and menus, positions in dialog units, and its
// pictures.
#include "orrery/res/ui_resources.h"

#include "orrery/res/ui_ids.h"
#include "platform/ui/ids.h"

#include <QtGlobal>

#include <iterator>

namespace {

using K = ControlKind;
const char kFont[] = "MS Sans Serif";

const ControlTemplate kReport[] = {
    {IDC_REPORT_VIEW, K::Edit, "", 7, 7, 249, 117,
     kMultiLine | kReadOnly | kVScroll | kBorder | kTabStop | kNoHideSel, 0},
    {ID_HELP_FINDER, K::PushButton, "&Help", 265, 70, 56, 16, kTabStop, 0},
    {IDC_CLEAR, K::PushButton, "&Clear", 265, 89, 56, 16, kTabStop, 0},
    {IDCANCEL, K::PushButton, "Close", 265, 108, 56, 16, kDefault | kTabStop, 0},
};

const ControlTemplate kInfo[] = {
    {IDC_INFO_TEXT, K::Edit, "", 7, 12, 214, 70, kMultiLine | kReadOnly | kVScroll | kBorder, 0},
    {IDC_MORE_INFO, K::PushButton, "More Info", 84, 89, 56, 16, kTabStop, 0},
    {-1, K::Picture, "", 231, 12, 75, 75, 0, 144},
    {-1, K::Static, "Questions or suggestions?  Please e-mail: almanac@lumen-almanac.example", 7,
     111, 314, 13, 0, 0},
};

const ControlTemplate kAbout[] = {
    {-1, K::Picture, "", 8, 7, 101, 94, kCentre | kSunken, 144},
    {-1, K::GroupBox, "Lumen Celestial Calendar", 114, 7, 152, 46, 0, 0},
    {-1, K::Static, "Your day planner: notes for every date, the Sun and the Moon for your places, "
     "and a quotation for each day.", 124, 17, 134, 32, 0, 0},
    {-1, K::GroupBox, "Current Quotation File", 114, 54, 152, 47, 0, 0},
    {IDC_QUOTE_TITLE, K::Static, "", 124, 63, 134, 9, 0, 0},
    {IDC_QUOTE_SUBTITLE, K::Static, "", 124, 73, 134, 25, 0, 0},
    {-1, K::Static, "Location of your personal notes:", 8, 102, 102, 8, 0, 0},
    {IDC_NOTES_LOCATION, K::Static, "", 8, 111, 209, 11, 0, 0},
    {IDOK, K::PushButton, "OK", 225, 106, 41, 16, kDefault | kTabStop, 0},
};

const ControlTemplate kNotes[] = {
    {IDC_DATED_NOTES, K::Edit, "", 7, 35, 237, 35, kMultiLine | kVScroll | kWantReturn | kBorder | kTabStop, 0},
    {IDC_ANNUAL_NOTES, K::Edit, "", 7, 82, 237, 23, kMultiLine | kVScroll | kWantReturn | kBorder | kTabStop, 0},
    {IDC_REMIND, K::CheckBox, "Remind me in advance", 7, 112, 177, 10, kTabStop, 0},
    {IDC_NOTES_CLOSE, K::PushButton, "Close", 195, 108, 50, 14, kDefault | kTabStop, 0},
    {IDC_NOTES_CAPTION, K::Static, "", 7, 1, 225, 19, kBorder, 0},
    {IDC_DAY_OFFSET, K::Edit, "", 204, 1, 25, 19, kHidden | kReadOnly, 0},
    {IDC_DAY_SPIN, K::UpDown, "", 234, 1, 11, 19, kAutoBuddy | kSetBuddyInt | kArrowKeys, 0},
    {-1, K::Static, "Notes for this day only", 7, 26, 74, 8, 0, 0},
    {-1, K::Static, "Annual Reminders - Birthdays, Holidays", 7, 73, 152, 8, 0, 0},
};

const ControlTemplate kDates[] = {
    {IDC_TODAY, K::PushButton, "&Today", 265, 108, 56, 16, kTabStop, 0},
    {IDC_NOTES_VIEW, K::Edit, "", 233, 21, 88, 79, kMultiLine | kReadOnly | kVScroll | kBorder | kTabStop, 0},
    {-1, K::Static, "Notes:", 233, 9, 35, 8, 0, 0},
    {IDC_CALENDAR, K::Custom, "", 7, 2, 221, 124, kTabStop, 0},
};

const ControlTemplate kPlaces[] = {
    {IDC_PLACE_NAMES, K::ComboBox, "", 261, 20, 60, 64, kVScroll | kTabStop, 0},
    {IDC_LATITUDE, K::Edit, "", 261, 40, 47, 14, kBorder | kReadOnly | kTabStop, 0},
    {IDC_LONGITUDE, K::Edit, "", 261, 62, 47, 14, kBorder | kReadOnly | kTabStop, 0},
    {IDC_LOCAL_TIME, K::Edit, "", 261, 107, 60, 14, kBorder | kReadOnly | kTabStop, 0},
    {-1, K::Static, "Name:", 221, 23, 24, 8, 0, 0},
    {-1, K::Static, "Latitude:", 221, 45, 34, 9, 0, 0},
    {-1, K::Static, "Longitude:", 221, 66, 35, 8, 0, 0},
    {-1, K::Static, "Approximate Local Time:", 220, 105, 39, 15, 0, 0},
    {-1, K::GroupBox, "Location", 216, 7, 109, 96, 0, 0},
    {IDC_NEW_PLACE, K::PushButton, "&New", 262, 81, 52, 16, kTabStop, 0},
};

const ControlTemplate kOptions[] = {
    {-1, K::GroupBox, "Daily Quotation", 7, 7, 200, 61, 0, 0},
    {IDC_QUOTE_LIST, K::ListBox, "", 14, 18, 141, 43, kNotify | kVScroll | kBorder | kTabStop, 0},
    {IDC_ADD, K::PushButton, "&Add", 159, 18, 42, 12, kTabStop, 0},
    {IDC_REMOVE, K::PushButton, "&Remove", 159, 33, 42, 12, kTabStop, 0},
    {IDC_CREATE, K::PushButton, "&Create", 159, 49, 42, 12, kTabStop, 0},
    {-1, K::GroupBox, "Include on Report", 214, 7, 107, 117, 0, 0},
    {IDC_SUN, K::CheckBox, "Sunrise/Sunset", 222, 23, 90, 9, kTabStop, 0},
    {IDC_MOON, K::CheckBox, "Moon rise/Moon set", 222, 44, 90, 9, kTabStop, 0},
    {IDC_PHASE, K::CheckBox, "Moon Phase", 222, 66, 90, 9, kTabStop, 0},
    {IDC_GREET, K::CheckBox, "Greetings at Startup", 222, 88, 90, 9, kTabStop, 0},
    {IDC_FIRST_NAME, K::Edit, "", 263, 105, 51, 13, kBorder | kAutoHScroll | kTabStop, 0},
    {-1, K::GroupBox, "Show \"Lumen Almanac\"", 7, 70, 200, 54, kGroup, 0},
    {IDC_START_ON_REQUEST, K::RadioButton, "Only when I request it", 14, 82, 160, 10, kGroup | kTabStop, 0},
    {IDC_START_DAILY, K::RadioButton, "The first time I start my computer each day", 14, 96, 160, 10, 0, 0},
    {IDC_START_ALWAYS, K::RadioButton, "Every time I start my computer", 14, 110, 160, 10, 0, 0},
    {-1, K::Static, "First Name:", 222, 107, 40, 11, kGroup, 0},
};

const ControlTemplate kLocation[] = {
    {IDC_LOCATION_NAME, K::Edit, "", 98, 64, 84, 12, kBorder | kAutoHScroll | kTabStop, 0},
    {IDC_LOCATION_SAVE, K::PushButton, "Save", 86, 85, 50, 14, kDefault | kTabStop, 0},
    {IDC_LOCATION_CLOSE, K::PushButton, "Close", 139, 85, 50, 14, kTabStop, 0},
    {IDC_LOCATION_BOX, K::ComboBox, "", 50, 7, 42, 84, kTabStop, 0},
    {IDC_LOCATION_LATITUDE, K::Edit, "", 50, 24, 42, 12, kBorder | kAutoHScroll | kTabStop, 0},
    {IDC_LOCATION_LONGITUDE, K::Edit, "", 140, 24, 42, 12, kBorder | kAutoHScroll | kTabStop, 0},
    {IDC_ZONE_BOX, K::ComboBox, "", 50, 40, 132, 69, kSort | kVScroll | kTabStop, 0},
    {IDC_SLOT_BOX, K::ComboBox, "", 50, 64, 42, 74, kTabStop, 0},
    {-1, K::Static, "Location:", 12, 10, 31, 8, 0, 0},
    {-1, K::Static, "Latitude:", 12, 27, 28, 8, 0, 0},
    {-1, K::Static, "Longitude:", 102, 27, 35, 8, 0, 0},
    {-1, K::Static, "Time Zone:", 12, 43, 37, 8, 0, 0},
    {-1, K::Static, "Name:", 12, 66, 21, 8, 0, 0},
    {-1, K::GroupBox, "Save As", 7, 54, 182, 28, 0, 0},
};

const DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, "About Lumen Almanac", 274, 126, kFont, 8, kDlgSysMenu, kAbout, std::size(kAbout)},
    {IDD_REPORT, "Report", 328, 128, kFont, 8, 0, kReport, std::size(kReport)},
    {IDD_DATES, "Dates", 328, 128, kFont, 8, 0, kDates, std::size(kDates)},
    {IDD_PLACES, "Places", 328, 128, kFont, 8, 0, kPlaces, std::size(kPlaces)},
    {IDD_OPTIONS, "Options", 328, 128, kFont, 8, 0, kOptions, std::size(kOptions)},
    {IDD_NOTES, "Notes For The Day", 252, 125, kFont, 8, kDlgSysMenu | kDlgModalFrame, kNotes,
     std::size(kNotes)},
    {IDD_LOCATION, "Set Location of Interest", 196, 106, kFont, 8,
     kDlgSysMenu | kDlgModalFrame | kDlgContextHelp, kLocation, std::size(kLocation)},
    {IDD_INFO, "Info", 328, 128, kFont, 8, 0, kInfo, std::size(kInfo)},
};

const MenuItemTemplate kMainMenu[] = {
    {ID_HELP, "&What's This?"},
    {0, nullptr},
    {IDM_ABOUTBOX, "&About Lumen Almanac"},
};

const MenuItemTemplate kReportMenu[] = {
    {ID_EDIT_NOTES, "&Edit Notes..."}, {ID_EDIT_COPY, "&Copy"}, {ID_EDIT_SELECT_ALL, "Select &All"},
    {0, nullptr},                      {ID_HELP, "&What's This?"},
};

const MenuItemTemplate kDatesMenu[] = {
    {ID_EDIT_NOTES, "&Edit Notes..."}, {ID_SHOW_QUOTATIONS, "Show &Quotations"},
    {ID_EDIT_COPY, "&Copy"},           {ID_EDIT_SELECT_ALL, "Select &All"},
    {0, nullptr},                      {ID_HELP, "&What's This?"},
};

const MenuItemTemplate kNotesMenu[] = {
    {ID_NOTES_TODAY, "&Today"},
    {0, nullptr},
    {ID_NOTES_NEXT_DAY, "&Next Day"},
    {ID_NOTES_NEXT_WEEK, "Ne&xt Week"},
    {0, nullptr},
    {ID_NOTES_PREVIOUS_DAY, "&Previous Day"},
    {ID_NOTES_PREVIOUS_WEEK, "P&revious Week"},
    {0, nullptr},
    {ID_HELP, "&What's This?"},
};

const MenuItemTemplate kMapMenu[] = {
    {ID_SAVE_LOCATION, "&Save Location..."},
    {ID_HELP, "&What's This?"},
};

const MenuTemplate kMenus[] = {
    {IDR_REPORT_MENU, kReportMenu, std::size(kReportMenu)},
    {IDR_DATES_MENU, kDatesMenu, std::size(kDatesMenu)},
    {IDR_NOTES_MENU, kNotesMenu, std::size(kNotesMenu)},
    {IDR_MAP_MENU, kMapMenu, std::size(kMapMenu)},
    {IDR_MAINFRAME, kMainMenu, std::size(kMainMenu)},
};

const UiResources kResources = {
    kDialogs, std::size(kDialogs), kMenus, std::size(kMenus),
    ":/orrery/bitmap%1.bmp", ":/orrery/icon%1.png",
};

}  // namespace

// The pictures are compiled into a static library: register them explicitly.
static void InitPictures() { Q_INIT_RESOURCE(orrery); }

const UiResources& OrreryUiResources() {
  static const bool initialised = (InitPictures(), true);
  (void)initialised;
  return kResources;
}
