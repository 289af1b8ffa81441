// The Info tab: the program's picture, a short text about it and More Info.
#pragma once

#include "orrery/ui/scd_page.h"

class CInfoPage : public CScdPage {
  Q_OBJECT
public:
  explicit CInfoPage(QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnCommand(unsigned id) override;
};
