// The Notes For The Day dialog: moves, the menu's greyed items, Today,
// closing with and without storing, the year change and context help.
#include "orrery/notes/note_store.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/note_dlg.h"
#include "platform/ui/menu.h"
#include "platform/ui/spin_button.h"
#include "tests/ui/orrery_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

#include <filesystem>

namespace {

class NoteDlgTest : public OrreryTest {
protected:
  void Open(const CDateTime& date) {
    store.SetDate(date);
    dialog.m_store = &store;
    ASSERT_TRUE(dialog.Create());
  }
  void Type(const QString& dated, const QString& annual, bool remind) {
    dialog.SetDlgItemText(IDC_DATED_NOTES, dated);
    dialog.SetDlgItemText(IDC_ANNUAL_NOTES, annual);
    dialog.CheckDlgButton(IDC_REMIND, remind);
  }
  QString Caption() { return dialog.GetDlgItemText(IDC_NOTES_CAPTION); }
  QString Dated() { return dialog.GetDlgItemText(IDC_DATED_NOTES); }
  std::string DatedOn(const CDateTime& day) {
    store.SetDate(day);
    return store.GetDatedText();
  }
  CNoteStore store;
  CNoteDlg dialog;
};

const CDateTime kMarch5(2005, 3, 5);

}  // namespace

TEST_F(NoteDlgTest, OpensOnTheStoresDateAndMovesByEveryCommand) {
  Open(kMarch5);
  EXPECT_EQ(Caption(), "05 March 2005   Saturday");
  struct Step {
    unsigned command;  // 0: the spin control's up arrow
    int offset;
    const char* caption;
  } steps[] = {
      {ID_NOTES_NEXT_DAY, 1, "06 March 2005   Sunday"},
      {ID_NOTES_NEXT_WEEK, 8, "13 March 2005   Sunday"},
      {ID_NOTES_PREVIOUS_DAY, 7, "12 March 2005   Saturday"},
      {ID_NOTES_PREVIOUS_WEEK, 0, "05 March 2005   Saturday"},
      {0, 1, "06 March 2005   Sunday"},
  };
  for (const Step& s : steps) {
    if (s.command)
      dialog.SendCommand(s.command);
    else
      dialog.GetSpin()->Step(1);
    EXPECT_EQ(dialog.GetDayOffset(), s.offset) << s.command;
    EXPECT_EQ(dialog.GetDlgItemInt(IDC_DAY_OFFSET), s.offset);
    EXPECT_EQ(Caption(), s.caption);
    EXPECT_EQ(store.GetDate().GetDate(), kMarch5.AddDays(s.offset).GetDate());
  }
}

TEST_F(NoteDlgTest, TypedNotesAndTheRemindFlagStayWithTheirDay) {
  Open(kMarch5);
  Type("Call Anna", "Anna's birthday", true);
  dialog.SendCommand(ID_NOTES_NEXT_DAY);
  EXPECT_EQ(Dated(), "");
  EXPECT_EQ(dialog.GetDlgItemText(IDC_ANNUAL_NOTES), "");
  EXPECT_FALSE(dialog.IsDlgButtonChecked(IDC_REMIND));
  dialog.SendCommand(ID_NOTES_PREVIOUS_DAY);
  EXPECT_EQ(Dated(), "Call Anna");
  EXPECT_EQ(dialog.GetDlgItemText(IDC_ANNUAL_NOTES), "Anna's birthday");
  EXPECT_TRUE(dialog.IsDlgButtonChecked(IDC_REMIND));
}

TEST_F(NoteDlgTest, MenuGreysTheMovesThatWouldLeaveTheRange) {
  Open(kMarch5);
  struct Case {
    int offset;
    bool nextDay, nextWeek, previousDay, previousWeek;
  } cases[] = {
      {0, true, true, true, true},
      {357, true, true, true, true},
      {360, true, false, true, true},
      {364, false, false, true, true},
      {-360, true, true, true, false},
      {-364, true, true, false, false},
  };
  for (const Case& c : cases) {
    dialog.GetSpin()->SetPos(c.offset);
    std::unique_ptr<CMenu> menu = CMenu::Load(IDR_NOTES_MENU);
    ASSERT_NE(menu, nullptr);
    dialog.PrepareMenu(*menu);
    EXPECT_EQ(menu->IsEnabled(ID_NOTES_NEXT_DAY), c.nextDay) << c.offset;
    EXPECT_EQ(menu->IsEnabled(ID_NOTES_NEXT_WEEK), c.nextWeek) << c.offset;
    EXPECT_EQ(menu->IsEnabled(ID_NOTES_PREVIOUS_DAY), c.previousDay) << c.offset;
    EXPECT_EQ(menu->IsEnabled(ID_NOTES_PREVIOUS_WEEK), c.previousWeek) << c.offset;
    EXPECT_TRUE(menu->IsEnabled(ID_NOTES_TODAY));
  }
}

