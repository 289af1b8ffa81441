// The Dates page and its calendar: the calendar's properties and events,
// the notes view and its blank lines, Edit Notes, Today, the report date and
// the bold days.
#include "orrery/notes/note_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/msacal70.h"
#include "orrery/ui/note_dlg.h"
#include "orrery/ui/scd_sheet.h"
#include "tests/ui/orrery_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QPointer>
#include <QTest>
#include <QTextCharFormat>
#include <QToolButton>

#include <vector>

namespace {

// The calendar's grid cell of a day of the month shown: days before the
// 15th are the first cells with their number, later days the last ones
// (the first and last rows also show days of the months around).
QRect DayCell(QCalendarWidget* calendar, int day) {
  auto* view = calendar->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"));
  QAbstractItemModel* model = view->model();
  QModelIndex found;
  for (int row = 1; row < model->rowCount(); ++row)
    for (int column = 0; column < model->columnCount(); ++column) {
      const QModelIndex index = model->index(row, column);
      if (model->data(index).toInt() != day) continue;
      if (!found.isValid() || day >= 15) found = index;
    }
  return view->visualRect(found);
}

QWidget* GridOf(QCalendarWidget* calendar) {
  return calendar->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"))
      ->viewport();
}

void ClickDay(QCalendarWidget* calendar, int day) {
  QTest::mouseClick(GridOf(calendar), Qt::LeftButton, {}, DayCell(calendar, day).center());
  QApplication::processEvents();
}

void NextMonth(QCalendarWidget* calendar) {
  calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"))->click();
  QApplication::processEvents();
}

class CalendarTest : public ::testing::Test {
protected:
  CalendarTest() {
    calendar.onEvent = [this](int e) { events.push_back(e); };
    calendar.resize(330, 200);
    calendar.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&calendar));
  }
  void Set(int year, int month, int day) {
    EXPECT_TRUE(calendar.SetYear(static_cast<short>(year)));
    EXPECT_TRUE(calendar.SetMonth(static_cast<short>(month)));
    EXPECT_TRUE(calendar.SetDay(static_cast<short>(day)));
  }
  QDate Value() { return QDate(calendar.GetYear(), calendar.GetMonth(), calendar.GetDay()); }
  CMsacal70 calendar;
  std::vector<int> events;
};

class DatePageTest : public OrreryTest {
protected:
  DatePageTest() : sheet(new CScdSheet) {
    sheet->SetDocument(&Doc());
    sheet->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet));
  }
  ~DatePageTest() override {
    CDateTime::FixCurrentTime(CDateTime());
    delete sheet.data();
  }
  void Open() {
    sheet->SetActivePage(1);
    ASSERT_EQ(sheet->GetActivePage(), &page());
  }
  CDatePage& page() { return sheet->GetDatePage(); }
  CMsacal70& calendar() { return *page().GetCalendar(); }
  QString View() { return page().GetNotesView()->toPlainText(); }
  void Write(const CDateTime& date, const std::string& dated, const std::string& annual, int remind = 0) {
    CNoteStore& notes = *Doc().GetNoteStore();
    notes.SetDate(date);
    notes.SetDatedText(dated);
    notes.SetAnnualText(annual);
    notes.SetRemind(remind);
  }
  bool Bold(int year, int month, int day) {
    return calendar().GetCalendarWidget()->dateTextFormat(QDate(year, month, day)).fontWeight() ==
           QFont::Bold;
  }
  QPointer<CScdSheet> sheet;
};

}  // namespace

TEST_F(CalendarTest, SettingYearMonthAndDayInTurnNeverPassesAnInvalidDate) {
  struct Case {
    QDate from;
    int year, month, day;
  } cases[] = {
      {{2026, 1, 31}, 2028, 2, 29},  // 31 January -> February: its last day on the way
      {{2028, 2, 29}, 2027, 3, 31},  // 29 February into a common year
      {{2026, 12, 31}, 2026, 4, 30},
      {{2026, 5, 15}, 9999, 12, 31},
  };
  for (const Case& c : cases) {
    Set(c.from.year(), c.from.month(), c.from.day());
    EXPECT_TRUE(calendar.SetYear(static_cast<short>(c.year)));
    EXPECT_TRUE(Value().isValid());
    EXPECT_TRUE(calendar.SetMonth(static_cast<short>(c.month)));
    EXPECT_TRUE(Value().isValid());
    EXPECT_TRUE(calendar.SetDay(static_cast<short>(c.day)));
    EXPECT_EQ(Value(), QDate(c.year, c.month, c.day)) << c.from.toString().toStdString();
    EXPECT_EQ(calendar.GetCalendarWidget()->selectedDate(), Value());
    EXPECT_EQ(calendar.GetValue(), CDateTime(c.year, c.month, c.day));
  }
  EXPECT_TRUE(events.empty()) << "the program's own changes raise no events";
}

