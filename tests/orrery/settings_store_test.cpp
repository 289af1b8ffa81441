#include "orrery/app/settings_store.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(root, path, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

const char* const kUserRoot = "Software\\Vantrel Software\\Lumen Almanac\\Orrery";
const char* const kMachineRoot = "Software\\Vantrel Software\\Lumen Almanac\\Orrery";

}  // namespace

TEST(SettingsStore, NamesComeFromTheStringTableAndTheProgram) {
  TempRegistry reg;
  CSettingsApp named("Orrery");
  EXPECT_EQ(named.GetRegistryKey(), "Vantrel Software\\Lumen Almanac");
  EXPECT_EQ(GetSettingsApp(), &named);
  CSettingsApp unnamed;
  EXPECT_EQ(unnamed.GetProfileName(), "settings_tests");  // the executable's name
}

TEST(SettingsStore, PerUserProfileDefaultsAndRoundTrips) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  EXPECT_EQ(app.GetProfileInt("WindowPos", "left", -1), -1);
  EXPECT_EQ(app.GetProfileString("Options", "Name", ""), "");
  // Reading opens, and so creates, the section key.
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kUserRoot) + "\\WindowPos"));

  EXPECT_TRUE(app.WriteProfileInt("Options", "Quote", 3));
  EXPECT_TRUE(app.WriteProfileInt("WindowPos", "left", -20));
  EXPECT_TRUE(app.WriteProfileString("Options", "Name", "Ann Smith"));
  EXPECT_EQ(app.GetProfileInt("options", "QUOTE", 0), 3);
  EXPECT_EQ(app.GetProfileInt("WindowPos", "left", -1), -20);
  EXPECT_EQ(app.GetProfileString("Options", "Name", "x"), "Ann Smith");
  // A value of the wrong type reads as the default.
  EXPECT_EQ(app.GetProfileInt("Options", "Name", 9), 9);
  EXPECT_EQ(app.GetProfileString("Options", "Quote", "d"), "d");

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, std::string(kUserRoot) + "\\Options", KEY_READ, &key), ERROR_SUCCESS);
  uint32_t type = 0, size = 0;
  ASSERT_EQ(RegQueryValueEx(key, "Name", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 10u);  // nine characters and the terminating zero
  ASSERT_EQ(RegQueryValueEx(key, "Quote", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  RegCloseKey(key);
}

TEST(SettingsStore, MachineProfileReadsUpTo149Characters) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  struct Case { size_t length; bool readBack; };
  for (const Case c : {Case{0, true}, Case{1, true}, Case{149, true}, Case{150, false}, Case{400, false}}) {
    const std::string text(c.length, 'p');
    EXPECT_TRUE(app.WriteMachineProfileString("QFile1", "Path", text));
    EXPECT_EQ(app.GetMachineProfileString("QFile1", "Path", "default"), c.readBack ? text : "default")
        << c.length;
  }
  EXPECT_EQ(app.GetMachineProfileString("QFile1", "Missing", "d"), "d");
}

TEST(SettingsStore, MachineReadCreatesTheChainButNoSection) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMachineRoot));
  EXPECT_EQ(app.GetMachineProfileString("Location3", "Name", "Location3"), "Location3");
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kMachineRoot));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMachineRoot) + "\\Location3"));
  EXPECT_TRUE(app.WriteMachineProfileString("Location3", "Name", "Oslo"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kMachineRoot) + "\\Location3"));
}

TEST(SettingsStore, UnwritableMachineHiveGivesDefaultsAndFailedWrites) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  ASSERT_TRUE(app.WriteMachineProfileString("Location0", "Name", "Home"));
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, true);
  EXPECT_EQ(app.GetMachineAppKey(), nullptr);
  EXPECT_EQ(app.GetMachineProfileString("Location0", "Name", ""), "");  // the stored one is out of reach
  EXPECT_FALSE(app.WriteMachineProfileString("Location0", "Name", "Away"));
  // The per-user profile is unaffected.
  EXPECT_TRUE(app.WriteProfileInt("Options", "Sun", 0));
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, false);
  EXPECT_EQ(app.GetMachineProfileString("Location0", "Name", ""), "Home");
}

TEST(SettingsStore, MachineHiveThatOnlyReadsGivesItsValuesAndNoReadError) {
  TempRegistry reg;
  {
    CSettingsApp app("Orrery");
    ASSERT_TRUE(app.WriteMachineProfileString("QFile0", "Path", "/quotes"));
  }
  RegResetForTesting();  // the child opens the hive itself
  const pid_t pid = fork();
  if (pid == 0) {
    // Files may not grow here, as on a full disk: the hive reads, but
    // writes and new keys fail.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    CSettingsApp app("Orrery");
    bool ok = app.GetMachineProfileString("QFile0", "Path", "") == "/quotes" && app.GetMachineReadError().empty();
    CSettingsApp other("Adagio");  // its chain is missing and cannot be made
    ok = ok && other.GetMachineProfileString("QFile0", "Path", "d") == "d" && other.GetMachineReadError().empty();
    ok = ok && !app.WriteMachineProfileString("QFile0", "Path", "/new") &&
         RegLastErrorText().find("machine.db' cannot be written") != std::string::npos;
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
