#include "platform/registry.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Entry {
  std::string name;
  uint32_t type;
  std::vector<uint8_t> data;
};

std::vector<Entry> EnumAll(HKEY key) {
  std::vector<Entry> out;
  for (uint32_t i = 0;; ++i) {
    Entry e;
    const long rc = RegEnumValue(key, i, &e.name, &e.type, &e.data);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    EXPECT_EQ(rc, ERROR_SUCCESS);
    if (rc != ERROR_SUCCESS) break;
    out.push_back(e);
  }
  return out;
}

// A read-only subtree whose key "Zone" holds two values.
class ListingProvider : public RegProvider {
public:
  bool KeyExists(const std::string& path) override { return path.empty() || path == "Zone"; }
  std::vector<std::string> SubKeys(const std::string& path) override {
    return path.empty() ? std::vector<std::string>{"Zone"} : std::vector<std::string>{};
  }
  std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) override {
    if (path != "Zone") return std::nullopt;
    if (name == "Std") return RegValue{REG_SZ, {'S', 0}};
    if (name == "TZI") return RegValue{REG_BINARY, {1, 2, 3}};
    return std::nullopt;
  }
  std::vector<std::string> ValueNames(const std::string& path) override {
    return path == "Zone" ? std::vector<std::string>{"TZI", "Std"} : std::vector<std::string>{};
  }
};

class SilentProvider : public ListingProvider {
public:
  std::vector<std::string> ValueNames(const std::string&) override { return {}; }
};

TEST(RegEnumValue, ListsHiveValuesByNameWithTypeAndData) {
  TempRegistry registry;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Test", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  const uint8_t dword[4] = {42, 0, 0, 0};
  const uint8_t text[3] = {'h', 'i', 0};
  const uint8_t blob[2] = {0xFF, 0x00};
  ASSERT_EQ(RegSetValueEx(key, "beta", REG_DWORD, dword, 4), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "Alpha", REG_SZ, text, 3), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "gamma", REG_BINARY, blob, 2), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "", REG_SZ, text, 3), ERROR_SUCCESS);  // the default value

  const std::vector<Entry> all = EnumAll(key);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].name, "");
  EXPECT_EQ(all[1].name, "Alpha");
  EXPECT_EQ(all[1].type, REG_SZ);
  EXPECT_EQ(all[1].data, std::vector<uint8_t>(text, text + 3));
  EXPECT_EQ(all[2].name, "beta");
  EXPECT_EQ(all[2].type, REG_DWORD);
  EXPECT_EQ(all[2].data, std::vector<uint8_t>(dword, dword + 4));
  EXPECT_EQ(all[3].name, "gamma");
  EXPECT_EQ(all[3].data, std::vector<uint8_t>(blob, blob + 2));

  // Null outputs are allowed; a deleted value leaves the listing.
  EXPECT_EQ(RegEnumValue(key, 0, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteValue(key, "alpha"), ERROR_SUCCESS);
  EXPECT_EQ(EnumAll(key).size(), 3u);
  RegCloseKey(key);

  HKEY writeOnly = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test", KEY_SET_VALUE, &writeOnly), ERROR_SUCCESS);
  EXPECT_EQ(RegEnumValue(writeOnly, 0, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  RegCloseKey(writeOnly);

  HKEY empty = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Empty", KEY_READ, &empty), ERROR_SUCCESS);
  EXPECT_EQ(RegEnumValue(empty, 0, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(empty);
}

TEST(RegEnumValue, MountedProvidersListWhatTheyName) {
  TempRegistry registry;
  const std::pair<std::shared_ptr<RegProvider>, size_t> cases[] = {
      {std::make_shared<ListingProvider>(), 2},
      {std::make_shared<SilentProvider>(), 0},  // the default: no listing
  };
  for (const auto& [provider, count] : cases) {
    RegMount(HKEY_LOCAL_MACHINE, "Software\\Mounted", provider);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Mounted\\Zone", KEY_READ, &key), ERROR_SUCCESS);
    const std::vector<Entry> all = EnumAll(key);
    ASSERT_EQ(all.size(), count);
    if (count == 2) {
      EXPECT_EQ(all[0].name, "Std");
      EXPECT_EQ(all[1].name, "TZI");
      EXPECT_EQ(all[1].type, REG_BINARY);
      EXPECT_EQ(all[1].data, (std::vector<uint8_t>{1, 2, 3}));
    }
    RegCloseKey(key);
  }
}

}  // namespace
