// Identifiers of the framework's standard commands, buttons and help calls.
#pragma once

enum : unsigned {
  IDOK = 1,
  IDCANCEL = 2,
  IDYES = 6,
  IDRETRY = 4,
  IDNO = 7,

  ID_EDIT_COPY = 57634,
  ID_EDIT_SELECT_ALL = 57642,
  ID_HELP_FINDER = 57667,  // a page's "&Help" button
  ID_HELP = 57670,         // help on the current context ("&What's This?")

  // System commands.
  SC_SIZE = 0xF000,
  SC_MOVE = 0xF010,
  SC_MINIMIZE = 0xF020,
  SC_MAXIMIZE = 0xF030,
  SC_CLOSE = 0xF060,
  SC_RESTORE = 0xF120,
  SC_CONTEXTHELP = 0xF180,
};

// Help calls.
enum HelpCommand : unsigned {
  HELP_CONTEXT = 0x0001,
  HELP_QUIT = 0x0002,
  HELP_CONTEXTPOPUP = 0x0008,
  HELP_FINDER = 0x000B,
};

// Message box types and icons.
enum : unsigned {
  MB_OK = 0x0000,
  MB_OKCANCEL = 0x0001,
  MB_YESNOCANCEL = 0x0003,
  MB_YESNO = 0x0004,
  MB_RETRYCANCEL = 0x0005,
  MB_ICONERROR = 0x0010,
  MB_ICONQUESTION = 0x0020,
  MB_ICONWARNING = 0x0030,
  MB_ICONINFORMATION = 0x0040,
};
