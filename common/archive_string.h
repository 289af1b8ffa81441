// The length-prefixed text encoding used by every file of the system.
#pragma once

#include "platform/archive.h"

#include <string>

// Writes text in 8-bit form: a 1-, 3- or 7-byte length prefix, then the bytes.
void WriteArchiveString(CArchive& ar, const std::string& text);
// Reads 8- and 16-bit forms; 16-bit texts come back in the user's 8-bit
// charset. The text is cut at its first zero. Throws CArchiveException.
std::string ReadArchiveString(CArchive& ar);
