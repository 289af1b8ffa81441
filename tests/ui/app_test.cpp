// Start-up: the day-number check before any window, and the windows after it.
#include "orrery/app/run_key.h"
#include "orrery/notes/note_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/registry.h"
#include "platform/ui/placement.h"
#include "tests/ui/orrery_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <filesystem>

namespace {

std::string RunEntry() {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\run", KEY_READ,
                   &key) != ERROR_SUCCESS)
    return "";
  char buffer[300] = {};
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  const bool ok = RegQueryValueEx(key, "Orrery", &type, reinterpret_cast<uint8_t*>(buffer),
                                  &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok ? buffer : "";
}

bool AnySheetOpen() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<CScdSheet*>(w)) return true;
  return false;
}

const CDateTime kFeb14(2025, 2, 14, 9, 30, 0);  // day 45

}  // namespace

TEST(StartUp, TodaysDayNumberEndsWithoutAWindowOrTheRegistry) {
  TempRegistry registry;
  CScdApp app("Orrery");
  EXPECT_FALSE(app.InitInstance("45", kFeb14, SW_SHOWNORMAL));
  EXPECT_FALSE(app.InitInstance("  45 and more", kFeb14, SW_SHOWNORMAL));
  EXPECT_EQ(app.GetMainWnd(), nullptr);
  EXPECT_FALSE(AnySheetOpen());
  EXPECT_TRUE(std::filesystem::is_empty(registry.path()));
}

TEST_F(OrreryTest, AnotherDayNumberRefreshesADailyEntryAndOpensTheWindow) {
  CRunKey runKey;
  ASSERT_TRUE(runKey.Apply(1));
  ASSERT_TRUE(app.InitInstance("44", kFeb14, SW_SHOWNORMAL));
  EXPECT_EQ(RunEntry(), runKey.StartCommand() + " 45");
  ASSERT_NE(app.GetMainWnd(), nullptr);
  EXPECT_TRUE(app.GetMainWnd()->isVisible());
  EXPECT_EQ(app.GetMainWnd()->GetDateLine(), "Friday, 14 February 2025 09:30 AM");
  EXPECT_NE(app.GetMainWnd()->GetReportPage().GetView()->toPlainText(), "");
  app.ExitInstance();
  EXPECT_EQ(app.GetMainWnd(), nullptr);
}

TEST_F(OrreryTest, OtherCommandLinesLeaveTheEntryAloneAndOpenTheWindow) {
  CRunKey runKey;
  ASSERT_TRUE(runKey.Apply(2));
  const std::string everyTime = RunEntry();
  for (const char* commandLine : {"44", "letters", ""}) {
    ASSERT_TRUE(app.InitInstance(commandLine, kFeb14, SW_SHOWNORMAL)) << commandLine;
    EXPECT_EQ(RunEntry(), everyTime) << commandLine;
    app.ExitInstance();
  }
}

TEST_F(OrreryTest, NotesThatCannotBeSavedAtExitAreNamedAndCanBeRetried) {
  const std::string dir = notesDir.file("not-yet");
  app.WriteProfileString("Schedule", "Path", dir + "/");
  ASSERT_TRUE(app.InitInstance("", CDateTime::GetCurrentTime(), SW_SHOWNORMAL));
  CNoteStore* notes = app.GetDocument()->GetNoteStore();
  notes->SetDatedText("Keep me");
  const std::string yearFile = dir + "/" + CNoteStore::YearFileName(notes->GetDate().GetYear());

  int asked = 0;
  QString text;
  OnNextModal([&](QWidget* w) {
    ++asked;
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    std::filesystem::create_directories(dir);
    box->button(QMessageBox::Retry)->click();
  });
  app.ExitInstance();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(text.contains(QString::fromStdString(yearFile))) << text.toStdString();
  EXPECT_TRUE(std::filesystem::exists(yearFile));
}

TEST_F(OrreryTest, PlacesThatCannotBeSavedAtExitAreToldAndCanBeRetried) {
  ASSERT_TRUE(app.InitInstance("", CDateTime::GetCurrentTime(), SW_SHOWNORMAL));
  app.GetPlaces()->SetLocation(2, Place("Lisbon", 38.7f, -9.1f));
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, true);
  int asked = 0;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    ++asked;
    EXPECT_TRUE(box->text().startsWith("Your places could not be saved.")) << box->text().toStdString();
    RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, false);
    box->button(QMessageBox::Retry)->click();
  });
  app.ExitInstance();
  EXPECT_EQ(asked, 1);
  CLocationStore reread;
  EXPECT_STREQ(reread.GetLocation(2)->name, "Lisbon");
}
