#include "orrery/ui/option_page.h"

#include "orrery/res/ui_ids.h"

COptionPage::COptionPage(QWidget* parent) : CScdPage(IDD_OPTIONS, 0, parent) {}