TEST_F(NoteDlgTest, TodayAfter200DaysStartsTheRangeAgainFromToday) {
  const CDateTime now = CDateTime::GetCurrentTime();
  Open(now);
  dialog.GetSpin()->SetPos(200);
  dialog.ShowDay(0);
  EXPECT_EQ(store.GetDate().GetDate(), now.AddDays(200).GetDate());
  dialog.SendCommand(ID_NOTES_TODAY);
  EXPECT_EQ(dialog.GetDayOffset(), 0);
  EXPECT_EQ(dialog.GetSpin()->GetPos(), 0);
  EXPECT_EQ(Caption().toStdString(), now.Format("%d %B %Y   %A"));
  dialog.GetSpin()->SetPos(364);
  dialog.ShowDay(0);
  EXPECT_EQ(store.GetDate().GetDate(), CDateTime::GetCurrentTime().AddDays(364).GetDate());
}

TEST_F(NoteDlgTest, EscDiscardsOnlyTheDayShownAndCloseStoresIt) {
  Open(kMarch5);
  Type("left earlier", "", false);
  dialog.SendCommand(ID_NOTES_NEXT_DAY);
  Type("typed, then Esc", "", false);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), int(IDCANCEL));
  EXPECT_EQ(DatedOn(kMarch5), "left earlier");
  EXPECT_EQ(DatedOn(kMarch5.AddDays(1)), "");

  CNoteDlg again;
  again.m_store = &store;
  store.SetDate(kMarch5);
  ASSERT_TRUE(again.Create());
  again.SetDlgItemText(IDC_DATED_NOTES, "line one\nline two");
  again.SendCommand(IDC_NOTES_CLOSE);
  EXPECT_EQ(again.result(), int(IDOK));
  EXPECT_EQ(DatedOn(kMarch5), "line one\r\nline two");
}

TEST_F(NoteDlgTest, MovingIntoTheNextYearSavesTheOldYear) {
  Open(CDateTime(2005, 12, 31));
  Type("New Year's Eve", "", false);
  dialog.SendCommand(ID_NOTES_NEXT_DAY);
  EXPECT_EQ(Caption(), "01 January 2006   Sunday");
  EXPECT_TRUE(std::filesystem::exists(notesDir.file("Year2005.scd")));
  dialog.SendCommand(ID_NOTES_PREVIOUS_DAY);
  EXPECT_EQ(Dated(), "New Year's Eve");
}

TEST_F(NoteDlgTest, ContextHelpAsksForTheControlsPopups) {
  Open(kMarch5);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  for (int id : {IDC_NOTES_CLOSE, IDC_REMIND}) {
    dialog.OnSysCommand(SC_CONTEXTHELP);
    QTest::mouseClick(dialog.GetDlgItem(id), Qt::LeftButton, {}, QPoint(5, 5));
  }
  using Call = std::pair<HelpCommand, unsigned long>;
  EXPECT_EQ(help.calls, (std::vector<Call>{{HELP_CONTEXTPOPUP, 0x10426}, {HELP_CONTEXTPOPUP, 0x1043D}}));
  EXPECT_TRUE(dialog.isVisible());  // the click on Close did not close it
  EXPECT_FALSE(dialog.IsDlgButtonChecked(IDC_REMIND));
  dialog.hide();
}

TEST_F(NoteDlgTest, NotesLeftAsTheyAreKeepTheirBytes) {
  // Bytes the user's charset cannot show, and a lone CR, as older files or
  // other programs may hold them.
  const std::string dated = "caf\xE9 \xFF\rend", annual = "tab\there\r\n\x80";
  store.SetDate(kMarch5);
  store.SetDatedText(dated);
  store.SetAnnualText(annual);
  Open(kMarch5);
  dialog.SendCommand(ID_NOTES_NEXT_DAY);
  dialog.SendCommand(ID_NOTES_PREVIOUS_DAY);
  dialog.SendCommand(IDC_NOTES_CLOSE);
  store.SetDate(kMarch5);
  EXPECT_EQ(store.GetDatedText(), dated);
  EXPECT_EQ(store.GetAnnualText(), annual);
}

TEST_F(NoteDlgTest, AYearThatCannotBeSavedKeepsTheDayShownAndItsTyping) {
  Open(CDateTime(2005, 12, 31));
  Type("New Year's Eve", "", false);
  // The personal directory is gone and a file stands in its place.
  std::filesystem::remove_all(notesDir.path());
  WriteFileBytes(notesDir.path(), "not a folder");
  QString text;
  OnNextModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  dialog.SendCommand(ID_NOTES_NEXT_DAY);
  EXPECT_TRUE(text.contains(QString::fromStdString(notesDir.file("Year2005.scd")))) << text.toStdString();
  EXPECT_EQ(Caption(), "31 December 2005   Saturday");
  EXPECT_EQ(Dated(), "New Year's Eve");
  EXPECT_EQ(dialog.GetDayOffset(), 0);

  std::filesystem::remove(notesDir.path());
  std::filesystem::create_directories(notesDir.path());
  dialog.SendCommand(ID_NOTES_NEXT_DAY);
  EXPECT_EQ(Caption(), "01 January 2006   Sunday");
  EXPECT_TRUE(std::filesystem::exists(notesDir.file("Year2005.scd")));
}
