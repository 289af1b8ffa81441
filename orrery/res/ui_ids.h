// Orrery's dialog, menu, control, bitmap and icon numbers.
#pragma once

// Dialog templates.
enum : unsigned {
  IDD_ABOUTBOX = 100,
  IDD_REPORT = 104,
  IDD_DATES = 105,
  IDD_PLACES = 106,
  IDD_OPTIONS = 107,
  IDD_NOTES = 133,
  IDD_INFO = 146,
};

// Menus, icons and bitmaps.
enum : unsigned {
  IDR_MAINFRAME = 128,     // icon 128 and the main window's popup menu 128
  IDR_REPORT_MENU = 114,
  IDR_DATES_MENU = 115,
  IDR_NOTES_MENU = 118,
  IDB_PICTURE = 144,
};

// Commands.
enum : unsigned {
  IDM_PERSONAL_DIRECTORY = 254,
  IDM_ABOUTBOX = 256,
  ID_EDIT_NOTES = 116,
  ID_SHOW_QUOTATIONS = 117,
  ID_NOTES_TODAY = 119,
  ID_NOTES_NEXT_DAY = 120,
  ID_NOTES_PREVIOUS_DAY = 121,
  ID_NOTES_NEXT_WEEK = 122,
  ID_NOTES_PREVIOUS_WEEK = 123,
};

// Controls.
enum : int {
  IDC_REPORT_VIEW = 1003,
  IDC_CLEAR = 1000,
  IDC_DATE_LINE = 1066,
  IDC_INFO_TEXT = 1097,
  IDC_MORE_INFO = 1090,
  IDC_QUOTE_TITLE = 1068,
  IDC_QUOTE_SUBTITLE = 1069,
  IDC_NOTES_LOCATION = 1060,
  IDC_DATED_NOTES = 1022,
  IDC_ANNUAL_NOTES = 1023,
  IDC_REMIND = 1085,
  IDC_NOTES_CLOSE = 1062,
  IDC_NOTES_CAPTION = 1021,
  IDC_DAY_OFFSET = 1065,
  IDC_DAY_SPIN = 1061,
};
