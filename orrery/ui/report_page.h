// The Report tab: the report that the report document composes, kept up to
// date on every activation, with Sun and Moon sections appended for other
// dates and places.
#pragma once

#include "orrery/ui/scd_page.h"

class CMenuEdit;

class CReportPage : public CScdPage {
  Q_OBJECT
public:
  explicit CReportPage(QWidget* parent = nullptr);

  // Brings the view up to date (see the .cpp).
  void Refresh();
  CMenuEdit* GetView() const;

  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnCommand(unsigned id) override;
  // The Close button: ends Orrery.
  void OnCancel() override;
  void OnEditNotes();
  void OnClear();

  // Where the latest appended section begins; kept for the program's life.
  static int GetLastBlockPosition();
  static void SetLastBlockPositionForTesting(int position);

protected:
  QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) override;
};
