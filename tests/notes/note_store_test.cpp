#include "orrery/app/settings_store.h"
#include "orrery/notes/note_store.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// While set, chmod fails as on a FAT memory stick that cannot hold the mode.
bool g_refuseModes = false;
}  // namespace

extern "C" int chmod(const char* path, mode_t mode) {
  if (g_refuseModes) {
    errno = EPERM;
    return -1;
  }
  return static_cast<int>(syscall(SYS_fchmodat, AT_FDCWD, path, mode));
}

namespace {

CDateTime Day(int y, int m, int d) { return CDateTime(y, m, d, 12, 0, 0); }

class NoteStoreTest : public ::testing::Test {
protected:
  NoteStoreTest() { app.WriteProfileString("Schedule", "Path", dir.path()); }

  // Writes one note on each date (flagged when asked) through a store of its own.
  void Write(const CDateTime& date, const std::string& dated, const std::string& annual,
             int remind = 0) {
    CNoteStore store;
    store.SetDate(date);
    store.SetDatedText(dated);
    store.SetAnnualText(annual);
    store.SetRemind(remind);
    EXPECT_TRUE(store.SaveChanges());
  }

  TempRegistry reg;
  CSettingsApp app{"Orrery"};
  TempDir dir;
};

TEST(NoteFileNames, FollowTheYearFormat) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  const struct { int year; const char* name; } cases[] = {
      {2005, "Year2005.scd"}, {987, "Year0987.scd"}, {1, "Year0001.scd"}, {0, ""}, {-5, ""}};
  for (const auto& c : cases) EXPECT_EQ(CNoteStore::YearFileName(c.year), c.name) << c.year;
  EXPECT_EQ(CNoteStore::AnnualFileName(), "Annual.scd");
}

TEST_F(NoteStoreTest, SavesTwelveMonthsAndLoadsThemBack) {
  Write(Day(2005, 3, 5), "Dentist\r\n10:00", "Ann's birthday", 1);
  EXPECT_EQ(ReadFileBytes(dir.file("Year2005.scd")).size(), 1860u + 14u);
  EXPECT_EQ(ReadFileBytes(dir.file("Annual.scd")).size(), 1860u + 14u);

  CNoteStore store;
  store.SetDate(Day(2005, 3, 5));
  EXPECT_EQ(store.GetDatedText(), "Dentist\r\n10:00");
  EXPECT_EQ(store.GetAnnualText(), "Ann's birthday");
  EXPECT_EQ(store.GetRemind(), 1);
  store.SetDate(Day(2006, 3, 5));  // another year: no dated notes, same annual ones
  EXPECT_EQ(store.GetDatedText(), "");
  EXPECT_EQ(store.GetAnnualText(), "Ann's birthday");
  EXPECT_FALSE(FileExists(dir.file("Year2006.scd")));

  // An emptied year is 1860 bytes and still loads.
  store.SetDate(Day(2005, 3, 5));
  store.SetDatedText("");
  store.SetRemind(0);
  ASSERT_TRUE(store.SaveChanges());
  EXPECT_EQ(ReadFileBytes(dir.file("Year2005.scd")).size(), 1860u);
  CNoteStore again;
  EXPECT_TRUE(again.SetDate(Day(2005, 3, 5)));
  EXPECT_EQ(again.GetDatedText(), "");
}

