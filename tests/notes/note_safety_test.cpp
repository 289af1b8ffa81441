// What several writers, damaged files and moves of the notes folder do to
// the notes.
#include "orrery/app/settings_store.h"
#include "orrery/notes/note_store.h"
#include "orrery/notes/notes_file.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

CDateTime Day(int y, int m, int d) { return CDateTime(y, m, d, 12, 0, 0); }

class NoteSafety : public ::testing::Test {
protected:
  NoteSafety() { app.WriteProfileString("Schedule", "Path", dir.path()); }

  // The dated and annual text and the remind flag of a date, read by a store of its own.
  static std::string Read(const CDateTime& date) {
    CNoteStore store;
    store.SetDate(date);
    return store.GetDatedText() + "|" + store.GetAnnualText() + "|" + std::to_string(store.GetRemind());
  }
  static void Change(CNoteStore& store, const CDateTime& date, const std::string& dated,
                     const std::string& annual) {
    store.SetDate(date);
    ASSERT_EQ(store.GetDate(), date);
    store.SetDatedText(dated);
    store.SetAnnualText(annual);
  }

  TempRegistry reg;
  CSettingsApp app{"Orrery"};
  TempDir dir;
};

TEST_F(NoteSafety, TwoWritersKeepEachOthersDays) {
  {
    CNoteStore a, b;  // both read the folder before either saves
    Change(a, Day(2024, 3, 1), "a dated", "a annual");
    Change(b, Day(2024, 3, 2), "b dated", "b annual");
    Change(a, Day(2024, 3, 5), "a's version", "");
    Change(b, Day(2024, 3, 5), "b's version", "");
    Change(a, Day(2024, 3, 6), "text from a", "");
    b.SetDate(Day(2024, 3, 6));
    b.SetRemind(1);  // the same day, another field
    ASSERT_TRUE(a.SaveChanges());
    ASSERT_TRUE(b.SaveChanges());
    // The later writer now holds the other's days as well.
    b.SetDate(Day(2024, 3, 1));
    EXPECT_EQ(b.GetDatedText(), "a dated");
    EXPECT_EQ(b.GetAnnualText(), "a annual");
  }
  EXPECT_EQ(Read(Day(2024, 3, 1)), "a dated|a annual|0");
  EXPECT_EQ(Read(Day(2024, 3, 2)), "b dated|b annual|0");
  EXPECT_EQ(Read(Day(2024, 3, 5)), "b's version||0");  // the later save wins
  EXPECT_EQ(Read(Day(2024, 3, 6)), "text from a||1");
  EXPECT_EQ(Read(Day(2025, 3, 2)), "|b annual|0");     // annual notes in every year
}

TEST_F(NoteSafety, TwentyAlternatingRoundsLoseNoDay) {
  CNoteStore writers[2];
  for (int round = 0; round < 20; ++round) {
    CNoteStore& w = writers[round % 2];
    const std::string text = "round " + std::to_string(round);
    Change(w, Day(2024, 1, round + 1), text, text);
    ASSERT_TRUE(w.SaveChanges()) << round;
  }
  for (int round = 0; round < 20; ++round) {
    const std::string text = "round " + std::to_string(round);
    EXPECT_EQ(Read(Day(2024, 1, round + 1)), text + "|" + text + "|0") << round;
  }
}

