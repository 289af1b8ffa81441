// The month calendar of the Dates page: a QCalendarWidget driven through the
// properties, method and events of a calendar control.
//
// The control's value is one date, and it always shows that date's month.
// Properties set by the program raise no events. What the user does raises:
//   kDblClick       a double click on a day (or Enter);
//   kAfterUpdate    a day chosen, also one of another month, and Today();
//   kNewMonth       another month shown by the month arrows or menu;
//   kNewYear        another year shown, also by a month arrow across New
//                   Year (then kNewMonth is not raised as well).
// On kNewMonth and kNewYear the value has already moved to the same day of
// the new month, or its last day when the month is shorter.
#pragma once

#include "platform/datetime.h"

#include <QDate>
#include <QWidget>

#include <functional>

class QCalendarWidget;

class CMsacal70 : public QWidget {
  Q_OBJECT
public:
  enum Event { kDblClick = -601, kAfterUpdate = 1, kNewMonth = 3, kNewYear = 4 };

  explicit CMsacal70(QWidget* parent = nullptr);

  // The year, month (1..12) and day of the value. Setting one keeps the
  // others; a day beyond the new month's end becomes its last day, so that
  // setting year, month and day in turn never passes an invalid date. A
  // value out of range (month 13, day 0, day 31 of a 30-day month, a year
  // outside 100..9999) changes nothing and returns false.
  short GetYear() const;
  bool SetYear(short year);
  short GetMonth() const;
  bool SetMonth(short month);
  short GetDay() const;
  bool SetDay(short day);
  // The value at midnight.
  CDateTime GetValue() const;
  // Goes to today; raises kAfterUpdate when that changed the value.
  void Today();

  // The control's events, with their identifiers.
  std::function<void(int event)> onEvent;

  // Shows days bold (a bit per day: bit d - 1 for day d) in the month shown,
  // and marks today.
  void SetMarkedDays(int year, int month, unsigned days);

  QCalendarWidget* GetCalendarWidget() const { return m_calendar; }

private:
  bool SetValue(const QDate& date);
  // Brings the value in line with what the widget shows after the user
  // acted, and raises the matching event.
  void Reconcile();
  void Raise(int event);

  QCalendarWidget* m_calendar;
  QDate m_value;
};
