// The read-only time zone database, served under
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Time Zones.
#pragma once

#include "platform/registry.h"

#include <memory>
#include <string>

// The provider of the "Time Zones" key, or null when no zone data is found.
std::shared_ptr<RegProvider> MakeTimeZoneProvider();

// The same from other files: CLDR's windowsZones.xml and a folder of TZif
// zone files. Null when the first is missing; zones without a readable
// zone file are left out.
std::shared_ptr<RegProvider> MakeTimeZoneProvider(const std::string& windowsZonesXml,
                                                  const std::string& zoneInfoDir);
