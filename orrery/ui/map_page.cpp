#include "orrery/ui/map_page.h"

#include "orrery/res/ui_ids.h"

CMapPage::CMapPage(QWidget* parent) : CScdPage(IDD_PLACES, 0, parent) {}
