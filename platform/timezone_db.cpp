#include "platform/timezone_db.h"

std::shared_ptr<RegProvider> MakeTimeZoneProvider() { return nullptr; }