TEST_F(CalendarTest, ValuesOutOfRangeChangeNothing) {
  Set(2026, 4, 10);
  EXPECT_FALSE(calendar.SetMonth(13));
  EXPECT_FALSE(calendar.SetMonth(0));
  EXPECT_FALSE(calendar.SetDay(31));
  EXPECT_FALSE(calendar.SetDay(0));
  EXPECT_FALSE(calendar.SetYear(99));
  EXPECT_FALSE(calendar.SetYear(10000));
  EXPECT_EQ(Value(), QDate(2026, 4, 10));
}

TEST_F(CalendarTest, TheUsersActionsRaiseOneEventEach) {
  Set(2026, 11, 20);
  ClickDay(calendar.GetCalendarWidget(), 5);
  EXPECT_EQ(Value(), QDate(2026, 11, 5));
  EXPECT_EQ(events, std::vector<int>{CMsacal70::kAfterUpdate});

  events.clear();
  NextMonth(calendar.GetCalendarWidget());
  EXPECT_EQ(events, std::vector<int>{CMsacal70::kNewMonth});
  EXPECT_EQ(Value(), QDate(2026, 12, 5));

  // Across New Year: one event, the year's.
  events.clear();
  NextMonth(calendar.GetCalendarWidget());
  EXPECT_EQ(events, std::vector<int>{CMsacal70::kNewYear});
  EXPECT_EQ(Value(), QDate(2027, 1, 5));

  // A day of another month reached with the arrow keys is a day chosen.
  Set(2027, 1, 31);
  events.clear();
  QTest::keyClick(GridOf(calendar.GetCalendarWidget()), Qt::Key_Right);
  QApplication::processEvents();
  EXPECT_EQ(Value(), QDate(2027, 2, 1));
  EXPECT_EQ(events, std::vector<int>{CMsacal70::kAfterUpdate});

  events.clear();
  QTest::keyClick(GridOf(calendar.GetCalendarWidget()), Qt::Key_Return);
  EXPECT_EQ(events, std::vector<int>{CMsacal70::kDblClick});
}

TEST_F(CalendarTest, TodayRaisesADateChangeOnlyWhenItMoves) {
  CDateTime::FixCurrentTime(CDateTime(2026, 12, 11, 9, 0, 0));
  Set(2026, 3, 1);
  calendar.Today();
  calendar.Today();
  EXPECT_EQ(Value(), QDate(2026, 12, 11));
  EXPECT_EQ(events, std::vector<int>{CMsacal70::kAfterUpdate});
  CDateTime::FixCurrentTime(CDateTime());
}

TEST_F(DatePageTest, OpensOnTheReportDateAndFollowsTheDayChosen) {
  Write(CDateTime(2027, 3, 9), "Dentist", "");
  Write(CDateTime(2027, 3, 10), "Library books", "");
  Doc().SetReportDate(3, 9, 2027);
  Open();
  EXPECT_EQ(calendar().GetValue(), CDateTime(2027, 3, 9));
  EXPECT_EQ(View(), "Dentist\n\n");
  ClickDay(calendar().GetCalendarWidget(), 10);
  EXPECT_EQ(View(), "Library books\n\n");
  EXPECT_EQ(Doc().GetNoteStore()->GetDate(), CDateTime(2027, 3, 10));
}

TEST_F(DatePageTest, EmptyPartsLeaveNoBlankLines) {
  const CDateTime day(2027, 6, 7);
  Write(day.AddDays(2), "Flagged", "", 1);  // an advance reminder for day
  struct Case {
    const char* dated;
    const char* annual;
    bool reminder;
    const char* shown;
  } cases[] = {
      {"A", "B", false, "A\n\nB\n\n"},
      {"", "B", false, "B\n\n"},
      {"A", "", false, "A\n\n"},
      {"", "", false, ""},
      {"A", "", true, "A\n\nAnd Don't Forget...\n(Wed) - Flagged\n\n"},
  };
  Open();
  for (const Case& c : cases) {
    Write(day, c.dated, c.annual);
    Write(day.AddDays(2), "Flagged", "", c.reminder ? 1 : 0);
    calendar().SetYear(2027);
    calendar().SetMonth(6);
    calendar().SetDay(7);
    page().UpdateNotesView();
    EXPECT_EQ(View(), c.shown) << c.dated << "/" << c.annual;
  }
}

TEST_F(DatePageTest, ShowQuotationsAppendsTheDaysQuotationAfterTheNotes) {
  const std::string path = MakeQuoteFile("q.day", "Sayings", "", "Every day is a good day.");
  CQuoteList& list = *Doc().GetQuoteList();
  list.SetCurrent(list.AddFile(path));
  Write(CDateTime(2027, 2, 2), "", "B");
  Doc().SetReportDate(2, 2, 2027);
  Open();
  EXPECT_EQ(View(), "B\n\n");
  page().SendCommand(ID_SHOW_QUOTATIONS);
  EXPECT_TRUE(page().GetNotesView()->GetQuoteCheck());
  EXPECT_TRUE(View().startsWith("B\n\n"));
  EXPECT_GT(View().size(), 3);
  EXPECT_EQ(View().mid(3).toStdString(), list.GetDailyQuote());
  page().SendCommand(ID_SHOW_QUOTATIONS);
  EXPECT_EQ(View(), "B\n\n");
}

