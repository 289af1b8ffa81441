// Adagio's dialog, control, bitmap, icon and command numbers.
#pragma once

// Dialog templates, bitmaps and icons.
enum : unsigned {
  IDD_ABOUTBOX = 200,
  IDD_GENERATOR = 202,
  IDR_MAINFRAME = 217,  // the window icon
  IDB_ABOUT = 218,      // the About box's picture
};

// Items of the window's own menu (its system menu).
enum : unsigned {
  IDM_ABOUTBOX = 0x10,
  IDM_CHOOSE_EDITOR = 0x20,
};

// Controls.
enum : int {
  IDC_EXIT = 1,  // IDOK: closes the window
  IDC_NEW = 2001,
  IDC_EDIT = 2002,
  IDC_STATUS = 2003,
  IDC_NAME = 2005,
  IDC_GENERATE = 2006,
  IDC_CREDITS = 2010,
  IDC_HELP = 57670,  // ID_HELP

  // About box.
  IDC_ABOUT_TITLE = 205,
  IDC_ABOUT_EDITOR = 207,
  IDC_ABOUT_SUBTITLE = 2009,
};
