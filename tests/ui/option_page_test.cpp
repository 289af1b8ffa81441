// The Options page: the quotation files with Add, Remove and Create, the
// report's parts and the first name, and the start mode at closing.
#include "orrery/app/run_key.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/about_dlg.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/autostart.h"
#include "platform/ui/list_controls.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/orrery_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include <filesystem>

namespace {

class OptionPageTest : public OrreryTest {
protected:
  OptionPageTest() : sheet(new CScdSheet) {
    sheet->SetDocument(&Doc());
    sheet->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet));
  }
  ~OptionPageTest() override {
    delete sheet.data();
    // The pages applied their start mode on the way: leave no entry behind.
    std::filesystem::remove_all(AutostartFolder());
  }
  static std::string AutostartFolder() {
    const std::string entry = AutostartEntryPath();
    return entry.substr(0, entry.rfind('/'));
  }
  void Open() {
    sheet->SetActivePage(3);
    ASSERT_TRUE(page().IsCreated());
  }
  COptionPage& page() { return sheet->GetOptionPage(); }
  CListBox& list() { return *page().GetQuoteListBox(); }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < list().GetCount(); ++i) items << list().GetText(i);
    return items;
  }
  bool RemoveEnabled() { return page().GetDlgItem(IDC_REMOVE)->isEnabled(); }
  // Answers the file dialog of Add with path; records its settings.
  void ChooseInAdd(const std::string& path) {
    OnNextModal([this, path](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      dialogTitle = dialog->windowTitle();
      dialogSuffix = dialog->defaultSuffix();
      TypeFileName(dialog, path);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    page().SendCommand(IDC_ADD);
  }
  // Runs command and records the text and caption of the message box it shows.
  void ExpectMessage(unsigned command, const QString& text, const QString& caption = {}) {
    QString shown, title;
    OnNextModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      shown = box->text();
      title = box->windowTitle();
      box->accept();
    });
    page().SendCommand(command);
    EXPECT_EQ(shown, text);
    if (!caption.isEmpty()) {
      EXPECT_EQ(title, caption);
    }
  }
  // Closes the main window as the user does; the pages go with it.
  void CloseWindow() {
    sheet->close();
    QTest::qWait(10);
    EXPECT_TRUE(sheet.isNull() || sheet->isHidden());
  }
  QPointer<CScdSheet> sheet;
  QString dialogTitle, dialogSuffix;
};

const char kUnreadable[] =
    "The quotation file you selected cannot be read.  Please select a different file.  ";

}  // namespace

TEST_F(OptionPageTest, AnEmptyListShowsOnlyNoDailyQuotation) {
  Open();
  EXPECT_EQ(Items(), QStringList{"No Daily Quotation at Startup"});
  EXPECT_EQ(list().GetCurSel(), 0);
  EXPECT_FALSE(RemoveEnabled());
}

TEST_F(OptionPageTest, AddListsAndSelectsAFileOnceWhateverItsSpelling) {
  const std::string path = MakeQuoteFile("wisdom.day", "Wisdom");
  MakeQuoteFile("blank.day", "");
  Open();
  ChooseInAdd(path);
  EXPECT_EQ(dialogTitle, "Select Quotation File");
  EXPECT_EQ(dialogSuffix, "day");
  EXPECT_EQ(Items(), QStringList({"No Daily Quotation at Startup", "Wisdom"}));
  EXPECT_EQ(list().GetCurSel(), 1);
  EXPECT_TRUE(RemoveEnabled());

  ChooseInAdd(notesDir.path() + "/./wisdom.day");
  EXPECT_EQ(Items(), QStringList({"No Daily Quotation at Startup", "Wisdom"}));

  ChooseInAdd(notesDir.file("blank.day"));
  EXPECT_EQ(Items(), QStringList({"No Daily Quotation at Startup", "Wisdom", "Untitled Quotation File"}));
  EXPECT_EQ(list().GetCurSel(), 2);
  EXPECT_EQ(Doc().GetQuoteList()->GetCurrent(), 2);
}

TEST_F(OptionPageTest, AFileThatIsNoQuotationFileChangesNothing) {
  MakeQuoteFile("wisdom.day", "Wisdom");
  WriteFileBytes(notesDir.file("notes.day"), "LMAQF09 not a quotation file");
  Open();
  ChooseInAdd(notesDir.file("wisdom.day"));
  QString text, caption;
  OnNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    TypeFileName(dialog, notesDir.file("notes.day"));
    // The message box follows the file dialog.
    OnNextModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      text = box->text();
      caption = box->windowTitle();
      box->accept();
    });
    QMetaObject::invokeMethod(dialog, "accept");
  });
  page().SendCommand(IDC_ADD);
  EXPECT_EQ(text, kUnreadable);
  EXPECT_EQ(caption, "Try Again");
  EXPECT_EQ(Items(), QStringList({"No Daily Quotation at Startup", "Wisdom"}));
  EXPECT_EQ(list().GetCurSel(), 1);
}

