// The Options tab: the quotation file of the daily quotation (with Add,
// Remove and Create), the parts of the report, the first name of the
// greeting, and when Lumen Almanac starts.
#pragma once

#include "orrery/ui/scd_page.h"

#include <memory>
#include <string>

class CListBox;
class CRunKey;

class COptionPage : public CScdPage {
  Q_OBJECT
public:
  explicit COptionPage(QWidget* parent = nullptr);
  ~COptionPage() override;

  CListBox* GetQuoteListBox() const;
  int GetStartMode() const { return m_startMode; }

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnCommand(unsigned id) override;
  bool OnControlNotify(int id, unsigned code) override;
  void DoDataExchange(CDataExchange* dx) override;
  // With the main window: stores the choices and applies the start mode to
  // the Run entry.
  void OnDestroy() override;

  // Shows the quotation list's titles and selects its current file.
  void FillList();
  // The controls to the report document, the greeting and the quotation list.
  void StoreChoices();
  void OnAdd();
  void OnRemove();
  void OnCreate();

private:
  std::unique_ptr<CRunKey> m_runKey;
  int m_moon = 0;
  int m_sun = 0;
  int m_phase = 0;
  int m_greet = 0;
  std::string m_firstName;
  int m_startMode = -1;
};
