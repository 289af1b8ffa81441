#include "orrery/ui/date_page.h"

#include "orrery/res/ui_ids.h"

CDatePage::CDatePage(QWidget* parent) : CScdPage(IDD_DATES, 0, parent) {}
