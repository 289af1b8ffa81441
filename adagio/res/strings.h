// Adagio's string table.
#pragma once

#include "platform/strings.h"

#include <string>

const CStringTable& AdagioStringTable();
// The text of id in Adagio's table, whichever application object is current.
std::string AdagioString(unsigned id);
