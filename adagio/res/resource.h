// Adagio's resource numbers.
#pragma once

// Strings
enum : unsigned {
  IDS_ABOUT_MENU = 201,            // "&About Quote Generator" (system menu item)
  IDS_WINDOW_TITLE = 203,          // "Lumen Quote File Generator"
  IDS_REGISTRY_KEY_ADAGIO = 204,   // "Vantrel Software\Lumen Almanac"
  IDS_CANNOT_START_EDITOR = 210,
  IDS_SELECT_SOURCE = 211,
  IDS_SOURCE_INACCESSIBLE = 212,
  IDS_SOURCE_READY = 213,
  IDS_NO_TITLES = 214,
  IDS_QUOTE_FILE_INACCESSIBLE = 215,
  IDS_CHOOSE_EDITOR_MENU = 216,    // "Choose your &word processor..." (system menu item)
};