TEST_F(NoteSafety, RefreshTakesOtherWritersDaysAndKeepsOwnChanges) {
  CNoteStore mine;
  Change(mine, Day(2024, 7, 1), "mine, unsaved", "");
  EXPECT_FALSE(mine.Refresh());  // nothing on disk changed
  {
    CNoteStore other;
    Change(other, Day(2024, 7, 2), "other's", "other's annual");  // the annual file appears
    Change(other, Day(2024, 7, 1), "other's too", "");
  }
  EXPECT_TRUE(mine.Refresh());
  EXPECT_FALSE(mine.Refresh());
  EXPECT_EQ(mine.GetDate(), Day(2024, 7, 1));
  EXPECT_EQ(mine.GetDatedText(), "mine, unsaved");
  mine.SetDate(Day(2024, 7, 2));
  EXPECT_EQ(mine.GetDatedText(), "other's");
  EXPECT_EQ(mine.GetAnnualText(), "other's annual");
  ASSERT_TRUE(mine.SaveChanges());
  EXPECT_FALSE(mine.Refresh());  // its own save is not a change from outside
  EXPECT_EQ(Read(Day(2024, 7, 1)), "mine, unsaved||0");
  EXPECT_EQ(Read(Day(2024, 7, 2)), "other's|other's annual|0");

  // A file removed by hand: the store keeps only its own unsaved days.
  Change(mine, Day(2024, 7, 3), "new", "");
  fs::remove(dir.file("Year2024.scd"));
  EXPECT_TRUE(mine.Refresh());
  EXPECT_EQ(mine.GetDatedText(), "new");
  mine.SetDate(Day(2024, 7, 2));
  EXPECT_EQ(mine.GetDatedText(), "");
}

TEST_F(NoteSafety, DamagedFilesAreKeptBesideTheNewOne) {
  {
    CNoteStore store;
    Change(store, Day(2005, 1, 2), "kept?", "");
  }
  const std::string whole = ReadFileBytes(dir.file("Year2005.scd"));
  std::string flipped = whole;
  flipped[5] = '\xff';  // the length of 2 January's text now reaches past the end
  std::string random(700, '\0');
  unsigned seed = 12345;
  for (char& c : random) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  struct Case {
    const char* name;
    std::string bytes;
    bool folder = false;
    bool unreadable = false;
  };
  std::vector<Case> cases = {{"one byte short", whole.substr(0, whole.size() - 1)},
                             {"flipped length", flipped},
                             {"random bytes", random},
                             {"empty", ""},
                             {"a folder", "", true}};
  if (geteuid() != 0) cases.push_back({"unreadable", whole, false, true});
  const std::string file = dir.file("Year2005.scd");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(file);
    if (c.folder) {
      fs::create_directory(file);
      WriteFileBytes(file + "/inside", "x");
    } else {
      WriteFileBytes(file, c.bytes);
      if (c.unreadable) chmod(file.c_str(), 0);
    }
    CNoteStore store;
    EXPECT_FALSE(store.SetDate(Day(2005, 1, 2)));
    EXPECT_EQ(store.GetDatedText(), "");
    EXPECT_TRUE(store.TakeDamageReports().empty());  // reading touches nothing
    store.SetDatedText("written over it");
    ASSERT_TRUE(store.SaveChanges());

    const auto reports = store.TakeDamageReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].file, file);
    EXPECT_EQ(reports[0].keptAs.rfind(file + ".damaged-", 0), 0u) << reports[0].keptAs;
    if (c.folder)
      EXPECT_EQ(ReadFileBytes(reports[0].keptAs + "/inside"), "x");
    else
      EXPECT_EQ(ReadFileBytes(reports[0].keptAs), c.bytes);
    fs::remove_all(reports[0].keptAs);
    EXPECT_EQ(Read(Day(2005, 1, 2)), "written over it||0");

    store.SetDatedText("again");  // the file reads now: no second report
    ASSERT_TRUE(store.SaveChanges());
    EXPECT_TRUE(store.TakeDamageReports().empty());
  }
}

