// Orrery's string table.
#pragma once

#include "platform/strings.h"

const CStringTable& OrreryStringTable();
