// The Dates tab: notes on a calendar.
// Its controls and behaviour come with its own page;
// until then it shows its tab and caption.
#pragma once

#include "orrery/ui/scd_page.h"

class CLocationStore;

class CDatePage : public CScdPage {
  Q_OBJECT
public:
  explicit CDatePage(QWidget* parent = nullptr);
};
