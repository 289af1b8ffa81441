// The Windows zone ids, their display texts and their IANA zones, from
// CLDR's windowsZones.xml (the "001" territory of each id).
#pragma once

#include <string>
#include <vector>

namespace tzdb {

struct WindowsZone {
  std::string id;       // "Eastern Standard Time"
  std::string display;  // "(UTC-05:00) Eastern Time (US & Canada)", or empty
  std::string iana;     // "America/New_York"
};

constexpr const char* kWindowsZonesPath = "/usr/share/unicode/cldr/common/supplemental/windowsZones.xml";

// The zones in the order of the text; an id given twice keeps its first entry.
std::vector<WindowsZone> ParseWindowsZones(const std::string& xml);
// Reads and parses a file; empty when it cannot be read.
std::vector<WindowsZone> ReadWindowsZones(const std::string& path = kWindowsZonesPath);

}  // namespace tzdb
