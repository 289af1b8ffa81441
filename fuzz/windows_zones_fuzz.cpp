// The Windows zone table: any text gives a list of zones without a crash,
// each id once.
#include "fuzz/fuzz_check.h"
#include "platform/tzdb/windows_zones.h"

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string xml(reinterpret_cast<const char*>(data), size);
  std::set<std::string> ids;
  for (const tzdb::WindowsZone& zone : tzdb::ParseWindowsZones(xml))
    FUZZ_CHECK(ids.insert(zone.id).second);
  return 0;
}
