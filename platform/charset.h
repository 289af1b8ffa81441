// Conversion of 16-bit texts to the user's 8-bit character set.
#pragma once

#include <string>

// UTF-16 code units to the charset of the user's locale ($LC_ALL, $LC_CTYPE,
// $LANG); a locale without one (C, POSIX) falls back to UTF-8, the system's
// default. Characters the charset lacks become '?', as do lone surrogates.
std::string Utf16ToAnsi(const std::u16string& text);
