// The registry in the regedit text format: "Windows Registry Editor Version
// 5.00", then [HKEY_...\path] key lines, each followed by its values
// ("name"="text", "name"=dword:0000002a, "name"=hex:01,02, @ for the default).
#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kRegFileHeader = "Windows Registry Editor Version 5.00";

struct RegFileValue {
  std::string name;
  uint32_t type = REG_NONE;
  std::vector<uint8_t> data;
};

struct RegFileKey {
  HKEY root = nullptr;
  std::string path;  // below the root, '\'-separated; "" for the root itself
  int line = 0;      // where the key line stands in the file
  std::vector<RegFileValue> values;
};

// "HKEY_CURRENT_USER\a\b" (or HKCU, HKLM) split into root and path; false
// for another root.
bool SplitKeyName(const std::string& name, HKEY* root, std::string* path);
std::string RootName(HKEY root);

// One value line (lines after the first indented by two blanks).
std::string FormatRegValue(const RegFileValue& value);

// The key and everything below it, as key blocks, read from one state of
// the hive; read-only subtrees (such as the mounted time zone database) are
// left out unless the key itself is one. False, with error set and nothing
// added to out, when the key does not exist, the hive has failed
// (RegHiveFailure) or any part cannot be read.
bool ExportRegistry(HKEY root, const std::string& path, std::string* out, std::string* error);

// Checks and reads a whole file; on the first fault error is "line N: ...".
bool ParseRegFile(const std::string& text, std::vector<RegFileKey>* keys, std::string* error);

// Whether the key lies in a read-only subtree of a writable hive.
bool IsReadOnlySubtree(HKEY root, const std::string& path);

// Creates the keys and sets the values, skipping keys of read-only subtrees
// (their names are added to skipped), in one transaction per hive. False,
// with error set (naming the file and the reason when the storage refused),
// when the registry refuses a write; then nothing was changed, unless the
// error says that the per-user part was imported.
bool ApplyRegFile(const std::vector<RegFileKey>& keys, std::vector<std::string>* skipped,
                  std::string* error);