TEST_F(NoteSafety, ADamagedFileNeverReplacesAnEarlierKeptOne) {
  // Every name the next seconds could give is taken already.
  const std::string file = dir.file("Annual.scd");
  const std::time_t now = std::time(nullptr);
  std::vector<std::string> taken;
  for (int s = 0; s < 10; ++s) {
    const std::time_t t = now + s;
    std::tm local{};
    localtime_r(&t, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    taken.push_back(file + ".damaged-" + stamp);
    WriteFileBytes(taken.back(), "earlier");
  }
  WriteFileBytes(file, "\x07short");
  CNoteStore store;
  store.SetAnnualText("birthday");
  ASSERT_TRUE(store.SaveChanges());
  const auto reports = store.TakeDamageReports();
  ASSERT_EQ(reports.size(), 1u);
  const std::string& kept = reports[0].keptAs;
  EXPECT_EQ(kept.substr(kept.size() - 2), "-2") << kept;
  EXPECT_EQ(ReadFileBytes(kept), "\x07short");
  for (const std::string& t : taken) EXPECT_EQ(ReadFileBytes(t), "earlier") << t;
}

TEST_F(NoteSafety, AFileThatTurnsDamagedGetsTheStoresWholeCopy) {
  {
    CNoteStore store;
    Change(store, Day(2024, 2, 1), "one", "");
    Change(store, Day(2024, 2, 2), "two", "");
  }
  CNoteStore store;
  store.SetDate(Day(2024, 2, 1));
  WriteFileBytes(dir.file("Year2024.scd"), "garbage");
  EXPECT_FALSE(store.Refresh());  // what it holds stays
  EXPECT_EQ(store.GetDatedText(), "one");
  ASSERT_TRUE(store.SaveChanges());  // written although nothing was typed
  ASSERT_EQ(store.TakeDamageReports().size(), 1u);
  EXPECT_EQ(Read(Day(2024, 2, 2)), "two||0");
}

TEST_F(NoteSafety, AFailedSaveThatWasReportedIsNotRetriedAtDestruction) {
  const std::string gone = dir.file("gone");
  fs::create_directory(gone);
  {
    CNoteStore store;
    ASSERT_TRUE(store.SetPersonalDirectory(gone));
    Change(store, Day(2024, 5, 5), "not saved", "");
    fs::remove(gone);
    EXPECT_FALSE(store.SaveChanges());
    fs::create_directory(gone);  // the folder is back before the store goes
    store.DiscardChanges();
    EXPECT_EQ(store.GetDatedText(), "");
  }
  EXPECT_FALSE(CNoteStore::HasNotesFiles(gone));
}

TEST(NoteSalvage, RecoversTheWholeMonthsBeforeTheDamage) {
  TempDir dir;
  CUseNote notes;
  for (int m = 1; m <= 12; ++m) {
    notes.SetDate(Day(2024, m, 1));
    notes.SetDayText("month " + std::to_string(m));
  }
  const std::string path = dir.file("Year2024.scd");
  ASSERT_TRUE(SaveNotesFile(path, notes));
  const std::string whole = ReadFileBytes(path);
  const size_t june = 5 * (155 + 7) + 3;  // months of 155 bytes and a 7-byte text each
  const struct { const char* name; std::string bytes; int months; } cases[] = {
      {"whole", whole, 12}, {"cut inside June", whole.substr(0, june), 5},
      {"cut inside January", whole.substr(0, 40), 0}, {"empty", "", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(path, c.bytes);
    CUseNote out;
    std::string error;
    ASSERT_EQ(SalvageNotesFile(path, out, &error), c.months) << error;
    for (int m = 1; m <= 12; ++m) {
      out.SetDate(Day(2024, m, 1));
      EXPECT_EQ(out.GetDayText(), m <= c.months ? "month " + std::to_string(m) : "") << m;
    }
  }
  std::string error;
  CUseNote out;
  EXPECT_EQ(SalvageNotesFile(dir.file("missing"), out, &error), -1);
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  WriteFileBytes(dir.file("out"), "mine");
  EXPECT_FALSE(WriteNewNotesFile(dir.file("out"), out, &error));
  EXPECT_EQ(ReadFileBytes(dir.file("out")), "mine");
}

class NoteFolderMove : public NoteSafety {
protected:
  void SetUp() override {
    for (int year : {2005, 2024}) {
      CNoteStore store;
      Change(store, Day(year, 4, 4), "in " + std::to_string(year), "annual");
    }
    WriteFileBytes(dir.file("letter.txt"), "not a notes file");
  }
  // The notes files in folder, with their bytes.
  static std::map<std::string, std::string> NotesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const char* name : {"Year2005.scd", "Year2024.scd", "Annual.scd"})
      if (FileExists(folder + "/" + name)) files[name] = ReadFileBytes(folder + "/" + name);
    return files;
  }
};

