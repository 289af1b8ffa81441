// The Options tab: report options, start mode, quotation files.
// Its controls and behaviour come with its own page;
// until then it shows its tab and caption.
#pragma once

#include "orrery/ui/scd_page.h"

class CLocationStore;

class COptionPage : public CScdPage {
  Q_OBJECT
public:
  explicit COptionPage(QWidget* parent = nullptr);
  void SetPlaces(CLocationStore* places) { m_places = places; }

protected:
  CLocationStore* m_places = nullptr;
};
