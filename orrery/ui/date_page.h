// The Dates tab: a month calendar and the notes of the day chosen on it,
// with the Notes For The Day dialog for that day.
#pragma once

#include "orrery/ui/scd_page.h"

class CMenuEdit;
class CMsacal70;
class CNoteStore;
class CQuoteList;

class CDatePage : public CScdPage {
  Q_OBJECT
public:
  explicit CDatePage(QWidget* parent = nullptr);

  CMenuEdit* GetNotesView() const;
  CMsacal70* GetCalendar() const;
  bool GetShowQuotations() const { return m_showQuotations; }

  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnKillActive() override;
  bool OnCommand(unsigned id) override;

  // Shows the notes of the calendar's date, moving the notes store and the
  // quotation list there, and marks the days of its month that have notes.
  void UpdateNotesView();
  // The Notes For The Day dialog on the calendar's date; the calendar
  // follows a move made in the dialog.
  void OnEditNotes();
  void OnCalendarEvent(int event);

protected:
  QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) override;

private:
  void UpdateMarks();

  CNoteStore* m_store = nullptr;
  CQuoteList* m_quotes = nullptr;
  bool m_showQuotations = false;
};
