// The world map of the Places page: a picture of the world that scrolls
// sideways without end, a marker on one position, picking a position by
// dragging, and the half of the Earth in darkness shaded.
//
// The control drives its parent's data exchange while the user drags (the
// parent's CWndHost::UpdateData), sends a double click to the parent as its
// control identifier (SendCommand), and routes the commands of its context
// menu to the parent.
#pragma once

#include "platform/datetime.h"

#include <QWidget>

class CWorldMapCtrl : public QWidget {
  Q_OBJECT
public:
  CWorldMapCtrl();
  ~CWorldMapCtrl() override;

  // The context menu's resource; 0 for none.
  void SetMenuId(unsigned id) { m_menuId = id; }
  // Creates the window as a bordered child of parent with a horizontal
  // scroll bar at rect (parent's coordinates) and builds the picture from
  // bitmap resource bitmapId. False when it could not be created.
  virtual bool Create(unsigned bitmapId, const QRect& rect, QWidget* parent, int id);

  // Stores the position and moves the marker there.
  void SetPosition(float latitude, float longitude);
  void GetPosition(float& latitude, float& longitude) const;

  // The night shade: on by default; drawn for the moment given to
  // SetShadeTime (UTC), or for the clock's current UTC time when that is
  // invalid. RefreshShade rebuilds the picture for that moment.
  void SetNightShade(bool on);
  void SetShadeTime(const CDateTime& utc);
  void RefreshShade();

private:
  unsigned m_menuId = 0;
  float m_latitude = 0.0f;
  float m_longitude = 0.0f;
};
