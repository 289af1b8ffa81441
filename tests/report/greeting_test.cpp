#include "orrery/app/settings_store.h"
#include "orrery/report/greeting.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(Greeting, ChoosesByTheMomentOfStart) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  app.WriteProfileString("Options", "Name", "Ann");
  // 2005-09-05 is a Monday, 2005-09-09 a Friday; 2005-03-05 is a Saturday.
  const struct { CDateTime stamp; const char* line; } cases[] = {
      {{2005, 3, 5, 9, 15, 7}, "Good Morning Ann!\r\n"},
      {{2005, 3, 5, 9, 15, 0}, "Top of the morning to you Ann!\r\n"},
      {{2005, 3, 5, 9, 15, 4}, "The day is still young Ann!\r\n"},
      {{2005, 3, 5, 12, 15, 4}, "You will have quite a productive day today Ann!\r\n"},
      {{2005, 3, 5, 14, 15, 0}, "It's time for a nap Ann!\r\n"},
      {{2005, 3, 5, 20, 30, 4}, "All in all, a pleasant evening Ann!\r\n"},
      {{2005, 3, 5, 2, 10, 13}, "Greetings Ann!\r\n"},
      {{2005, 3, 5, 15, 20, 12}, "Mercy Ann!\r\n"},
      {{2005, 3, 5, 0, 28, 12}, "Sometimes how to is not as important as when to Ann!\r\n"},
      {{2005, 3, 5, 0, 29, 12}, "Greetings Ann!\r\n"},  // (12 + 29 + 5) mod 46 wraps
      {{2005, 9, 9, 15, 20, 40}, "The weekend is almost here Ann!\r\n"},
      {{2005, 9, 9, 15, 20, 36}, "Absolute bedlam Ann!\r\n"},  // below 40: no occasion
      {{2005, 9, 5, 6, 30, 44}, "It's Monday again Ann!\r\n"},
      {{2005, 9, 6, 6, 30, 44}, "It's a bit on the early side Ann!\r\n"},
      {{2005, 9, 6, 3, 0, 48}, "Most people are asleep now Ann!\r\n"},
      {{2005, 9, 1, 11, 0, 52}, "It's the start of a brand new month Ann!\r\n"},
      {{2005, 12, 7, 20, 0, 56}, "Happy Holidays Ann!\r\n"},   // day 341
      {{2005, 12, 6, 20, 0, 56}, "It's a jamboree Ann!\r\n"},  // day 340
      {{2004, 12, 6, 20, 0, 56}, "Happy Holidays Ann!\r\n"},   // day 341 of a leap year
      {{2005, 1, 1, 10, 0, 8}, "Happy New Year Ann!\r\n"},
      {{2005, 1, 1, 2, 0, 56}, "Happy New Year Ann!\r\n"},
      {{2005, 1, 1, 10, 0, 7}, "Good Morning Ann!\r\n"},
      {{2005, 1, 1, 10, 0, 4}, "The day is still young Ann!\r\n"},
  };
  for (const auto& c : cases) {
    CGreeting greeting(c.stamp);
    EXPECT_EQ(greeting.GetGreeting(), c.line) << c.stamp.Format("%Y-%m-%d %H:%M:%S");
  }
}

TEST(Greeting, KeepsTheFirstNameAndWritesItOnlyWhenChanged) {
  TempRegistry reg;
  CSettingsApp app("Orrery");
  {
    CGreeting greeting(CDateTime(2005, 3, 5, 9, 15, 7));
    EXPECT_EQ(greeting.GetName(), "");
    EXPECT_EQ(greeting.GetGreeting(), "Good Morning !\r\n");
    greeting.SetName("Ann");
    EXPECT_EQ(app.GetProfileString("Options", "Name", "<none>"), "<none>");
  }
  EXPECT_EQ(app.GetProfileString("Options", "Name"), "Ann");
  {
    CGreeting greeting;
    EXPECT_EQ(greeting.GetName(), "Ann");
    greeting.SetName("Bea");
    RegSetHiveReadOnlyForTesting(HKEY_CURRENT_USER, true);
    EXPECT_FALSE(greeting.SaveName());
    RegSetHiveReadOnlyForTesting(HKEY_CURRENT_USER, false);
  }  // written at the end after all
  EXPECT_EQ(app.GetProfileString("Options", "Name"), "Bea");
}

}  // namespace