TEST_F(NoteStoreTest, CorruptOrShortFilesReadAsEmptyAndStayUntouched) {
  Write(Day(2005, 1, 2), "kept?", "");
  const std::string whole = ReadFileBytes(dir.file("Year2005.scd"));
  for (const std::string& bytes : {whole.substr(0, 1859), std::string("\xff\xff\xff", 3),
                                   std::string()}) {
    WriteFileBytes(dir.file("Year2005.scd"), bytes);
    {
      CNoteStore store;
      EXPECT_FALSE(store.SetDate(Day(2005, 1, 2)));
      EXPECT_EQ(store.GetDatedText(), "");
    }
    EXPECT_EQ(ReadFileBytes(dir.file("Year2005.scd")), bytes);
  }
  // A pipe or a folder in a file's place reads as empty, without waiting.
  std::filesystem::remove(dir.file("Year2005.scd"));
  ASSERT_EQ(mkfifo(dir.file("Year2005.scd").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("Annual.scd"));
  CNoteStore store;
  EXPECT_FALSE(store.SetDate(Day(2005, 1, 2)));
  EXPECT_EQ(store.GetDatedText(), "");
  EXPECT_FALSE(store.LoadAnnualFile());
}

TEST_F(NoteStoreTest, FilesThatAreThereButCannotBeReadAreToldOnceAtLoad) {
  WriteFileBytes(dir.file("Year2005.scd"), std::string("\xff\xff\xff", 3));
  {
    CNoteStore store;
    store.SetDate(Day(2005, 1, 2));
    EXPECT_TRUE(store.TakeReadFailures().empty());  // damaged bytes are told when saved
  }
  std::filesystem::remove(dir.file("Year2005.scd"));
  ASSERT_EQ(mkfifo(dir.file("Year2005.scd").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("Annual.scd"));
  std::filesystem::create_directory(dir.file("Year2006.scd"));
  CNoteStore store;
  store.SetDate(Day(2005, 12, 30));
  store.SetDate(Day(2005, 12, 31));
  EXPECT_EQ(store.GetReminders(), "");  // reads the next year aside
  std::vector<std::pair<std::string, std::string>> told;
  for (const CNoteStore::ReadFailure& f : store.TakeReadFailures()) told.emplace_back(f.file, f.reason);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {dir.file("Annual.scd"), "it is a folder"},  // loaded first, at the store's start
      {dir.file("Year2005.scd"), "it is a pipe"},
      {dir.file("Year2006.scd"), "it is a folder"}};
  EXPECT_EQ(told, expected);
  EXPECT_TRUE(store.TakeReadFailures().empty());

  if (geteuid() != 0) {  // modes bind everyone but root
    for (const char* name : {"Year2005.scd", "Annual.scd", "Year2006.scd"})
      std::filesystem::remove(dir.file(name));
    Write(Day(2005, 1, 2), "secret", "");
    ASSERT_EQ(::chmod(dir.file("Year2005.scd").c_str(), 0), 0);
    CNoteStore refused;
    refused.SetDate(Day(2005, 1, 2));
    const auto failures = refused.TakeReadFailures();
    ASSERT_FALSE(failures.empty());
    EXPECT_EQ(failures[0].file, dir.file("Year2005.scd"));
    EXPECT_EQ(failures[0].reason, std::strerror(EACCES));
  }
}

TEST_F(NoteStoreTest, NewNotesFilesArePrivateAndAnOldFileKeepsItsMode) {
  const mode_t old = umask(022);
  auto mode = [&](const char* name) {
    struct stat st{};
    EXPECT_EQ(stat(dir.file(name).c_str(), &st), 0) << name;
    return st.st_mode & 0777;
  };
  Write(Day(2005, 7, 1), "mine", "mine too");
  EXPECT_EQ(mode("Year2005.scd"), 0600u);
  EXPECT_EQ(mode("Annual.scd"), 0600u);
  ASSERT_EQ(::chmod(dir.file("Year2005.scd").c_str(), 0640), 0);
  Write(Day(2005, 7, 2), "shared on purpose", "");
  EXPECT_EQ(mode("Year2005.scd"), 0640u);
  umask(old);
  int files = 0;  // no temporary is left behind
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    files += e.path().filename().string().find(".scd") != std::string::npos;
  EXPECT_EQ(files, 2);
}

TEST_F(NoteStoreTest, CrossingTheYearEndSavesTheOldYearAndLoadsTheNew) {
  Write(Day(2006, 1, 1), "New year", "");
  CNoteStore store;
  store.SetDate(Day(2005, 12, 31));
  store.SetDatedText("Old year's eve");
  EXPECT_TRUE(store.SetDate(Day(2006, 1, 1)));
  EXPECT_EQ(store.GetDatedText(), "New year");
  EXPECT_TRUE(store.SetDate(Day(2005, 12, 31)));
  EXPECT_EQ(store.GetDatedText(), "Old year's eve");
  EXPECT_FALSE(store.SaveFailed());
}

TEST_F(NoteStoreTest, RemindersOfTheNextFiveDaysAcrossTheYearEnd) {
  Write(Day(2005, 12, 29), "today", "", 1);           // the day itself: not listed
  Write(Day(2005, 12, 30), "Pack", "Bob's birthday", 1);
  Write(Day(2005, 12, 31), "Party", "", 0);           // not flagged
  Write(Day(2006, 1, 1), "", "New Year's Day", 1);    // annual notes alone
  Write(Day(2006, 1, 2), "", "", 1);                  // flagged but empty
  Write(Day(2006, 1, 3), "Back to work", "", 1);
  Write(Day(2006, 1, 4), "Too far", "", 1);           // sixth day
  {
    // Flagged only in the annual file (an earlier year): not listed.
    CNoteStore store;
    store.SetDate(Day(2006, 12, 31));
    store.SetAnnualText("Flagged in 2006 only");
    store.SetRemind(1);
  }
  CNoteStore store;
  store.SetDate(Day(2005, 12, 29));
  EXPECT_EQ(store.GetReminders(),
            "And Don't Forget...\r\n(Fri) - Pack\r\nBob's birthday\r\n(Sun) - New Year's Day"
            "\r\n(Tue) - Back to work");
  EXPECT_EQ(store.GetDate(), Day(2005, 12, 29));
  EXPECT_EQ(store.GetDatedText(), "today");
  store.SetDate(Day(2005, 12, 30));
  EXPECT_EQ(store.GetDatedText(), "Pack");

  store.SetDate(Day(2006, 6, 1));
  EXPECT_EQ(store.GetReminders(), "");
}

TEST_F(NoteStoreTest, FailedSavesNeverLetNotesBeReplaced) {
  TempDir other;
  const std::string gone = dir.file("gone");
  std::filesystem::create_directory(gone);
  CNoteStore store;
  ASSERT_TRUE(store.SetPersonalDirectory(gone));
  store.SetDate(Day(2005, 12, 31));
  store.SetDatedText("unsaved");
  store.SetAnnualText("unsaved too");
  std::filesystem::remove(gone);  // the folder vanishes (an unplugged drive)

  EXPECT_FALSE(store.SetDate(Day(2006, 1, 1)));
  EXPECT_TRUE(store.SaveFailed());
  EXPECT_EQ(store.GetDate(), Day(2005, 12, 31));
  EXPECT_EQ(store.GetDatedText(), "unsaved");

  store.SetDate(Day(2005, 12, 29));
  store.GetReminders();
  store.SetDate(Day(2005, 12, 31));
  EXPECT_EQ(store.GetDatedText(), "unsaved");

  EXPECT_FALSE(store.SetPersonalDirectory(other.path()));
  EXPECT_EQ(store.GetDirectory(), gone + "/");
  EXPECT_EQ(app.GetProfileString("Schedule", "Path"), gone);
  EXPECT_FALSE(store.SaveChanges());

  // Once the folder is back, the notes reach it.
  std::filesystem::create_directory(gone);
  EXPECT_TRUE(store.SaveChanges());
  EXPECT_FALSE(store.SaveFailed());
  EXPECT_TRUE(store.SetPersonalDirectory(other.path()));
  EXPECT_TRUE(store.SetPersonalDirectory(gone));
  store.SetDate(Day(2005, 12, 31));
  EXPECT_EQ(store.GetDatedText(), "unsaved");
  EXPECT_EQ(store.GetAnnualText(), "unsaved too");
}

TEST_F(NoteStoreTest, ASaveCutOffHalfwayLeavesThePreviousFileWhole) {
  Write(Day(2005, 7, 1), "old notes", "");
  const std::string before = ReadFileBytes(dir.file("Year2005.scd"));

  CNoteStore store;
  store.SetDate(Day(2005, 7, 1));
  store.SetDatedText(std::string(6000, 'x'));
  // Writes past 4 KB fail from here on, as on a full disk.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = store.SaveChanges();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);

  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadFileBytes(dir.file("Year2005.scd")), before);
  std::vector<std::string> names;  // no temporary file left behind
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    if (e.path().filename() != ".notes.lock") names.push_back(e.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"Year2005.scd"});
  EXPECT_TRUE(store.SaveChanges());  // still modified, so the next save writes it
  CNoteStore again;
  again.SetDate(Day(2005, 7, 1));
  EXPECT_EQ(again.GetDatedText(), std::string(6000, 'x'));
}

