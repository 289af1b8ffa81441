// The Notes For The Day dialog: the dated notes, the annual notes and the
// remind flag of one day, with moves to other days within 364 days of the
// start date.
#pragma once

#include "platform/datetime.h"
#include "platform/ui/dialog.h"

#include <QString>

#include <string>

class CNoteStore;
class CSpinButton;

class CNoteDlg : public CDialog {
  Q_OBJECT
public:
  explicit CNoteDlg(QWidget* parent = nullptr);

  CNoteStore* m_store = nullptr;  // set by the opener, not owned

  int GetDayOffset() const { return m_dayOffset; }
  CSpinButton* GetSpin() const;
  // Greys the moves that would leave the spin control's range.
  void PrepareMenu(CMenu& menu);

  bool OnInitDialog() override;
  bool OnCommand(unsigned id) override;
  bool OnContextMenu(QWidget* w, const QPoint& pos) override;
  void OnInitMenuPopup(CMenu& menu) override;
  // Stores the day shown, then ends the dialog with IDOK.
  void OnOK() override;
  // What was typed is kept, as at Close.
  void OnEndSession() override { OnOK(); }
  void WinHelp(unsigned long data, HelpCommand command) override;

  // Stores the day being left, applies a move, shows the new day. command is
  // one of the menu moves, or 0 when the spin control has already moved.
  void ShowDay(unsigned command);

private:
  void ReadText(int id, QString& shown, std::string& text);
  void ReadControls();
  void ShowFields();
  void LoadDay();
  void StoreDay();

  std::string m_annualText;
  std::string m_datedText;
  std::string m_caption;
  QString m_shownAnnual;  // the texts as last shown in, or read from, the edits
  QString m_shownDated;
  int m_dayOffset = 0;
  int m_remind = 0;
  CDateTime m_startDate;
};