TEST_F(OptionPageTest, RemoveSelectsTheFileThatMovedUpOrTheOneBefore) {
  CQuoteList& quotes = *Doc().GetQuoteList();
  for (const char* name : {"a", "b", "c"})
    quotes.AddFile(MakeQuoteFile(std::string(name) + ".day", std::string("Title ") + name));
  quotes.SetCurrent(2);
  Open();
  EXPECT_EQ(list().GetCurSel(), 2);
  page().SendCommand(IDC_REMOVE);
  EXPECT_EQ(Items(), QStringList({"No Daily Quotation at Startup", "Title a", "Title c"}));
  EXPECT_EQ(list().GetCurSel(), 2);  // the file that was third
  page().SendCommand(IDC_REMOVE);
  EXPECT_EQ(list().GetCurSel(), 1);  // the last one went: the one before it
  page().SendCommand(IDC_REMOVE);
  EXPECT_EQ(Items(), QStringList{"No Daily Quotation at Startup"});
  EXPECT_EQ(list().GetCurSel(), 0);
  EXPECT_FALSE(RemoveEnabled());
  page().SendCommand(IDC_REMOVE);  // nothing to remove
  EXPECT_EQ(Doc().GetQuoteList()->GetCurrent(), 0);
}

TEST_F(OptionPageTest, LeavingStoresTheChoices) {
  CQuoteList& quotes = *Doc().GetQuoteList();
  quotes.SetCurrent(quotes.AddFile(MakeQuoteFile("a.day", "A")));
  Open();
  list().SetCurSel(0);
  page().CheckDlgButton(IDC_MOON, false);
  page().CheckDlgButton(IDC_PHASE, false);
  page().SetDlgItemText(IDC_FIRST_NAME, "Robin");
  sheet->SetActivePage(0);
  EXPECT_EQ(quotes.GetCurrent(), 0) << "item 0 turns the daily quotation off";
  EXPECT_EQ(Doc().GetMoon(), 0);
  EXPECT_EQ(Doc().GetPhase(), 0);
  EXPECT_EQ(Doc().GetSun(), 1);
  EXPECT_EQ(Doc().GetGreetingObj()->GetName(), "Robin");
  const QString report = sheet->GetReportPage().GetView()->toPlainText();
  EXPECT_TRUE(report.contains("Robin!")) << report.toStdString();
}

TEST_F(OptionPageTest, GreetingsOffGreysTheFirstName) {
  Open();
  QWidget* name = page().GetDlgItem(IDC_FIRST_NAME);
  EXPECT_TRUE(name->isEnabled());
  auto* greet = qobject_cast<QAbstractButton*>(page().GetDlgItem(IDC_GREET));
  greet->click();
  EXPECT_FALSE(name->isEnabled());
  greet->click();
  EXPECT_TRUE(name->isEnabled());
}

TEST_F(OptionPageTest, ADoubleClickMakesAFileCurrentAndShowsItInTheAboutBox) {
  CQuoteList& quotes = *Doc().GetQuoteList();
  quotes.AddFile(MakeQuoteFile("a.day", "First", "About the first"));
  quotes.AddFile(MakeQuoteFile("b.day", "Second", "About the second"));
  quotes.SetCurrent(1);
  Open();
  QStringList texts;
  OnNextModal([&](QWidget* w) {
    auto* about = qobject_cast<CAboutDlg*>(w);
    ASSERT_NE(about, nullptr);
    texts << about->GetDlgItemText(IDC_QUOTE_TITLE) << about->GetDlgItemText(IDC_QUOTE_SUBTITLE);
    about->reject();
  });
  const QRect item = list().visualItemRect(list().item(2));
  QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, item.center());
  QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, item.center());
  EXPECT_EQ(texts, QStringList({"Second", "About the second"}));
  EXPECT_EQ(quotes.GetCurrent(), 2);
}

TEST_F(OptionPageTest, CreateWithoutAdagioBesideTheProgramSaysSo) {
  // The test program's folder holds no Adagio.
  Open();
  ExpectMessage(IDC_CREATE,
                "Cannot start the quotation generator.  Make sure the file Adagio.exe is present.  "
                "If not, try reinstalling Lumen Almanac again.");
}

TEST_F(OptionPageTest, TheStartModeReachesTheAutostartEntryWhenTheWindowCloses) {
  struct Case {
    int radio;  // 0: none checked
    int state;
  } cases[] = {
      {IDC_START_ALWAYS, 2}, {IDC_START_DAILY, 1}, {IDC_START_ON_REQUEST, 0}, {0, 2},
  };
  for (const Case& c : cases) {
    if (!sheet) {
      sheet = new CScdSheet;
      sheet->SetDocument(&Doc());
    }
    Open();
    page().CheckRadioButton(IDC_START_ON_REQUEST, IDC_START_ALWAYS, c.radio);
    CloseWindow();
    EXPECT_EQ(CRunKey().GetState(), c.state) << c.radio;
    EXPECT_EQ(std::filesystem::exists(AutostartEntryPath()), c.state != 0) << c.radio;
    // The next window shows the mode stored.
    sheet = new CScdSheet;
    sheet->SetDocument(&Doc());
    Open();
    EXPECT_EQ(page().GetCheckedRadioButton(IDC_START_ON_REQUEST, IDC_START_ALWAYS),
              IDC_START_ON_REQUEST + c.state);
    delete sheet.data();
  }
}

TEST_F(OptionPageTest, AnEntryThatCannotBeWrittenIsReportedAtClosing) {
  // A file where the autostart folder should be: no entry can be made there.
  const std::string folder = AutostartFolder();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path());
  WriteFileBytes(folder, "not a folder");
  Open();
  page().CheckRadioButton(IDC_START_ON_REQUEST, IDC_START_ALWAYS, IDC_START_ALWAYS);
  QString text;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
  CloseWindow();
  EXPECT_TRUE(text.startsWith("Sorry, this program is unable to access the system registry."))
      << text.toStdString();
}
