// The world map of the Places page: a picture of the world that scrolls
// sideways without end, a marker on one position, picking a position by
// dragging, and the half of the Earth in darkness shaded.
//
// The control drives its parent's data exchange while the user drags (the
// parent's CWndHost::UpdateData), sends a double click to the parent as its
// control identifier (SendCommand), and routes the commands of its context
// menu to the parent.
//
// The picture holds two copies of the world side by side, the second drawn
// one column early over the first, so the view wraps round by moving the
// scroll offset by a copy width. The marker is drawn by inverting pixels:
// drawing it twice at one place removes it. All positions are in the
// control's logical pixels; on a high-density screen the picture is built
// from a larger rendering of the same map.
#pragma once

#include "orrery/ui/map_geometry.h"
#include "platform/datetime.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

class CWndHost;
class QScrollBar;

class CWorldMapCtrl : public QWidget {
  Q_OBJECT
public:
  // Scroll codes of the horizontal scroll bar.
  enum ScrollCode : unsigned {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
  };

  CWorldMapCtrl();
  ~CWorldMapCtrl() override;

  // The context menu's resource; 0 for none.
  void SetMenuId(unsigned id) { m_menuId = id; }
  // Creates the window as a bordered child of parent with a horizontal
  // scroll bar at rect (parent's coordinates) and builds the picture from
  // bitmap resource bitmapId. False when it could not be created (no
  // parent, or created before). A missing bitmap gives a blank map that
  // still converts positions.
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

  // A command of the context menu: the control has no handlers of its own,
  // so it goes to the parent's SendCommand. True if somebody handled it.
  virtual bool OnCmdMsg(unsigned id);
  // One scroll action (ScrollCode); pos is the thumb's position for the
  // thumb codes. The scroll bar's actions arrive here.
  void OnHScroll(unsigned code, int pos = 0);

  // The window size whose client area (inside the border, above the scroll
  // bar) is client.
  QSize CalcWindowSize(const QSize& client) const;
  // The client area in the control's own coordinates.
  QRect ClientRect() const;

  // For tests: the prepared picture (two copies, shade and marker), the
  // pixel rule in force, the picture column at the client's left edge, the
  // marker point (picture coordinates) and the drag state.
  const QImage& GetPicture() const { return m_picture; }
  const MapGeometry& GetGeometry() const { return m_geometry; }
  int GetScrollOffset() const { return m_scrollOffset; }
  QPoint GetMarkerPoint() const { return m_markerPoint; }
  bool IsDragging() const { return m_dragging; }
  QScrollBar* GetScrollBar() const { return m_scrollBar; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  CWndHost* ParentHost() const;
  void BuildPicture(unsigned bitmapId);
  void ApplyShade();
  void RebuildShade();
  // The marker at a client point: drawn by inversion in both copies.
  void DrawMarker(const QPoint& client);
  // Removes the marker where it was last drawn, if it is shown.
  void EraseMarker();
  void OnLButtonDown(const QPoint& client);
  void OnMouseMove(const QPoint& client);
  void OnLButtonUp(const QPoint& client);
  bool InClient(const QPoint& client) const;
  void ConnectScrollBar();
  void CenterScrollBar();

  unsigned m_menuId = 0;
  int m_id = 0;
  float m_latitude = 0.0f;
  float m_longitude = 0.0f;
  bool m_created = false;
  bool m_dragging = false;

  QImage m_base;     // the two copies, without shade or marker
  QImage m_picture;  // what is shown: m_base shaded, with the marker
  MapGeometry m_geometry;
  int m_scrollOffset = 0;
  QPoint m_markerPoint{1, 1};
  bool m_markerShown = false;
  QPoint m_markerDrawn;  // where the shown marker lies, brought into the first copy

  bool m_shade = true;
  CDateTime m_shadeTime;  // invalid: the clock
  QScrollBar* m_scrollBar = nullptr;
  bool m_centering = false;
};
