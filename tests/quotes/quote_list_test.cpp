#include "orrery/app/settings_store.h"
#include "orrery/quotes/quote_list.h"
#include "platform/archive.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

class QuoteListTest : public ::testing::Test {
protected:
  // The machine-wide profile lives below HKEY_LOCAL_MACHINE\Software, which
  // every installed system has.
  QuoteListTest() {
    HKEY software = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS, &software);
    RegCloseKey(software);
  }

  // A quotation file whose every day gives quote.
  std::string MakeFile(const std::string& name, const std::string& title,
                       const std::string& quote = "Carpe diem.") {
    CGenNote document;
    document.SetTitle(title);
    document.SetSubtitle("Sub " + title);
    document.SetDefaultQuote(quote);
    CFile file;
    EXPECT_TRUE(file.Open(dir.file(name), CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    document.Serialize(ar);
    ar.Close();
    return dir.file(name);
  }
  std::string Machine(int section, const char* entry) {
    return app.GetMachineProfileString("QFile" + std::to_string(section), entry, "<none>");
  }

  TempRegistry reg;
  CSettingsApp app{"Orrery"};
  TempDir dir;
};

TEST_F(QuoteListTest, FreshRegistryHasNoQuotation) {
  CQuoteList list;
  EXPECT_EQ(list.GetCurrent(), 0);
  for (int i = 0; i <= 7; ++i) EXPECT_EQ(list.GetFullPath(i), "") << i;
  EXPECT_EQ(list.GetCurrentTitle(), "");
  list.SetDate(CDateTime(2005, 3, 5));
  EXPECT_EQ(list.GetDailyQuote(), "");
  EXPECT_FALSE(list.IsModified());
}

TEST_F(QuoteListTest, ChangesReachTheRegistryAtTheNextDailyQuotation) {
  const std::string path = MakeFile("wisdom.day", "Wisdom");
  {
    CQuoteList list;
    ASSERT_EQ(list.AddFile(path), 1);
    EXPECT_TRUE(list.SetCurrent(1));
    EXPECT_EQ(list.GetCurrentTitle(), "Wisdom");
    EXPECT_EQ(list.GetCurrentSubtitle(), "Sub Wisdom");
    EXPECT_EQ(Machine(0, "File"), "<none>");
    EXPECT_EQ(app.GetProfileInt("Options", "Quote", -1), -1);

    list.SetDate(CDateTime(2005, 3, 5));
    EXPECT_EQ(list.GetDailyQuote(), "Carpe diem.");
    EXPECT_FALSE(list.IsModified());
    EXPECT_EQ(Machine(0, "Path"), dir.path() + "/");
    EXPECT_EQ(Machine(0, "File"), "wisdom.day");
    EXPECT_EQ(Machine(0, "Title"), "Wisdom");
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(Machine(n, "File"), "") << n;
    EXPECT_EQ(app.GetProfileInt("Options", "Quote", -1), 1);
  }
  CQuoteList again;  // the next start loads the same file
  EXPECT_EQ(again.GetCurrent(), 1);
  again.SetDate(CDateTime(2005, 3, 5));
  EXPECT_EQ(again.GetDailyQuote(), "Carpe diem.");

  // A file that no longer reads gives no quotation, and an untitled current file.
  WriteFileBytes(path, "NOTAQF1");
  EXPECT_FALSE(again.SetCurrent(1));
  EXPECT_EQ(again.GetDailyQuote(), "");
  EXPECT_EQ(again.GetCurrentTitle(), "Untitled Quotation File");
  EXPECT_FALSE(again.SetCurrent(0));
  EXPECT_EQ(again.GetCurrentTitle(), "");
}

TEST_F(QuoteListTest, AddingReusesAMatchingSlotAndReplacesSlotSixWhenFull) {
  CQuoteList list;
  std::string paths[7];
  for (int i = 0; i < 7; ++i) paths[i] = MakeFile("q" + std::to_string(i) + ".day", "");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list.AddFile(paths[i]), i + 1);
  EXPECT_EQ(list.GetTitle(3), "Untitled Quotation File");

  // The same file again, spelt in another case (as a case-blind file
  // system serves it), refreshes its own slot.
  const std::string upper = MakeFile("Q2.DAY", "Now titled");
  EXPECT_EQ(list.AddFile(upper), 3);
  EXPECT_EQ(list.GetTitle(3), "Now titled");
  EXPECT_EQ(list.GetFullPath(3), upper);

  EXPECT_EQ(list.AddFile(paths[6]), 6);
  EXPECT_EQ(list.GetFullPath(6), paths[6]);
  EXPECT_EQ(list.GetFullPath(5), paths[4]);

  EXPECT_EQ(list.AddFile(dir.file("missing.day")), 0);
  ASSERT_EQ(mkfifo(dir.file("pipe.day").c_str(), 0600), 0);
  EXPECT_EQ(list.AddFile(dir.file("pipe.day")), 0);  // refused without waiting for a writer
  WriteFileBytes(dir.file("bad.day"), "LMAQF99 and more");
  EXPECT_EQ(list.AddFile(dir.file("bad.day")), 0);
  EXPECT_EQ(list.GetFullPath(6), paths[6]);
}

