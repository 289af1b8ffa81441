// The regedit text reader: any text parses or fails with "line N: ...";
// parsed keys written back as text parse again to the same keys and values.
#include "fuzz/fuzz_check.h"
#include "lumen/regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<RegFileKey> keys;
  std::string error;
  if (!ParseRegFile(text, &keys, &error)) {
    FUZZ_CHECK(error.rfind("line ", 0) == 0);
    return 0;
  }

  std::string written = std::string(kRegFileHeader) + "\n\n";
  for (const RegFileKey& key : keys) {
    written += "[" + RootName(key.root) + (key.path.empty() ? "" : "\\" + key.path) + "]\n";
    for (const RegFileValue& value : key.values) written += FormatRegValue(value) + "\n";
    written += "\n";
  }
  std::vector<RegFileKey> again;
  if (!ParseRegFile(written, &again, &error)) {
    std::fprintf(stderr, "re-parse failed: %s\n--- written ---\n%s\n", error.c_str(), written.c_str());
    FUZZ_CHECK(false);
  }
  FUZZ_CHECK(again.size() == keys.size());
  for (size_t k = 0; k < keys.size(); ++k) {
    FUZZ_CHECK(again[k].root == keys[k].root);
    FUZZ_CHECK(again[k].path == keys[k].path);
    FUZZ_CHECK(again[k].values.size() == keys[k].values.size());
    for (size_t v = 0; v < keys[k].values.size(); ++v) {
      FUZZ_CHECK(again[k].values[v].name == keys[k].values[v].name);
      FUZZ_CHECK(again[k].values[v].type == keys[k].values[v].type);
      FUZZ_CHECK(again[k].values[v].data == keys[k].values[v].data);
    }
  }
  return 0;
}
