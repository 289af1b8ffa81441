// The per-user Run key, served from the XDG autostart folder.
//
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\run holds one
// value, "Orrery": a command line in the Windows manner (the program's path,
// unquoted, optionally followed by a blank and arguments). It lives in
// $XDG_CONFIG_HOME/autostart/Orrery.desktop, whose Exec= line starts the
// same program with the same arguments, quoted as desktop entries require;
// the exact value is kept beside it so that it reads back as written.
// Deleting the value deletes the file. An entry that is hidden or switched
// off in the desktop's settings, or no regular file, reads as none. Other
// values and subkeys are refused.
#pragma once

#include "platform/registry.h"

#include <memory>
#include <string>
#include <vector>

// The provider of HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\run.
std::shared_ptr<RegProvider> MakeRunKeyProvider();

// The autostart entry's file: $XDG_CONFIG_HOME/autostart/Orrery.desktop.
std::string AutostartEntryPath();

// The program and arguments of a Windows-style command line: the shortest
// run of blank-separated words that names an executable file is the
// program; failing that, a trailing number is taken as the one argument.
std::vector<std::string> SplitRunCommand(const std::string& command);
// argv quoted for a desktop entry's Exec= key (before string escaping).
std::string DesktopExecLine(const std::vector<std::string>& argv);