TEST_F(QuoteListTest, PathsAreKeptWithoutDotFolders) {
  std::filesystem::create_directory(dir.file("sub"));
  const std::string path = MakeFile("q.day", "Q");
  CQuoteList list;
  EXPECT_EQ(list.AddFile(dir.path() + "/./sub/../q.day"), 1);
  EXPECT_EQ(list.GetFullPath(1), path);
  EXPECT_EQ(list.AddFile(path), 1);  // the same file, so the same slot
  EXPECT_EQ(list.AddFile(dir.path() + "/sub/..//q.day"), 1);
}

TEST_F(QuoteListTest, LongTitlesAreCutToWhatReadsBack) {
  const struct { std::string title, kept; } cases[] = {
      {std::string(149, 't'), std::string(149, 't')},
      {std::string(200, 't'), std::string(149, 't')},  // the longest that reads back
      {std::string(146, 'a') + "\xc3\xa9\xc3\xa9", std::string(146, 'a') + "\xc3\xa9"},  // whole characters
  };
  for (const auto& c : cases) {
    {
      CQuoteList list;
      ASSERT_EQ(list.AddFile(MakeFile("q.day", c.title)), 1);
      EXPECT_EQ(list.GetTitle(1), c.kept);
      list.SaveList();
    }
    EXPECT_EQ(CQuoteList().GetTitle(1), c.kept);
  }
}

TEST_F(QuoteListTest, PathsMatchWithoutCaseWholeCharacterByCharacter) {
  const struct { const char* first; const char* second; int slot; } cases[] = {
      {"\xc3\x84pfel.day", "\xc3\xa4PFEL.DAY", 1},  // Äpfel / äPFEL
      {"\xc3\x84.day", "\xc3\xa5.day", 2},          // Ä / å: one byte apart
      {"plain.day", "plain.day.day", 2},
  };
  for (const auto& c : cases) {
    CQuoteList list;
    ASSERT_EQ(list.AddFile(MakeFile(c.first, "first")), 1) << c.first;
    EXPECT_EQ(list.AddFile(MakeFile(c.second, "second")), c.slot) << c.second;
    for (int slot = 6; slot >= 1; --slot) list.RemoveFile(slot);
  }
}

TEST_F(QuoteListTest, LongPathsAreKeptWhileTheListCanStoreThem) {
  std::string deep = dir.path();
  while (deep.size() < 120) deep += "/folder-of-quotations";
  std::filesystem::create_directories(deep);
  CQuoteList list;
  const std::string path = deep + "/a.day";
  std::filesystem::copy_file(MakeFile("a.day", "Deep"), path);
  EXPECT_GT(path.size(), 99u);
  EXPECT_EQ(list.AddFile(path), 1);
  EXPECT_EQ(list.GetFullPath(1), path);
  list.SaveList();
  CQuoteList again;
  EXPECT_EQ(again.GetFullPath(1), path);

  while (deep.size() < 160) deep += "/folder-of-quotations";
  std::filesystem::create_directories(deep);
  std::filesystem::copy_file(path, deep + "/a.day");
  EXPECT_EQ(list.AddFile(deep + "/a.day"), 0);  // its folder would not read back
}

TEST_F(QuoteListTest, RemovingClosesTheGap) {
  const struct { int files, removed, result; const char* left; } cases[] = {
      {3, 2, 2, "q0.day q2.day"}, {3, 3, 2, "q0.day q1.day"}, {1, 1, 0, ""},
      {6, 6, 5, "q0.day q1.day q2.day q3.day q4.day"}, {6, 1, 1, "q1.day q2.day q3.day q4.day q5.day"},
  };
  for (const auto& c : cases) {
    CQuoteList list;
    for (int i = 0; i < c.files; ++i) list.AddFile(MakeFile("q" + std::to_string(i) + ".day", "T"));
    list.SaveList();
    EXPECT_EQ(list.RemoveFile(c.removed), c.result) << c.files << " " << c.removed;
    EXPECT_TRUE(list.IsModified());
    std::string left;
    for (int slot = 1; slot <= 6; ++slot) {
      const std::string full = list.GetFullPath(slot);
      if (!full.empty()) left += (left.empty() ? "" : " ") + full.substr(full.rfind('/') + 1);
    }
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(list.GetTitle(6), "");
    list.LoadList();  // back to the stored list for the next case
    for (int slot = 6; slot >= 1; --slot) list.RemoveFile(slot);
    list.SaveList();
  }
}

}  // namespace
