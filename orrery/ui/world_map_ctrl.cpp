// Placeholder until the control is built: no window, no picture.
#include "orrery/ui/world_map_ctrl.h"

CWorldMapCtrl::CWorldMapCtrl() = default;
CWorldMapCtrl::~CWorldMapCtrl() = default;

bool CWorldMapCtrl::Create(unsigned, const QRect& rect, QWidget* parent, int) {
  setParent(parent);
  setGeometry(rect);
  show();
  return true;
}

void CWorldMapCtrl::SetPosition(float latitude, float longitude) {
  m_latitude = latitude;
  m_longitude = longitude;
}

void CWorldMapCtrl::GetPosition(float& latitude, float& longitude) const {
  latitude = m_latitude;
  longitude = m_longitude;
}

void CWorldMapCtrl::SetNightShade(bool) {}
void CWorldMapCtrl::SetShadeTime(const CDateTime&) {}
void CWorldMapCtrl::RefreshShade() {}
