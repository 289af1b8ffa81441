#include "orrery/app/day_check.h"
#include "orrery/app/run_key.h"
#include "orrery/app/settings_store.h"
#include "platform/autostart.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace {

const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\run";

// A registry and an autostart folder of the test's own.
class RunKeyTest : public ::testing::Test {
protected:
  RunKeyTest() : oldConfig(std::getenv("XDG_CONFIG_HOME")) {
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  }
  ~RunKeyTest() override { setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1); }

  static long Set(const std::string& name, const std::string& text, bool withZero = true) {
    HKEY key = nullptr;
    long rc = RegOpenKeyEx(HKEY_CURRENT_USER, kRunKey, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegSetValueEx(key, name, REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                       static_cast<uint32_t>(text.size() + (withZero ? 1 : 0)));
    RegCloseKey(key);
    return rc;
  }
  // The value's bytes, or "<none>".
  static std::string Get(const std::string& name = "Orrery") {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kRunKey, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    uint8_t buffer[1000];
    uint32_t size = sizeof buffer;
    const long rc = RegQueryValueEx(key, name, nullptr, buffer, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(reinterpret_cast<char*>(buffer), size) : "<none>";
  }
  static std::string Today() { return std::to_string(CDateTime::GetCurrentTime().GetDayOfYear()); }

  TempDir config;
  std::string oldConfig;
  TempRegistry reg;
  CSettingsApp app{"Orrery"};
};

TEST_F(RunKeyTest, StartCommandIsTheProgramBesideThisOne) {
  EXPECT_EQ(CRunKey().StartCommand(), PathDirectory(GetModuleFileName()) + "Orrery");
}

TEST_F(RunKeyTest, ApplyMovesBetweenTheThreeModes) {
  CRunKey run;
  const std::string command = run.StartCommand();
  EXPECT_EQ(run.GetState(), 0);
  EXPECT_TRUE(run.Apply(0));
  EXPECT_FALSE(FileExists(AutostartEntryPath()));

  EXPECT_TRUE(run.Apply(1));
  EXPECT_EQ(run.GetState(), 1);
  EXPECT_EQ(Get(), command + " " + Today() + std::string(1, '\0'));
  EXPECT_TRUE(FileExists(AutostartEntryPath()));

  Set("Orrery", command + " 7");  // an older day: kept by Apply(1)
  CRunKey daily;
  EXPECT_EQ(daily.GetState(), 1);
  EXPECT_TRUE(daily.Apply(1));
  EXPECT_EQ(Get(), command + " 7" + std::string(1, '\0'));

  EXPECT_TRUE(daily.Apply(2));
  EXPECT_EQ(daily.GetState(), 2);
  EXPECT_EQ(Get(), command + std::string(1, '\0'));
  EXPECT_EQ(CRunKey().GetState(), 2);

  EXPECT_TRUE(daily.Apply(0));
  EXPECT_EQ(daily.GetState(), 0);
  EXPECT_EQ(Get(), "<none>");
  EXPECT_FALSE(FileExists(AutostartEntryPath()));
  EXPECT_FALSE(daily.Apply(3));
}

TEST_F(RunKeyTest, StateFollowsTheEntrysLastCharacter) {
  const struct { std::string text; int state; } cases[] = {
      {"/opt/tools/app 2", 1},        // written by hand, ends in a version number
      {"/opt/Orrery.EXE", 2},
      {"/opt/Orrery 45 --quiet", 2},
      {"", 2},
      {std::string(148, 'a') + "1", 1},  // 149 characters and the zero fit
      {std::string(149, 'a') + "1", 0},  // 150 and the zero do not
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Set("Orrery", c.text), ERROR_SUCCESS);
    CRunKey run;
    EXPECT_EQ(run.GetState(), c.state) << c.text;
    if (c.state == 0) {  // reads as none, so Apply(0) leaves it alone
      EXPECT_TRUE(run.Apply(0));
      EXPECT_EQ(Get(), c.text + std::string(1, '\0'));
    }
  }
}

TEST_F(RunKeyTest, TheEntryIsADesktopFileThatStartsTheProgram) {
  // A program in a folder whose name needs quoting, started with its day number.
  const std::string folder = config.file("My $HOME \"odd\" 100% `dir` \\ here");
  std::filesystem::create_directories(folder);
  const std::string program = folder + "/Orrery";
  const std::string out = config.file("args");
  WriteFileBytes(program, "#!/bin/sh\nprintf '%s|' \"$@\" > '" + out + "'\n");
  chmod(program.c_str(), 0755);
  const std::string value = program + " 45";
  ASSERT_EQ(Set("orrery", value), ERROR_SUCCESS);
  EXPECT_EQ(Get("ORRERY"), value + std::string(1, '\0'));

  const std::string entry = ReadFileBytes(AutostartEntryPath());
  EXPECT_NE(entry.find("[Desktop Entry]\nType=Application\nName=Orrery\n"), std::string::npos);
  const auto exec = entry.find("\nExec=") + 6;
  std::string line = entry.substr(exec, entry.find('\n', exec) - exec);
  // Undo the string escapes and the %% of the entry, then let a shell run it:
  // quoting inside double quotes is the same for both.
  std::string command;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) command += line[++i] == 's' ? ' ' : line[i];
    else if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') command += line[i++];
    else command += line[i];
  }
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(ReadFileBytes(out), "45|");

  // Unquoted paths with blanks and no program there: the trailing number is the argument.
  EXPECT_EQ(SplitRunCommand("/no/such dir/Orrery 45"),
            (std::vector<std::string>{"/no/such dir/Orrery", "45"}));
  EXPECT_EQ(SplitRunCommand("/no/such dir/Orrery"),
            (std::vector<std::string>{"/no/such dir/Orrery"}));
  EXPECT_EQ(SplitRunCommand(program + " 45 x"), (std::vector<std::string>{program, "45", "x"}));
}

