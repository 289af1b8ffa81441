#include "platform/registry.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string QueryString(HKEY key, const std::string& name) {
  uint8_t buffer[256];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  if (RegQueryValueEx(key, name, &type, buffer, &size) != ERROR_SUCCESS || type != REG_SZ) return "<none>";
  return std::string(reinterpret_cast<char*>(buffer), strnlen(reinterpret_cast<char*>(buffer), size));
}

long SetString(HKEY key, const std::string& name, const std::string& text) {
  return RegSetValueEx(key, name, REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                       static_cast<uint32_t>(text.size() + 1));
}

std::vector<std::string> SubKeys(HKEY key) {
  std::vector<std::string> names;
  std::string name;
  for (uint32_t i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i) names.push_back(name);
  return names;
}

// A read-only subtree with one key holding one value.
class FixedProvider : public RegProvider {
public:
  bool KeyExists(const std::string& path) override { return path.empty() || RegNameEquals(path, "Zone A"); }
  std::vector<std::string> SubKeys(const std::string& path) override {
    return path.empty() ? std::vector<std::string>{"Zone A"} : std::vector<std::string>{};
  }
  std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) override {
    if (RegNameEquals(path, "Zone A") && RegNameEquals(name, "Display")) return RegValue{REG_SZ, {'A', 0}};
    return std::nullopt;
  }
};

}  // namespace

TEST(Registry, StoresValuesWithTheirTypesAndSizes) {
  TempRegistry reg;
  HKEY key = nullptr;
  uint32_t disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Test\\App", KEY_ALL_ACCESS, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  ASSERT_EQ(SetString(key, "Name", "Ann"), ERROR_SUCCESS);
  const uint8_t dword[4] = {0x2A, 0, 0, 0};
  ASSERT_EQ(RegSetValueEx(key, "Count", REG_DWORD, dword, 4), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key, "Bad", REG_DWORD, dword, 3), ERROR_INVALID_PARAMETER);

  uint32_t type = 0, size = 0;
  ASSERT_EQ(RegQueryValueEx(key, "Name", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 4u);  // the terminating zero is stored
  uint8_t small[2];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, "Name", &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  uint8_t out[4] = {};
  size = 4;
  ASSERT_EQ(RegQueryValueEx(key, "Count", &type, out, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(out[0], 0x2A);
  EXPECT_EQ(RegQueryValueEx(key, "Missing", &type, out, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);

  // The values survive closing the hive.
  RegResetForTesting();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test\\App", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "Name"), "Ann");
  RegCloseKey(key);
}

TEST(Registry, NamesAreCaseInsensitiveAndCasePreserving) {
  TempRegistry reg;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Vendor\\QFile0", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "Path", "/a"), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "PATH", "/b"), ERROR_SUCCESS);  // the same value
  RegCloseKey(key);

  uint32_t disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "software\\VENDOR\\qfile0", KEY_ALL_ACCESS, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(QueryString(key, "path"), "/b");
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\vendor", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(SubKeys(key), std::vector<std::string>{"QFile0"});
  RegCloseKey(key);
}

TEST(Registry, EnumeratesSubkeysInStableOrder) {
  TempRegistry reg;
  HKEY root = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Order", KEY_ALL_ACCESS, &root), ERROR_SUCCESS);
  for (const char* name : {"beta", "Alpha", "gamma", "Delta"}) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyEx(root, name, KEY_ALL_ACCESS, &k), ERROR_SUCCESS);
    RegCloseKey(k);
  }
  EXPECT_EQ(SubKeys(root), (std::vector<std::string>{"Alpha", "beta", "Delta", "gamma"}));
  std::string name;
  EXPECT_EQ(RegEnumKeyEx(root, 4, &name), ERROR_NO_MORE_ITEMS);

  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software"), ERROR_ACCESS_DENIED);  // has subkeys
  EXPECT_EQ(RegDeleteKey(root, "beta"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(root, "beta"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SubKeys(root), (std::vector<std::string>{"Alpha", "Delta", "gamma"}));
  RegCloseKey(root);
}

TEST(Registry, AccessRightsOfAHandleAreEnforced) {
  TempRegistry reg;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\R", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\R", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(SetString(key, "x", "y"), ERROR_ACCESS_DENIED);
  HKEY child = nullptr;
  EXPECT_EQ(RegCreateKeyEx(key, "child", KEY_READ, &child), ERROR_ACCESS_DENIED);
  EXPECT_EQ(child, nullptr);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nothing", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
}

TEST(Registry, ReadOnlyHiveRefusesWriteAccessButStillReads) {
  TempRegistry reg;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Kept", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "v", "old"), ERROR_SUCCESS);
  RegCloseKey(key);

  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, true);
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_READ | KEY_WRITE, &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\New", KEY_READ, &key), ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Kept", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "v"), "old");
  RegCloseKey(key);
  // The other hive is unaffected.
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\New", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST(Registry, MountedSubtreeIsReadOnlyAndVisibleFromItsParents) {
  TempRegistry reg;
  RegMount(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Zones", std::make_shared<FixedProvider>());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(SubKeys(key), std::vector<std::string>{"Zones"});
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\vendor\\zones\\zone a", KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "Display"), "A");
  EXPECT_EQ(SetString(key, "Display", "B"), ERROR_ACCESS_DENIED);  // no write right asked
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Zones\\Zone A", KEY_WRITE, &key),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Zones\\Zone B", KEY_READ, &key),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Zones"), ERROR_ACCESS_DENIED);

  RegMount(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Zones", nullptr);
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Zones", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, ProcessesWritingOneNewHiveAtOnceLoseNothing) {
  TempRegistry reg;
  constexpr int kValues = 200;
  auto writer = [&](const char* prefix) {
    for (int i = 0; i < kValues; ++i) {
      HKEY key = nullptr;
      if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Shared", KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
      const bool ok = SetString(key, prefix + std::to_string(i), std::to_string(i)) == ERROR_SUCCESS;
      RegCloseKey(key);
      if (!ok) return false;
    }
    return true;
  };
  RegResetForTesting();  // each process opens the hive itself
  pid_t children[3];
  const char* prefixes[3] = {"a", "b", "c"};
  for (int c = 0; c < 3; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) _exit(writer(prefixes[c]) ? 0 : 1);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Shared", KEY_READ, &key), ERROR_SUCCESS);
  int found = 0;
  for (const char* prefix : prefixes)
    for (int i = 0; i < kValues; ++i) found += QueryString(key, prefix + std::to_string(i)) == std::to_string(i);
  EXPECT_EQ(found, 3 * kValues);
  RegCloseKey(key);
}
