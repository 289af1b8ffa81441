#include "orrery/app/settings_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/sky/time_zones.h"
#include "platform/archive.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace {

const std::string kCrLf = "\r\n";

class ReportDocTest : public ::testing::Test {
protected:
  ReportDocTest() {
    // One moment for the whole test, so that "today" never changes midway.
    CDateTime::FixCurrentTime(CDateTime::GetCurrentTime());
    HKEY software = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS, &software);
    RegCloseKey(software);
    app.WriteProfileString("Schedule", "Path", notes.path());
  }
  ~ReportDocTest() override { CDateTime::FixCurrentTime(CDateTime()); }

  // The sky lines that CSunMoon gives for a date and place, as the report
  // lists them.
  static std::string Sky(const CDateTime& date, LocationRecord place, bool sun = true,
                         bool moon = true, bool phase = true) {
    ResolveZone(place, date);
    CSunMoon sky;
    sky.SetDate(date);
    sky.SetPlace(place);
    std::string text;
    if (sun) text += sky.SunText() + kCrLf;
    if (moon) text += sky.MoonText() + kCrLf;
    if (phase) text += sky.PhaseText() + kCrLf;
    return text;
  }
  std::string MakeQuoteFile(const std::string& quote) {
    CGenNote document;
    document.SetDefaultQuote(quote);
    CFile file;
    EXPECT_TRUE(file.Open(notes.file("q.day"), CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    document.Serialize(ar);
    ar.Close();
    return notes.file("q.day");
  }
  static void Options(CReportDoc& doc, int greet, int sun, int moon, int phase) {
    doc.SetGreet(greet);
    doc.SetSun(sun);
    doc.SetMoon(moon);
    doc.SetPhase(phase);
  }

  TempRegistry reg;
  CSettingsApp app{"Orrery"};
  TempDir notes;
};

TEST_F(ReportDocTest, AFreshRegistryGreetsAndGivesTheHomeSky) {
  CLocationStore places;
  CReportDoc doc(&places);
  const std::string report = doc.Compose();
  const std::string greeting = doc.GetGreetingObj()->GetGreeting();
  LocationRecord home = places.GetHome();
  EXPECT_EQ(home.latitude, 40.0f);
  EXPECT_EQ(home.longitude, 100.0f);
  const std::string sky = Sky(doc.GetReportDate(), home);
  EXPECT_EQ(report, greeting + sky + kCrLf);
  EXPECT_EQ(std::count(sky.begin(), sky.end(), '\n'), 3);
  EXPECT_EQ(sky.find("\r\n\r\n"), std::string::npos);  // none of the three is empty
  EXPECT_NE(sky.substr(0, 2), kCrLf);
  EXPECT_EQ(std::string(doc.GetCurrentLocation().name), "");

  const std::string section = doc.SkySection(true);
  const std::string header = doc.GetReportDate().Format("%d %B %Y   %A") + " -   (Home Location)" +
                             kCrLf + "TimeZone: GMT+6" + kCrLf;
  EXPECT_EQ(section, header + sky + kCrLf);
  EXPECT_EQ(doc.GetCurrentLocation().bias, -360);
  EXPECT_FALSE(doc.NeedsRebuild());
}

TEST_F(ReportDocTest, LaysOutOnlyThePartsThatHaveText) {
  const CDateTime now = CDateTime::GetCurrentTime();
  const CDateTime tomorrow = now.AddDays(1);
  {
    CNoteStore store;
    store.SetDatedText("Dentist at 10\r\nBring the card");
    store.SetDate(tomorrow);
    store.SetDatedText("Call Bob");
    store.SetRemind(1);
  }
  const std::string reminders = "And Don't Forget...\r\n(" + tomorrow.Format("%a") + ") - Call Bob";
  const std::string dated = "Dentist at 10\r\nBring the card";
  CLocationStore places;
  CReportDoc doc(&places);
  const LocationRecord home = places.GetHome();
  const std::string quote = "Carpe diem.";
  const struct { int greet, sun, moon, phase; bool withNotes, withQuote; const char* what; } cases[] = {
      {1, 1, 0, 0, false, false, "greeting and sun"},
      {0, 0, 0, 0, false, true, "quotation only"},
      {0, 1, 0, 0, true, false, "dated notes and reminders"},
      {0, 0, 0, 0, false, false, "nothing"},
      {1, 1, 1, 1, true, true, "everything"},
  };
  for (const auto& c : cases) {
    Options(doc, c.greet, c.sun, c.moon, c.phase);
    CNoteStore* store = doc.GetNoteStore();
    store->SetDate(now);
    store->SetDatedText(c.withNotes ? dated : "");
    store->SetDate(tomorrow);
    store->SetRemind(c.withNotes ? 1 : 0);
    CQuoteList* quotes = doc.GetQuoteList();
    quotes->SetCurrent(c.withQuote ? quotes->AddFile(MakeQuoteFile(quote)) : 0);

    std::string expected;
    if (c.greet) expected += doc.GetGreetingObj()->GetGreeting();
    if (c.withNotes) expected += dated + kCrLf + reminders + kCrLf + kCrLf;
    const std::string sky = Sky(doc.GetReportDate(), home, c.sun, c.moon, c.phase);
    if (!sky.empty()) expected += sky + kCrLf;
    if (c.withQuote) expected += quote + kCrLf + kCrLf;
    EXPECT_EQ(doc.Compose(), expected) << c.what;
    EXPECT_FALSE(doc.NeedsRebuild()) << c.what;
  }
}

TEST_F(ReportDocTest, ChangesAskForARebuildAndOptionsReachTheRegistryThen) {
  CLocationStore places;
  {
    CReportDoc doc(&places);
    const std::string first = doc.Compose();
    EXPECT_FALSE(doc.NeedsRebuild());

    doc.SetMoon(0);
    EXPECT_TRUE(doc.NeedsRebuild());
    EXPECT_EQ(app.GetProfileInt("Options", "Moon", -1), -1);
    const std::string second = doc.Compose();
    EXPECT_EQ(app.GetProfileInt("Options", "Moon", -1), 0);
    EXPECT_EQ(app.GetProfileInt("Options", "Greet", -1), 1);
    EXPECT_EQ(second.find(Sky(doc.GetReportDate(), places.GetHome(), false, true, false)),
              std::string::npos);
    EXPECT_FALSE(doc.NeedsRebuild());

    doc.GetNoteStore()->SetAnnualText("Ann's birthday");
    EXPECT_TRUE(doc.NeedsRebuild());
    doc.Compose();
    doc.GetGreetingObj()->SetName("Ann");
    EXPECT_TRUE(doc.NeedsRebuild());
    doc.Compose();
    doc.GetQuoteList()->SetCurrent(3);
    EXPECT_TRUE(doc.NeedsRebuild());
    doc.Compose();
    doc.SetSun(0);  // not composed again: saved at the end
  }
  EXPECT_EQ(app.GetProfileInt("Options", "Sun", -1), 0);
  EXPECT_EQ(app.GetProfileString("Options", "Name"), "Ann");
  EXPECT_EQ(app.GetProfileInt("Options", "Quote", -1), 3);
  CReportDoc again(&places);
  EXPECT_EQ(again.GetMoon(), 0);
  EXPECT_EQ(again.GetSun(), 0);
}

TEST_F(ReportDocTest, AnotherDateOrPlaceGetsItsOwnSection) {
  CLocationStore places;
  LocationRecord home = places.GetHome();
  home.SetName("Home");
  places.SetLocation(0, home);
  CReportDoc doc(&places);
  doc.Compose();
  EXPECT_FALSE(doc.IsPlaceOrDateChanged());

  const int year = doc.GetReportDate().GetYear();
  doc.SetReportDate(6, 1, year);
  EXPECT_TRUE(doc.IsPlaceOrDateChanged());
  const CDateTime june1(year, 6, 1, 12, 0, 0);
  EXPECT_EQ(doc.SkySection(true), june1.Format("01 June %Y   %A") + " - Home  (Home Location)" +
                                      kCrLf + "TimeZone: GMT+6" + kCrLf + Sky(june1, home) + kCrLf);
  EXPECT_FALSE(doc.IsPlaceOrDateChanged());
  doc.SetReportDate(2, 30, year);  // no such day: ignored
  doc.SetReportDate(6, 1, year);   // the same day: nothing changes
  EXPECT_FALSE(doc.IsPlaceOrDateChanged());
  EXPECT_EQ(doc.GetReportDate(), june1);

  LocationRecord paris;
  paris.SetName("Paris");
  paris.latitude = 48.85f;
  paris.longitude = 2.35f;
  doc.SetCurrentLocation(paris);
  EXPECT_TRUE(doc.IsPlaceOrDateChanged());
  std::string section = doc.SkySection(true);
  EXPECT_EQ(section.substr(0, section.find(kCrLf)),
            june1.Format("01 June %Y   %A") + " - Paris Position: (48.85, 2.35)");
  EXPECT_NE(section.find("TimeZone: GMT+0\r\n"), std::string::npos);

  // Last year's 1 June is not today: a plain report keeps the flag; today
  // at Home clears it.
  doc.SetReportDate(6, 1, year - 1);
  doc.Compose();
  EXPECT_TRUE(doc.IsPlaceOrDateChanged());
  doc.ResetToToday();
  EXPECT_TRUE(doc.IsPlaceOrDateChanged());
  doc.Compose();
  EXPECT_FALSE(doc.IsPlaceOrDateChanged());
}

TEST_F(ReportDocTest, PositionTextStaysShortForAnyCoordinates) {
  CLocationStore places;
  CReportDoc doc(&places);
  const struct { float latitude, longitude; const char* text; } cases[] = {
      {-90.0f, -180.0f, " Position: (-90.00, -180.00)"},
      {999999.0f, -0.004f, " Position: (999999.00, -0.00)"},
      {1e30f, -3e38f, " Position: (1.00e+30, -3.00e+38)"},
      {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
       " Position: (nan, inf)"},
  };
  for (const auto& c : cases) {
    LocationRecord place;
    place.SetName("X");
    place.latitude = c.latitude;
    place.longitude = c.longitude;
    doc.SetCurrentLocation(place);
    const std::string section = doc.SkySection(true);
    const std::string first = section.substr(0, section.find(kCrLf));
    EXPECT_EQ(first.substr(first.find(" Position")), c.text);
  }
}

TEST_F(ReportDocTest, NotesKeptInAnotherYearAreNotShownAsToday) {
  CLocationStore places;
  const std::string gone = notes.file("gone");
  std::filesystem::create_directory(gone);
  app.WriteProfileString("Schedule", "Path", gone);
  CReportDoc doc(&places);
  Options(doc, 0, 0, 0, 0);
  EXPECT_EQ(doc.Compose(), "");
  CNoteStore* store = doc.GetNoteStore();
  const CDateTime lastYear = CDateTime::GetCurrentTime().AddDays(-366);
  store->SetDate(lastYear);
  store->SetDatedText("a year ago");
  store->SetAnnualText("every year");
  std::filesystem::remove(gone);  // so the store cannot save them and move on

  EXPECT_FALSE(doc.NeedsRebuild());
  EXPECT_EQ(doc.Compose(), "");
  EXPECT_EQ(store->GetDate(), lastYear);
  EXPECT_EQ(store->GetDatedText(), "a year ago");

  std::filesystem::create_directory(gone);  // back: saved, and today is shown again
  store->SetDate(CDateTime::GetCurrentTime());
  store->SetDatedText("today");
  EXPECT_TRUE(doc.NeedsRebuild());
  EXPECT_EQ(doc.Compose(), "today\r\n\r\n");
}

TEST_F(ReportDocTest, SaveChangesTellsWhenNotesCouldNotBeSaved) {
  CLocationStore places;
  const std::string gone = notes.file("gone");
  std::filesystem::create_directory(gone);
  app.WriteProfileString("Schedule", "Path", gone);
  CReportDoc doc(&places);
  EXPECT_TRUE(doc.SaveChanges());
  doc.GetNoteStore()->SetDatedText("precious");
  std::filesystem::remove(gone);
  EXPECT_FALSE(doc.SaveChanges());
  std::filesystem::create_directory(gone);
  EXPECT_TRUE(doc.SaveChanges());
}

}  // namespace
