// The recent source list: order, display names and its registry form.
#include "adagio/app/recent_file_list.h"
#include "platform/registry.h"
#include "platform/winapp.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Entries(const CRecentFileList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.GetSize(); ++i) names.push_back(list[i]);
  return names;
}

}  // namespace

TEST(RecentFileList, AddMovesAKnownPathUpAndPushesTheOldestOut) {
  struct Case {
    std::vector<std::string> added;
    std::vector<std::string> expected;
  } cases[] = {
      {{"/a"}, {"/a", "", "", ""}},
      {{"/a", "/b", "/c", "/d"}, {"/d", "/c", "/b", "/a"}},
      {{"/a", "/b", "/c", "/d", "/e"}, {"/e", "/d", "/c", "/b"}},
      {{"/a", "/b", "/c", "/b"}, {"/b", "/c", "/a", ""}},
      {{"/a", "/b", "/c", "/d", "/a"}, {"/a", "/d", "/c", "/b"}},
      {{"/a", "/A"}, {"/A", "/a", "", ""}},  // names differ by case here
      {{"/a", ""}, {"/a", "", "", ""}},
  };
  for (const Case& c : cases) {
    CRecentFileList list("Recent File List", "File%d", 4);
    for (const std::string& path : c.added) list.Add(path);
    EXPECT_EQ(Entries(list), c.expected) << c.added.size() << " added, last " << c.added.back();
  }
}

TEST(RecentFileList, DisplayNamesAreRelativeToTheWorkingFolderOrShortened) {
  struct Case {
    const char* path;
    const char* folder;
    const char* shown;
  } cases[] = {
      {"/home/ann/Wisdom.txt", "/home/ann", "Wisdom.txt"},
      {"/home/ann/Wisdom.txt", "/home/ann/", "Wisdom.txt"},
      {"/home/ann/q/Wisdom.txt", "/home/ann", "/home/ann/q/Wisdom.txt"},
      {"/home/ann/Wisdom.txt", "/home/ann/q", "/home/ann/Wisdom.txt"},
      {"/home/ann/quotations/2024/Wisdom.txt", "/tmp", "/.../2024/Wisdom.txt"},
      {"/home/ann/quotations/for the year/Wisdom.txt", "/", "/.../for the year/Wisdom.txt"},
      {"/home/ann/a-folder-name-that-is-long/Wisdom.txt", "/", "/.../Wisdom.txt"},
      {"/home/ann/q/source-of-twenty-seven.txt", "/", "source-of-twenty-seven.txt"},
      {"/home/ann/A very long name of a source file.txt", "/", "A very long name of a source file.txt"},
      {"/home/ann/exactly-30-chars.txt", "/", "/home/ann/exactly-30-chars.txt"},
  };
  for (const Case& c : cases) {
    CRecentFileList list("Recent File List", "File%d", 4);
    list.Add(c.path);
    EXPECT_EQ(list.GetDisplayName(0, c.folder), c.shown) << c.path << " in " << c.folder;
    EXPECT_EQ(list.GetDisplayName(1, c.folder), "");
  }
}

TEST(RecentFileList, KeepsItsPlacesInTheProfile) {
  TempRegistry registry;
  CWinApp app("Adagio");
  app.SetRegistryKey("Vantrel Software\\Lumen Almanac");
  app.WriteProfileString("Recent File List", "File2", "/b.txt");
  app.WriteProfileString("Recent File List", "File4", "/d.txt");

  CRecentFileList list("Recent File List", "File%d", 4);
  list.ReadList();
  EXPECT_EQ(Entries(list), (std::vector<std::string>{"", "/b.txt", "", "/d.txt"}));
  list.Add("/d.txt");
  ASSERT_TRUE(list.WriteList());
  EXPECT_EQ(app.GetProfileString("Recent File List", "File1", "-"), "/d.txt");
  EXPECT_EQ(app.GetProfileString("Recent File List", "File3", "-"), "/b.txt");
  // An empty place has no value at all.
  EXPECT_EQ(app.GetProfileString("Recent File List", "File2", "-"), "-");
  EXPECT_EQ(app.GetProfileString("Recent File List", "File4", "-"), "-");

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER,
                         "Software\\Vantrel Software\\Lumen Almanac\\Adagio\\Recent File List",
                         KEY_READ, &key),
            ERROR_SUCCESS);
  char value[64];
  uint32_t size = sizeof value, type = 0;
  EXPECT_EQ(RegQueryValueEx(key, "File1", &type, reinterpret_cast<uint8_t*>(value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  RegCloseKey(key);
}
