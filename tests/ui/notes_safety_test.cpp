// Orrery keeps what the user wrote: a new notes folder offered the notes,
// the session's end, other writers, damaged notes files and settings.
#include "orrery/notes/note_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/registry.h"
#include "platform/ui/placement.h"
#include "platform/ui/shell.h"
#include "tests/ui/orrery_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string YearFile(const std::string& dir, const CDateTime& date) {
  return dir + "/" + CNoteStore::YearFileName(date.GetYear());
}

// Answers the folder picker with folder, then the question that follows
// with button (none: no question is expected). Returns the question's text
// and the folder the picker would have opened at.
struct PickResult {
  QString question;
  QString openedAt;
};

PickResult PickFolder(CScdSheet& sheet, const std::string& folder, QMessageBox::StandardButton button) {
  PickResult result;
  SetFolderBrowserForTesting([&](const QString&, const std::string& start) {
    result.openedAt = QString::fromStdString(start);
    if (button != QMessageBox::NoButton) {
      OnNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        result.question = box->text();
        box->button(button)->click();
      });
    }
    return std::optional<std::string>(folder);
  });
  sheet.OnSysCommand(IDM_PERSONAL_DIRECTORY);
  SetFolderBrowserForTesting(nullptr);
  return result;
}

}  // namespace

TEST_F(OrreryTest, AFolderWithoutNotesOffersToMoveThemAndEachAnswerDoesWhatItSays) {
  struct Case {
    QMessageBox::StandardButton button;
    bool switched;
    bool moved;
  };
  const Case cases[] = {
      {QMessageBox::Yes, true, true},
      {QMessageBox::No, true, false},
      {QMessageBox::Cancel, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    TempDir current, chosen;
    app.WriteProfileString("Schedule", "Path", current.path() + "/");
    CLocationStore places;
    CReportDoc doc(&places);
    CNoteStore& notes = *doc.GetNoteStore();
    notes.SetDatedText("Pack the telescope");
    ASSERT_TRUE(notes.SaveChanges());
    const std::string oldFile = YearFile(current.path(), notes.GetDate());
    const std::string newFile = YearFile(chosen.path(), notes.GetDate());
    {
      CScdSheet sheet;
      sheet.SetDocument(&doc);
      const PickResult r = PickFolder(sheet, chosen.path(), c.button);
      EXPECT_EQ(QDir(r.openedAt).absolutePath().toStdString(), current.path());
      EXPECT_TRUE(r.question.contains(QString::fromStdString(chosen.path()))) << r.question.toStdString();
    }
    EXPECT_EQ(notes.GetDirectory(), (c.switched ? chosen.path() : current.path()) + "/");
    EXPECT_EQ(fs::exists(newFile), c.moved);
    EXPECT_EQ(fs::exists(oldFile), !c.moved);
    EXPECT_EQ(notes.GetDatedText(), c.button == QMessageBox::No ? "" : "Pack the telescope");
  }
}

TEST_F(OrreryTest, AFolderThatHasNotesIsTakenWithoutAQuestion) {
  TempDir chosen;
  CNoteStore& notes = *Doc().GetNoteStore();
  notes.SetDatedText("Here");
  ASSERT_TRUE(notes.SaveChanges());
  WriteFileBytes(chosen.file(CNoteStore::AnnualFileName()), std::string(12 * 31 * 5, '\0'));
  CScdSheet sheet;
  sheet.SetDocument(&Doc());
  PickFolder(sheet, chosen.path(), QMessageBox::NoButton);
  EXPECT_EQ(notes.GetDirectory(), chosen.path() + "/");
  EXPECT_TRUE(fs::exists(YearFile(notesDir.path(), notes.GetDate())));
}

TEST_F(OrreryTest, TheSessionsEndKeepsWhatIsTypedInTheNotesDialogAndClosesAsClose) {
  ASSERT_TRUE(app.InitInstance("", CDateTime::GetCurrentTime(), SW_SHOWNORMAL));
  CScdSheet* sheet = app.GetMainWnd();
  const CDateTime today = CDateTime::GetCurrentTime();
  OnNextModal([&](QWidget* w) {
    auto* edit = w->findChild<QPlainTextEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setPlainText("Typed before the logout");
    app.EndSession();
  });
  sheet->GetReportPage().OnEditNotes();
  QTest::qWaitFor([&] { return app.GetMainWnd() == nullptr; }, 3000);
  EXPECT_EQ(app.GetMainWnd(), nullptr);
  EXPECT_NE(app.GetProfileInt("WindowPos", "right", -1), -1);  // placement saved as at Close
  app.ExitInstance();

  CNoteStore reread;
  ASSERT_TRUE(reread.SetDate(today));
  EXPECT_EQ(reread.GetDatedText(), "Typed before the logout");
}

TEST_F(OrreryTest, NotesAnotherProgramSavesShowInTheReport) {
  ASSERT_TRUE(app.InitInstance("", CDateTime::GetCurrentTime(), SW_SHOWNORMAL));
  CMenuEdit* view = app.GetMainWnd()->GetReportPage().GetView();
  ASSERT_NE(view, nullptr);
  {
    CNoteStore other;
    other.SetDatedText("Written by lumen");
    ASSERT_TRUE(other.SaveChanges());
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->toPlainText().contains("Written by lumen"); }, 3000))
      << view->toPlainText().toStdString();
}

TEST_F(OrreryTest, ADamagedNotesFileIsKeptAndTheUserToldOnceNamingBothFiles) {
  const CDateTime today = CDateTime::GetCurrentTime();
  const std::string file = YearFile(notesDir.path(), today);
  const std::string damaged = "not a notes file at all";
  WriteFileBytes(file, damaged);
  ASSERT_TRUE(app.InitInstance("", today, SW_SHOWNORMAL));
  app.GetDocument()->GetNoteStore()->SetDatedText("New note");
  int told = 0;
  QString text;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    ++told;
    text = box->text();
    box->accept();
  });
  app.ExitInstance();
  EXPECT_EQ(told, 1);
  std::string kept;
  for (const auto& entry : fs::directory_iterator(notesDir.path()))
    if (entry.path().filename().string().find(".damaged-") != std::string::npos) kept = entry.path();
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(ReadFileBytes(kept), damaged);
  EXPECT_TRUE(text.contains(QString::fromStdString(file))) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromStdString(kept))) << text.toStdString();
}

TEST_F(OrreryTest, UnreadableSettingsAreNamedAtStartAndLeftAsTheyAre) {
  RegResetForTesting();
  const std::string hive = registry.path() + "/user.db";
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(hive + suffix);
  const std::string garbage(4096, '\x5a');
  WriteFileBytes(hive, garbage);
  QString text;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
  ASSERT_TRUE(app.InitInstance("", CDateTime::GetCurrentTime(), SW_SHOWNORMAL));
  EXPECT_TRUE(text.contains(QString::fromStdString(hive))) << text.toStdString();
  app.GetDocument()->GetNoteStore()->SetDatedText("Nowhere to go");
  app.ExitInstance();
  EXPECT_EQ(ReadFileBytes(hive), garbage);
  EXPECT_FALSE(fs::exists(notesDir.path() + "/" + CNoteStore::YearFileName(CDateTime::GetCurrentTime().GetYear())));
}
