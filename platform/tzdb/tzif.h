// Reader of the system's compiled zone files (TZif, RFC 8536).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tzdb {

struct LocalTimeType {
  int32_t utoff = 0;  // seconds east of UTC
  bool isdst = false;
};

struct ZoneFile {
  std::vector<int64_t> transitions;  // UTC seconds, ascending
  std::vector<uint8_t> typeIndex;    // type in force from each transition on
  std::vector<LocalTimeType> types;
  std::string footer;                // POSIX TZ string for times after the table; may be empty
};

// Parses the bytes of a zone file; nothing when they are not a sound TZif file.
std::optional<ZoneFile> ParseZoneFile(const std::string& bytes);
// Reads and parses a file.
std::optional<ZoneFile> ReadZoneFile(const std::string& path);

}  // namespace tzdb