TEST_F(NoteFolderMove, MovesEveryNotesFileAndSwitches) {
  TempDir target;
  // A folder on another file system, where there is one.
  std::string other = "/dev/shm/lumen-notes-XXXXXX";
  struct stat a{}, b{};
  const bool twoFileSystems = stat("/dev/shm", &b) == 0 && stat(dir.path().c_str(), &a) == 0 &&
                              a.st_dev != b.st_dev && mkdtemp(other.data());
  EXPECT_TRUE(CNoteStore::HasNotesFiles(dir.path()));
  EXPECT_FALSE(CNoteStore::HasNotesFiles(target.path()));
  WriteFileBytes(target.file("Year05.scd"), "");
  WriteFileBytes(target.file("Year2024.txt"), "");
  WriteFileBytes(target.file(".notes.lock"), "");
  EXPECT_FALSE(CNoteStore::HasNotesFiles(target.path()));

  CNoteStore store;
  Change(store, Day(2024, 4, 5), "unsaved", "");
  const auto before = NotesIn(dir.path());
  ASSERT_EQ(before.size(), 3u);
  std::string error;
  ASSERT_TRUE(store.MovePersonalDirectory(target.path(), &error)) << error;
  EXPECT_EQ(store.GetDirectory(), target.path() + "/");
  EXPECT_EQ(app.GetProfileString("Schedule", "Path"), target.path());
  EXPECT_TRUE(NotesIn(dir.path()).empty());
  EXPECT_TRUE(FileExists(dir.file("letter.txt")));
  const auto moved = NotesIn(target.path());
  EXPECT_EQ(moved.size(), 3u);
  EXPECT_EQ(moved.at("Year2005.scd"), before.at("Year2005.scd"));
  EXPECT_EQ(Read(Day(2024, 4, 5)), "unsaved||0");
  EXPECT_EQ(Read(Day(2005, 4, 4)), "in 2005|annual|0");

  if (!twoFileSystems) GTEST_SKIP() << "no second file system to move across";
  ASSERT_TRUE(store.MovePersonalDirectory(other, &error)) << error;
  EXPECT_EQ(NotesIn(other), moved);
  EXPECT_TRUE(NotesIn(target.path()).empty());
  EXPECT_EQ(Read(Day(2024, 4, 4)), "in 2024|annual|0");
  fs::remove_all(other);
}

TEST_F(NoteFolderMove, RefusesWhenTheTargetHoldsAFileOfTheSameName) {
  TempDir target;
  WriteFileBytes(target.file("Year2024.scd"), "someone else's");
  CNoteStore store;
  const auto before = NotesIn(dir.path());
  std::string error;
  EXPECT_FALSE(store.MovePersonalDirectory(target.path(), &error));
  EXPECT_NE(error.find("Year2024.scd"), std::string::npos) << error;
  EXPECT_EQ(NotesIn(dir.path()), before);
  EXPECT_EQ(ReadFileBytes(target.file("Year2024.scd")), "someone else's");
  EXPECT_FALSE(FileExists(target.file("Annual.scd")));
  EXPECT_EQ(store.GetDirectory(), dir.path() + "/");
  EXPECT_EQ(app.GetProfileString("Schedule", "Path"), dir.path());
  EXPECT_FALSE(store.MovePersonalDirectory(dir.file("no such folder"), &error));
  EXPECT_FALSE(error.empty());
}

TEST(NoteFolderWithoutProfile, AnUnreadableProfileGivesNoFolderAndNoSaves) {
  TempRegistry reg;
  WriteFileBytes(reg.path() + "/user.db", std::string(4096, '\x5a'));
  RegResetForTesting();
  if (RegHiveFailure(HKEY_CURRENT_USER).empty()) GTEST_SKIP() << "damaged hives are not detected";
  CSettingsApp app("Orrery");
  CNoteStore store;
  EXPECT_FALSE(store.HasDirectory());
  EXPECT_EQ(store.GetDirectory(), "");
  store.SetDate(Day(2024, 1, 1));
  store.SetDatedText("nowhere to go");
  EXPECT_FALSE(store.SaveChanges());
  EXPECT_TRUE(store.SaveFailed());
  EXPECT_FALSE(store.SaveAnnualFile());
  EXPECT_FALSE(FileExists(PathDirectory(GetModuleFileName()) + "Year2024.scd"));
  store.DiscardChanges();
}

}  // namespace
