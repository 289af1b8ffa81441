// The XDG base directories.
#pragma once

#include <string>

// $XDG_CONFIG_HOME, else $HOME/.config (else /tmp/.config without a home).
std::string XdgConfigHome();
// $XDG_DATA_HOME, else $HOME/.local/share.
std::string XdgDataHome();
// Creates dir and its missing parents (mode 0700); true if it exists after.
bool MakeDirectories(const std::string& dir);