TEST_F(NoteStoreTest, SavesWhereTheFileSystemRefusesFileModes) {
  Write(Day(2005, 7, 1), "old notes", "");
  for (const char* text : {"new notes", "newer notes"}) {  // a new annual file, then both replaced
    CNoteStore store;
    store.SetDate(Day(2005, 7, 1));
    store.SetDatedText(text);
    store.SetAnnualText(text);
    g_refuseModes = true;
    const bool saved = store.SaveChanges();
    g_refuseModes = false;
    EXPECT_TRUE(saved) << text;
    CNoteStore again;
    again.SetDate(Day(2005, 7, 1));
    EXPECT_EQ(again.GetDatedText(), text);
    EXPECT_EQ(again.GetAnnualText(), text);
  }
}

TEST(NotePersonalDirectory, DefaultsToTheProgramFolderAndKeepsTheValueAsWritten) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  {
    CNoteStore store;
    EXPECT_EQ(store.GetDirectory(), PathDirectory(GetModuleFileName()));
    EXPECT_EQ(app.GetProfileString("Schedule", "Path"), PathDirectory(GetModuleFileName()));
  }
  TempDir dir;
  const std::string notes = dir.file("Notes");
  std::filesystem::create_directory(notes);
  app.WriteProfileString("Schedule", "Path", notes);
  CNoteStore store;
  EXPECT_EQ(store.GetDirectory(), notes + "/");
  EXPECT_EQ(app.GetProfileString("Schedule", "Path"), notes);

  EXPECT_FALSE(store.SetPersonalDirectory(""));
  EXPECT_TRUE(store.SetPersonalDirectory(dir.path()));
  EXPECT_EQ(app.GetProfileString("Schedule", "Path"), dir.path());
  store.SetDate(Day(2005, 5, 5));
  store.SetDatedText("here");
  EXPECT_TRUE(store.SaveChanges());
  EXPECT_TRUE(FileExists(dir.file("Year2005.scd")));
}

}  // namespace
