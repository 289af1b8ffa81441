#include "orrery/ui/msacal70.h"

#include "platform/ui/resources.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QPalette>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The fonts of the control's stored state: Arial 8.25 pt bold for the day
// names, 8.25 pt for the days, 12 pt bold for the title.
QFont ArialFont(double points, bool bold) {
  QFont font = MakeFaceFont("Arial", 8, 0, bold ? 700 : 400);
  font.setPointSizeF(points);
  return font;
}

const QDate kFirst(100, 1, 1);
const QDate kLast(9999, 12, 31);

}  // namespace

CMsacal70::CMsacal70(QWidget* parent) : QWidget(parent), m_calendar(new QCalendarWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_calendar);
  setFocusProxy(m_calendar);

  // Month and day names in English, as every date text of the program.
  QLocale english(QLocale::English, QLocale::UnitedStates);
  m_calendar->setLocale(english);
  m_calendar->setFirstDayOfWeek(QLocale::system().firstDayOfWeek());
  m_calendar->setDateRange(kFirst, kLast);
  m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  m_calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
  m_calendar->setFont(ArialFont(8.25, false));
  QTextCharFormat header = m_calendar->headerTextFormat();
  header.setFont(ArialFont(8.25, true));
  m_calendar->setHeaderTextFormat(header);
  if (auto* title = m_calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
    const QFont font = ArialFont(12, true);
    title->setFont(font);
    for (QWidget* child : title->findChildren<QWidget*>()) child->setFont(font);
  }

  m_value = QDate::currentDate();
  Today();

  connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] { Reconcile(); });
  // A click on a day of another month shows that month before it selects the
  // day: look once both have happened.
  connect(m_calendar, &QCalendarWidget::currentPageChanged, this,
          [this] { QTimer::singleShot(0, this, [this] { Reconcile(); }); });
  connect(m_calendar, &QCalendarWidget::activated, this, [this] {
    Reconcile();
    Raise(kDblClick);
  });
}

short CMsacal70::GetYear() const { return static_cast<short>(m_value.year()); }
short CMsacal70::GetMonth() const { return static_cast<short>(m_value.month()); }
short CMsacal70::GetDay() const { return static_cast<short>(m_value.day()); }

CDateTime CMsacal70::GetValue() const {
  return CDateTime(m_value.year(), m_value.month(), m_value.day());
}

bool CMsacal70::SetValue(const QDate& date) {
  if (!date.isValid() || date < kFirst || date > kLast) return false;
  m_value = date;
  const QSignalBlocker block(m_calendar);
  m_calendar->setSelectedDate(date);
  m_calendar->setCurrentPage(date.year(), date.month());
  return true;
}

bool CMsacal70::SetYear(short year) {
  if (year < kFirst.year() || year > kLast.year()) return false;
  const int day = std::min(m_value.day(), QDate(year, m_value.month(), 1).daysInMonth());
  return SetValue(QDate(year, m_value.month(), day));
}

bool CMsacal70::SetMonth(short month) {
  if (month < 1 || month > 12) return false;
  const int day = std::min(m_value.day(), QDate(m_value.year(), month, 1).daysInMonth());
  return SetValue(QDate(m_value.year(), month, day));
}

bool CMsacal70::SetDay(short day) {
  if (day < 1 || day > m_value.daysInMonth()) return false;
  return SetValue(QDate(m_value.year(), m_value.month(), day));
}

void CMsacal70::Today() {
  const CDateTime now = CDateTime::GetCurrentTime();
  const QDate today(now.GetYear(), now.GetMonth(), now.GetDay());
  const QDate before = m_value;
  if (SetValue(today) && today != before) Raise(kAfterUpdate);
}

void CMsacal70::Reconcile() {
  const QDate chosen = m_calendar->selectedDate();
  const int year = m_calendar->yearShown(), month = m_calendar->monthShown();
  if (chosen.isValid() && chosen != m_value) {
    SetValue(chosen);
    Raise(kAfterUpdate);
    return;
  }
  if (year == m_value.year() && month == m_value.month()) return;
  const bool newYear = year != m_value.year();
  const int day = std::min(m_value.day(), QDate(year, month, 1).daysInMonth());
  if (!SetValue(QDate(year, month, day))) {
    SetValue(m_value);  // back to the value's own month
    return;
  }
  Raise(newYear ? kNewYear : kNewMonth);
}

void CMsacal70::Raise(int event) {
  if (onEvent) onEvent(event);
}

void CMsacal70::SetMarkedDays(int year, int month, unsigned days) {
  m_calendar->setDateTextFormat(QDate(), QTextCharFormat());
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  if (QDate(year, month, 1).isValid()) {
    const int count = QDate(year, month, 1).daysInMonth();
    for (int d = 1; d <= count; ++d)
      if (days & (1u << (d - 1))) m_calendar->setDateTextFormat(QDate(year, month, d), bold);
  }
  const CDateTime now = CDateTime::GetCurrentTime();
  const QDate today(now.GetYear(), now.GetMonth(), now.GetDay());
  QTextCharFormat mark = m_calendar->dateTextFormat(today);
  QColor ring = palette().color(QPalette::Highlight);
  ring.setAlpha(70);
  mark.setBackground(ring);
  mark.setFontUnderline(true);
  m_calendar->setDateTextFormat(today, mark);
}
