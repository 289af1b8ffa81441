// Month records: any bytes load or throw the archive's error; a loaded month
// stores and loads back to the same days.
#include "common/month.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"

namespace {
bool Load(const std::string& path, CMonth& month) {
  CFile file;
  FUZZ_CHECK(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
  CArchive ar(&file, CArchive::load);
  try {
    month.Serialize(ar);
    return true;
  } catch (const CArchiveException&) {
    return false;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteScratch("month.bin", data, size);
  CMonth month;
  if (!Load(path, month)) return 0;
  FUZZ_CHECK(!month.IsModified());

  const std::string copy = ScratchDir() + "month-copy.bin";
  {
    CFile file;
    FUZZ_CHECK(file.Open(copy, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    CArchive ar(&file, CArchive::store);
    month.Serialize(ar);
    ar.Close();
  }
  CMonth back;
  FUZZ_CHECK(Load(copy, back));
  for (int day = 1; day <= CMonth::kDays; ++day) {
    FUZZ_CHECK(back.GetDayText(day) == month.GetDayText(day));
    FUZZ_CHECK(back.GetDayValue(day) == month.GetDayValue(day));
  }
  return 0;
}