TEST_F(DatePageTest, AnotherMonthSelectsItsFirstDay) {
  Write(CDateTime(2027, 5, 1), "May Day", "");
  Doc().SetReportDate(4, 20, 2027);
  Open();
  NextMonth(calendar().GetCalendarWidget());
  EXPECT_EQ(calendar().GetValue(), CDateTime(2027, 5, 1));
  EXPECT_EQ(View(), "May Day\n\n");
}

TEST_F(DatePageTest, AMoveInTheNotesDialogMovesTheCalendar) {
  Doc().SetReportDate(12, 30, 2026);
  Open();
  int steps = 0;
  OnNextModal([&](QWidget* w) {
    auto* dialog = qobject_cast<CNoteDlg*>(w);
    ASSERT_NE(dialog, nullptr);
    for (; steps < 3; ++steps) dialog->SendCommand(ID_NOTES_NEXT_DAY);
    dialog->OnOK();
  });
  ClickDay(calendar().GetCalendarWidget(), 30);
  QTest::mouseDClick(GridOf(calendar().GetCalendarWidget()), Qt::LeftButton, {},
                     DayCell(calendar().GetCalendarWidget(), 30).center());
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(calendar().GetValue(), CDateTime(2027, 1, 2));
  EXPECT_EQ(Doc().GetNoteStore()->GetDate().GetDate(), CDateTime(2027, 1, 2));
}

TEST_F(DatePageTest, LeavingMakesTheDayChosenTheReportDate) {
  Open();
  calendar().SetYear(2027);
  calendar().SetMonth(7);
  calendar().SetDay(14);
  sheet->SetActivePage(0);
  EXPECT_EQ(Doc().GetReportDate(), CDateTime(2027, 7, 14, 12, 0, 0));
  const QString report = sheet->GetReportPage().GetView()->toPlainText();
  EXPECT_TRUE(report.contains("14 July 2027   Wednesday")) << report.toStdString();
}

TEST_F(DatePageTest, TodayGoesBackToTodaysNotes) {
  CDateTime::FixCurrentTime(CDateTime(2026, 12, 11, 9, 30, 0));
  Write(CDateTime(2026, 12, 11), "Today's note", "");
  Doc().SetReportDate(1, 5, 2027);
  Open();
  page().SendCommand(IDC_TODAY);
  EXPECT_EQ(calendar().GetValue(), CDateTime(2026, 12, 11));
  EXPECT_EQ(View(), "Today's note\n\n");
}

TEST_F(DatePageTest, TheQuotationsFlagStartsOffAtEveryStart) {
  Open();
  page().SendCommand(ID_SHOW_QUOTATIONS);
  EXPECT_TRUE(page().GetShowQuotations());
  delete sheet.data();
  sheet = new CScdSheet;
  sheet->SetDocument(&Doc());
  Open();
  EXPECT_FALSE(page().GetShowQuotations());
  EXPECT_FALSE(page().GetNotesView()->GetQuoteCheck());
}

TEST_F(DatePageTest, DaysWithNotesAreBoldAndFollowEdits) {
  Write(CDateTime(2027, 8, 3), "Dated", "");
  Write(CDateTime(2027, 8, 17), "", "Annual");
  Write(CDateTime(2027, 8, 25), "", "", 1);
  // Another year's notes, to be read aside.
  Write(CDateTime(2028, 8, 9), "Next year", "");
  ASSERT_TRUE(Doc().GetNoteStore()->SaveChanges());
  Doc().SetReportDate(8, 1, 2027);
  Open();
  for (int day : {3, 17, 25}) EXPECT_TRUE(Bold(2027, 8, day)) << day;
  EXPECT_FALSE(Bold(2027, 8, 4));
  EXPECT_FALSE(Bold(2027, 8, 9));

  // An edit in the dialog shows at once.
  OnNextModal([](QWidget* w) {
    auto* dialog = qobject_cast<CNoteDlg*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->SetDlgItemText(IDC_DATED_NOTES, "New note");
    dialog->OnOK();
  });
  ClickDay(calendar().GetCalendarWidget(), 4);
  page().OnEditNotes();
  EXPECT_TRUE(Bold(2027, 8, 4));

  // The marks of another year come from its file; the store stays put.
  CNoteStore& notes = *Doc().GetNoteStore();
  const CDateTime before = notes.GetDate();
  // 9 August 2028 with its dated note, 17 and 25 with the annual note and flag.
  EXPECT_EQ(notes.GetMarkedDays(2028, 8), (1u << 8) | (1u << 16) | (1u << 24));
  EXPECT_EQ(notes.GetDate(), before);
}
