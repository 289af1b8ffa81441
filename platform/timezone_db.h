// The read-only time zone database, served under
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Time Zones.
#pragma once

#include "platform/registry.h"

#include <memory>

// The provider of the "Time Zones" key, or null when no zone data is found.
std::shared_ptr<RegProvider> MakeTimeZoneProvider();
