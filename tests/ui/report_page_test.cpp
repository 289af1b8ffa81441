// The Report page: first report, appended Sun and Moon sections, rebuilds,
// Clear and the view's popup menu.
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/note_dlg.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/ui/menu.h"
#include "tests/ui/orrery_fixture.h"

#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

namespace {

class ReportPageTest : public OrreryTest {
protected:
  ReportPageTest() : sheet(new CScdSheet) {
    sheet->SetDocument(&Doc());
    sheet->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet));
    page().Refresh();
  }
  ~ReportPageTest() override { delete sheet.data(); }
  CReportPage& page() { return sheet->GetReportPage(); }
  CMenuEdit& view() { return *page().GetView(); }
  QString Text() { return view().toPlainText(); }
  QString Selected() { return view().textCursor().selectedText(); }
  void Reactivate() {
    sheet->SetActivePage(1);
    sheet->SetActivePage(0);
  }
  QPointer<CScdSheet> sheet;
};

}  // namespace

TEST_F(ReportPageTest, FirstReportLeavesTheCaretAtTheEndShowingTheBeginning) {
  CReportPage::SetLastBlockPositionForTesting(0);
  view().clear();
  page().Refresh();
  ASSERT_FALSE(Text().isEmpty());
  int start = 0, end = 0;
  view().GetSel(start, end);
  EXPECT_EQ(start, view().GetWindowTextLength());
  EXPECT_EQ(end, start);
  EXPECT_EQ(view().verticalScrollBar()->value(), 0);
}

TEST_F(ReportPageTest, AnotherDateAppendsASectionOnceAndHighlightsItsFirstLine) {
  const QString report = Text();
  Doc().SetReportDate(7, 4, 2030);
  Reactivate();
  const QString appended = Text();
  ASSERT_TRUE(appended.startsWith(report));
  ASSERT_GT(appended.size(), report.size());
  const int block = CReportPage::GetLastBlockPosition();
  EXPECT_EQ(block, report.size());
  const QString firstLine = appended.mid(block).section('\n', 0, 0);
  EXPECT_TRUE(firstLine.contains("2030")) << firstLine.toStdString();
  EXPECT_EQ(Selected().trimmed(), firstLine.trimmed());
  QScrollBar* bar = view().verticalScrollBar();
  EXPECT_EQ(bar->value(), bar->maximum());

  view().SetSel(0, 0);
  Reactivate();  // nothing changed: nothing appended, the same line highlighted
  EXPECT_EQ(Text(), appended);
  EXPECT_EQ(Selected().trimmed(), firstLine.trimmed());
}

TEST_F(ReportPageTest, ChangedNotesRebuildTheReportAndDropAppendedSections) {
  Doc().SetReportDate(7, 4, 2030);
  Reactivate();
  const int block = CReportPage::GetLastBlockPosition();
  CNoteStore* notes = Doc().GetNoteStore();
  notes->SetDate(CDateTime::GetCurrentTime());
  notes->SetDatedText("Dentist at ten");
  Reactivate();
  EXPECT_TRUE(Text().contains("Dentist at ten"));
  EXPECT_FALSE(Text().contains("2030"));
  EXPECT_EQ(CReportPage::GetLastBlockPosition(), block);
}

TEST_F(ReportPageTest, ButtonsHaveTooltips) {
  for (int id : {int(IDC_CLEAR), int(IDCANCEL), int(ID_HELP_FINDER)})
    EXPECT_FALSE(page().GetDlgItem(id)->toolTip().isEmpty()) << id;
  EXPECT_TRUE(page().GetDlgItem(IDC_REPORT_VIEW)->toolTip().isEmpty());
}

TEST_F(ReportPageTest, ClearEmptiesTheViewUntilTheNextActivation) {
  Doc().SetReportDate(7, 4, 2030);
  page().SendCommand(IDC_CLEAR);
  EXPECT_TRUE(Text().isEmpty());
  Reactivate();
  EXPECT_FALSE(Text().isEmpty());
  EXPECT_FALSE(Text().contains("2030"));
}

TEST_F(ReportPageTest, PopupMenuGreysCopyAndSelectAllAndMakesEditNotesBold) {
  struct Case {
    bool empty;
    int start, end;
    bool copy, selectAll;
  } cases[] = {
      {true, 0, 0, false, false},
      {false, 3, 3, false, true},
      {false, 0, 5, true, true},
  };
  for (const Case& c : cases) {
    if (c.empty) view().clear();
    else if (Text().isEmpty()) page().Refresh();
    view().SetSel(c.start, c.end);
    std::unique_ptr<CMenu> menu = CMenu::Load(IDR_REPORT_MENU);
    ASSERT_NE(menu, nullptr);
    view().PrepareMenu(*menu);
    EXPECT_EQ(menu->IsEnabled(ID_EDIT_COPY), c.copy) << c.start << "-" << c.end;
    EXPECT_EQ(menu->IsEnabled(ID_EDIT_SELECT_ALL), c.selectAll) << c.empty;
    EXPECT_TRUE(menu->IsEnabled(ID_EDIT_NOTES));
    EXPECT_EQ(menu->GetDefaultItem(), ID_EDIT_NOTES);
  }
  view().OnMenuCommand(ID_EDIT_SELECT_ALL);
  int start = 0, end = 0;
  view().GetSel(start, end);
  EXPECT_EQ(end - start, view().GetWindowTextLength());
}

TEST_F(ReportPageTest, DoubleClickOpensTheNotesOnTodayWithoutSelecting) {
  view().SetSel(0, 0);
  QString caption, selected = "not asked";
  OnNextModal([&](QWidget* w) {
    if (auto* dialog = qobject_cast<CNoteDlg*>(w)) caption = dialog->GetDlgItemText(IDC_NOTES_CAPTION);
    selected = Selected();
    w->close();
  });
  QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(caption.toStdString(), CDateTime::GetCurrentTime().Format("%d %B %Y   %A"));
  EXPECT_EQ(selected, "");
}

TEST_F(ReportPageTest, QuestionMarkButtonThenAClickAsksForTheControlsPopup) {
  ASSERT_TRUE(sheet->HasContextHelpButton());
  QTest::mouseClick(sheet->GetContextHelpButton(), Qt::LeftButton);
  EXPECT_TRUE(IsHelpMode());
  QTest::mouseClick(page().GetDlgItem(IDC_CLEAR), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(IsHelpMode());
  EXPECT_FALSE(Text().isEmpty());  // the click did not clear

  page().GetDlgItem(IDC_CLEAR)->setFocus();
  QTest::keyClick(page().GetDlgItem(IDC_CLEAR), Qt::Key_F1);  // F1: the page's topic
  view().OnMenuCommand(ID_HELP);                              // "&What's This?" alike
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXTPOPUP, 0x103E8},
                                           {HELP_CONTEXT, IDD_REPORT},
                                           {HELP_CONTEXT, IDD_REPORT}}));
}
