// Archive strings: any bytes read as a run of strings without a crash, and
// each string read writes back in a form that reads as the same string.
#include "common/archive_string.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteScratch("strings.bin", data, size);
  std::vector<std::string> texts;
  {
    CFile file;
    FUZZ_CHECK(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
    CArchive ar(&file, CArchive::load);
    try {
      for (;;) texts.push_back(ReadArchiveString(ar));
    } catch (const CArchiveException&) {
    }
    FUZZ_CHECK(texts.size() <= size);  // every string takes at least its prefix byte
  }

  const std::string copy = ScratchDir() + "strings-copy.bin";
  {
    CFile file;
    FUZZ_CHECK(file.Open(copy, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    CArchive ar(&file, CArchive::store);
    for (const std::string& text : texts) WriteArchiveString(ar, text);
    ar.Close();
  }
  CFile file;
  FUZZ_CHECK(file.Open(copy, CFile::modeRead | CFile::shareDenyNone));
  CArchive ar(&file, CArchive::load);
  for (const std::string& text : texts) {
    const std::string back = ReadArchiveString(ar);
    // Reading cuts at the first zero, which a converted 16-bit text may hold.
    FUZZ_CHECK(back == text.substr(0, strnlen(text.c_str(), text.size())));
  }
  FUZZ_CHECK(ar.Remaining() == 0);
  return 0;
}