TEST_F(RunKeyTest, TheEntryIsNeverWrittenThroughAPlantedLink) {
  const std::string entry = AutostartEntryPath();
  std::filesystem::create_directories(std::filesystem::path(entry).parent_path());
  const std::string victim = config.file("victim");
  WriteFileBytes(victim, "mine");
  std::filesystem::create_symlink(victim, entry + ".new");
  ASSERT_EQ(Set("Orrery", "/opt/Orrery 45"), ERROR_SUCCESS);
  EXPECT_EQ(ReadFileBytes(victim), "mine");
  EXPECT_TRUE(std::filesystem::is_symlink(entry + ".new"));
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(entry)));
  EXPECT_NE(ReadFileBytes(entry).find("Exec="), std::string::npos);
  // No temporary is left beside the entry.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(entry).parent_path()))
    files += e.path().filename().string().rfind("Orrery.desktop.", 0) == 0 ? 1 : 0;
  EXPECT_EQ(files, 1);  // the planted link only
}

TEST_F(RunKeyTest, OnlyOrrerysValueIsServed) {
  EXPECT_EQ(Set("Other", "/bin/true"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Set("Orrery", "two\nlines"), ERROR_INVALID_PARAMETER);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kRunKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  HKEY sub = nullptr;
  EXPECT_NE(RegCreateKeyEx(key, "Sub", KEY_ALL_ACCESS, &sub), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(key, "Orrery"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  EXPECT_FALSE(FileExists(AutostartEntryPath()));

  // An entry made by another tool reads as the command it runs.
  std::filesystem::create_directories(config.file("autostart"));
  WriteFileBytes(AutostartEntryPath(),
                 "[Desktop Entry]\nType=Application\nName=Orrery\nExec=\"/opt/my dir/Orrery\" 12 %U\n");
  EXPECT_EQ(Get(), std::string("/opt/my dir/Orrery 12") + '\0');
  // Hidden or switched off in the desktop's settings: no entry.
  for (const char* off : {"Hidden=true", "X-GNOME-Autostart-enabled=false"}) {
    WriteFileBytes(AutostartEntryPath(), std::string("[Desktop Entry]\nExec=/opt/Orrery\n") + off + "\n");
    EXPECT_EQ(Get(), "<none>") << off;
  }
  WriteFileBytes(AutostartEntryPath(), "[Desktop Entry]\nExec=/opt/Orrery\nX-GNOME-Autostart-enabled=true\n");
  EXPECT_EQ(Get(), std::string("/opt/Orrery") + '\0');
}

TEST_F(RunKeyTest, AFolderOrPipeInTheEntrysPlaceIsNoEntry) {
  const std::string path = AutostartEntryPath();
  std::filesystem::create_directories(config.file("autostart"));
  for (const bool pipe : {false, true}) {
    std::filesystem::remove(path);
    ASSERT_EQ(pipe ? mkfifo(path.c_str(), 0600) : mkdir(path.c_str(), 0700), 0);
    CRunKey run;  // a pipe without a writer must not make this wait
    EXPECT_EQ(run.GetState(), 0) << pipe;
    EXPECT_TRUE(run.Apply(0));
    EXPECT_TRUE(std::filesystem::exists(path));
    // A pipe gives way to the entry; a folder is never put aside.
    EXPECT_EQ(run.Apply(2), pipe);
    EXPECT_EQ(run.GetState(), pipe ? 2 : 0);
    EXPECT_EQ(std::filesystem::is_regular_file(path), pipe);
  }
  std::filesystem::remove(path);
}

TEST(DayCheck, ReadsTheDayNumberAtTheStartOfTheCommandLine) {
  const struct { const char* line; std::optional<long long> day; } cases[] = {
      {"45", 45}, {"  45 and more", 45}, {"\t045", 45}, {"45abc", 45}, {"-3", -3},
      {"", std::nullopt}, {"abc", std::nullopt}, {"  x 45", std::nullopt}, {"+", std::nullopt},
      {"99999999999999999999", 9999999}};
  for (const auto& c : cases) EXPECT_EQ(CommandLineDayNumber(c.line), c.day) << c.line;
}

TEST_F(RunKeyTest, DayCheckEndsOnTheSameDayAndRefreshesADailyEntry) {
  const CDateTime feb14(2005, 2, 14, 8, 0, 0);  // day 45
  const std::string command = CRunKey().StartCommand();

  // The same day: ends without touching the registry or the autostart folder.
  {
    TempRegistry untouched;
    EXPECT_TRUE(AlreadyStartedToday("45", feb14));
    EXPECT_TRUE(std::filesystem::is_empty(untouched.path()));
    EXPECT_FALSE(std::filesystem::exists(config.file("autostart")));
  }
  const struct { std::string entry; std::string line; std::string after; } cases[] = {
      {command + " 44", "44", command + " 45"},
      {command + " 44", "45", command + " 44"},  // ends; nothing rewritten
      {command, "44", command},
      {"<none>", "44", "<none>"},
      {command + " 44", "letters", command + " 44"},
      {command + " 44", "", command + " 44"},
  };
  for (const auto& c : cases) {
    if (c.entry == "<none>") CRunKey().Apply(0);
    else Set("Orrery", c.entry);
    EXPECT_EQ(AlreadyStartedToday(c.line, feb14), c.line == "45") << c.line;
    const std::string after = Get();
    EXPECT_EQ(after, c.after == "<none>" ? c.after : c.after + std::string(1, '\0')) << c.line;
  }
}

}  // namespace
