#include "orrery/ui/world_map_ctrl.h"

#include "orrery/sky/subsolar.h"
#include "platform/ui/menu.h"
#include "platform/ui/resources.h"
#include "platform/ui/wnd.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <vector>

namespace {

// The world picture's own size, taken for a missing bitmap.
constexpr int kDefaultWidth = 355;
constexpr int kDefaultHeight = 186;
// The larger renderings of a bitmap: "<id>_2x", "<id>_3x".
constexpr int kLargerRenderings[] = {2, 3};

// Thumb drags, kept once for the program.
bool g_tracking = false;
int g_trackingBase = 0;

// The smallest larger rendering that covers ratio (else the largest), or a
// null image when there is none.
QImage LoadLargerPicture(unsigned bitmapId, qreal ratio) {
  for (int scale : kLargerRenderings) {
    if (scale < ratio && scale != kLargerRenderings[std::size(kLargerRenderings) - 1]) continue;
    const QImage larger = LoadBitmap(bitmapId, scale).toImage();
    if (!larger.isNull()) return larger;
  }
  return {};
}

// Darkening of a pixel by night: 0 by day, 1 in full night. The twilight
// runs from just above the horizon to 9 degrees below it.
double NightStrength(double altitudeSine) {
  if (altitudeSine >= 0.0087) return 0.0;  // above half a degree: day
  const double altitude = std::asin(std::clamp(altitudeSine, -1.0, 1.0)) * 180.0 / std::numbers::pi;
  const double t = std::clamp((0.5 - altitude) / 9.5, 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// A pixel under the night shade: darker and bluer, so land and sea still
// part and an inverted marker shows light on it.
QRgb Shaded(QRgb c, double s) {
  const double r = qRed(c), g = qGreen(c), b = qBlue(c);
  const double nr = r * 0.38, ng = g * 0.42, nb = b * 0.52 + 28.0;
  auto mix = [s](double from, double to) { return static_cast<int>(std::lround(from + (to - from) * s)); };
  return qRgb(mix(r, nr), mix(g, ng), std::min(255, mix(b, nb)));
}

}  // namespace

CWorldMapCtrl::CWorldMapCtrl() {
  setCursor(Qt::SizeAllCursor);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CWorldMapCtrl::~CWorldMapCtrl() {
  if (m_dragging) releaseMouse();
}

CWndHost* CWorldMapCtrl::ParentHost() const { return CWndHost::FromWidget(parentWidget()); }

QSize CWorldMapCtrl::CalcWindowSize(const QSize& client) const {
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return {client.width() + 2, client.height() + 2 + bar};
}

QRect CWorldMapCtrl::ClientRect() const {
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return {1, 1, std::max(0, width() - 2), std::max(0, height() - 2 - bar)};
}

bool CWorldMapCtrl::InClient(const QPoint& client) const {
  const QRect r = ClientRect();
  return client.x() >= 0 && client.y() >= 0 && client.x() < r.width() && client.y() < r.height();
}

bool CWorldMapCtrl::Create(unsigned bitmapId, const QRect& rect, QWidget* parent, int id) {
  if (m_created || !parent) return false;
  setParent(parent);
  setGeometry(rect);
  m_id = id;
  // The help plumbing finds a control's popup by this property.
  setProperty("lumenControlId", id);
  m_scrollBar = new QScrollBar(Qt::Horizontal, this);
  m_scrollBar->setCursor(Qt::ArrowCursor);
  m_scrollBar->setFocusPolicy(Qt::NoFocus);
  // The view follows the thumb through sliderMoved; the value stays 0.
  m_scrollBar->setTracking(false);
  resizeEvent(nullptr);
  show();
  m_created = true;

  BuildPicture(bitmapId);
  DrawMarker(m_markerPoint);

  const int copy = m_geometry.copyWidth;
  m_scrollBar->setRange(copy / 2 - copy + 1, copy / 2);
  m_scrollBar->setValue(0);
  m_scrollOffset = 0;
  ConnectScrollBar();
  return true;
}

void CWorldMapCtrl::BuildPicture(unsigned bitmapId) {
  const qreal ratio = devicePixelRatioF();
  QImage source = LoadBitmap(bitmapId).toImage();
  int w = source.width(), h = source.height();
  if (source.isNull() || w <= 0 || h <= 0) {
    w = kDefaultWidth;
    h = kDefaultHeight;
    source = QImage(w, h, QImage::Format_RGB32);
    source.fill(palette().color(QPalette::Highlight));
  } else if (ratio > 1.0) {
    // Sizes stay those of the bitmap itself; only the pixels come finer.
    if (QImage larger = LoadLargerPicture(bitmapId, ratio); !larger.isNull()) source = larger;
  }
  const double s = static_cast<double>(ClientRect().height()) / h;
  const int copy = std::max(1, static_cast<int>(w * s));
  const int height = std::max(1, static_cast<int>(h * s));

  m_base = QImage(static_cast<int>(std::ceil(2 * copy * ratio)), static_cast<int>(std::ceil(height * ratio)),
                  QImage::Format_RGB32);
  m_base.setDevicePixelRatio(ratio);
  m_base.fill(palette().color(QPalette::Highlight));
  {
    QPainter p(&m_base);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(0, 0, copy, height), source);
    // The second copy starts one column early, overlapping the first.
    p.drawImage(QRectF(copy - 1, 0, copy, height), source);
  }
  m_geometry = MakeMapGeometry(2 * copy, height);
  ApplyShade();
}

void CWorldMapCtrl::ApplyShade() {
  m_picture = m_base.copy();
  SubsolarPoint sun;
  const CDateTime moment = m_shadeTime.IsValid() ? m_shadeTime : CDateTime::GetCurrentUtcTime();
  if (!m_shade || !SubsolarPointAt(moment, &sun)) return;
  const qreal ratio = m_picture.devicePixelRatio();
  const double toRadians = std::numbers::pi / 180.0;
  const double sinDec = std::sin(sun.latitude * toRadians), cosDec = std::cos(sun.latitude * toRadians);
  // Each physical pixel takes the position of the logical pixel it lies in.
  std::vector<double> hourCos(static_cast<size_t>(m_picture.width()));
  for (int px = 0; px < m_picture.width(); ++px) {
    float lat = 0.0f, lon = 0.0f;
    PixelToPosition(m_geometry, static_cast<int>(px / ratio), 0, lat, lon);
    hourCos[static_cast<size_t>(px)] = std::cos((lon - sun.longitude) * toRadians);
  }
  for (int py = 0; py < m_picture.height(); ++py) {
    float lat = 0.0f, lon = 0.0f;
    PixelToPosition(m_geometry, 0, static_cast<int>(py / ratio), lat, lon);
    const double a = std::sin(lat * toRadians) * sinDec, b = std::cos(lat * toRadians) * cosDec;
    auto* line = reinterpret_cast<QRgb*>(m_picture.scanLine(py));
    for (int px = 0; px < m_picture.width(); ++px) {
      const double s = NightStrength(a + b * hourCos[static_cast<size_t>(px)]);
      if (s > 0.0) line[px] = Shaded(line[px], s);
    }
  }
}

void CWorldMapCtrl::RebuildShade() {
  if (!m_created) return;
  const bool shown = m_markerShown;
  const QPoint at = m_markerDrawn;
  EraseMarker();
  ApplyShade();
  if (shown) DrawMarker(QPoint(at.x() - m_scrollOffset, at.y()));
  update();
}

void CWorldMapCtrl::SetNightShade(bool on) {
  if (m_shade == on) return;
  m_shade = on;
  RebuildShade();
}

void CWorldMapCtrl::SetShadeTime(const CDateTime& utc) {
  m_shadeTime = utc;
  if (m_shade) RebuildShade();
}

void CWorldMapCtrl::RefreshShade() {
  if (m_shade) RebuildShade();
}

void CWorldMapCtrl::SetPosition(float latitude, float longitude) {
  m_latitude = latitude;
  m_longitude = longitude;
  // While dragging the marker stays hidden; the release draws it.
  if (!m_created || m_dragging) return;
  EraseMarker();
  const MapPixel p = PositionToPixel(m_geometry, latitude, longitude);
  DrawMarker(QPoint(p.x - m_scrollOffset, p.y));
}

void CWorldMapCtrl::GetPosition(float& latitude, float& longitude) const {
  latitude = m_latitude;
  longitude = m_longitude;
}

void CWorldMapCtrl::DrawMarker(const QPoint& client) {
  if (m_picture.isNull()) return;
  const int copy = m_geometry.copyWidth;
  int x = client.x() + m_scrollOffset;
  const int y = client.y();
  m_markerPoint = QPoint(x, y);
  int shift = copy;
  if (m_markerPoint.x() >= copy) {
    m_markerPoint.rx() -= copy;
    shift = -copy;
  }
  const int r = 2 * copy / 100;
  {
    QPainter p(&m_picture);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    for (int copyIndex = 0; copyIndex < 2; ++copyIndex, x += shift) {
      // Pixel centres, so a one-pixel pen covers whole pixels at any ratio.
      const double cx = x + 0.5, cy = y + 0.5;
      p.drawLine(QPointF(cx - r, cy), QPointF(cx + r, cy));
      p.drawLine(QPointF(cx, cy - r), QPointF(cx, cy + r));
      p.drawEllipse(QRectF(x - r - 0.5, y - r - 0.5, 2.0 * r + 1.0, 2.0 * r + 1.0));
    }
  }
  m_markerShown = true;
  m_markerDrawn = m_markerPoint;
  update(ClientRect());
}

void CWorldMapCtrl::EraseMarker() {
  if (!m_markerShown) return;
  DrawMarker(QPoint(m_markerDrawn.x() - m_scrollOffset, m_markerDrawn.y()));
  m_markerShown = false;
}

void CWorldMapCtrl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect client = ClientRect();
  p.setPen(palette().color(QPalette::Shadow));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setClipRect(client);
  const QColor background = palette().color(QPalette::Highlight);
  const int height = m_geometry.height;
  const int shown = std::max(0, std::min(client.width(), 2 * m_geometry.copyWidth - m_scrollOffset));
  if (m_picture.isNull()) {
    p.fillRect(client, background);
    return;
  }
  const qreal ratio = m_picture.devicePixelRatio();
  p.drawImage(client.topLeft(), m_picture,
              QRectF(m_scrollOffset * ratio, 0, shown * ratio, height * ratio));
  if (shown < client.width())
    p.fillRect(QRect(client.left() + shown, client.top(), client.width() - shown, client.height()), background);
  if (height < client.height())
    p.fillRect(QRect(client.left(), client.top() + height, client.width(), client.height() - height), background);
}

void CWorldMapCtrl::resizeEvent(QResizeEvent*) {
  if (!m_scrollBar) return;
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  m_scrollBar->setGeometry(1, height() - 1 - bar, std::max(0, width() - 2), bar);
}

// Scrolling.

void CWorldMapCtrl::OnHScroll(unsigned code, int pos) {
  int shift = 0;
  switch (code) {
    case SB_LINELEFT:
    case SB_TOP:
      shift = -2;
      break;
    case SB_LINERIGHT:
    case SB_BOTTOM:
      shift = 2;
      break;
    case SB_PAGELEFT:
      shift = -5;
      break;
    case SB_PAGERIGHT:
      shift = 5;
      break;
    case SB_THUMBTRACK:
      if (!g_tracking) {
        g_tracking = true;
        g_trackingBase = m_scrollOffset;
      }
      shift = g_trackingBase + pos - m_scrollOffset;
      break;
    case SB_THUMBPOSITION:
      shift = g_trackingBase + pos - m_scrollOffset;
      g_tracking = false;
      break;
    default:
      break;
  }
  m_scrollOffset += shift;
  const int copy = std::max(1, m_geometry.copyWidth);
  while (m_scrollOffset > copy) {
    m_scrollOffset -= copy;
    g_trackingBase -= copy;
  }
  while (m_scrollOffset < 0) {
    m_scrollOffset += copy;
    g_trackingBase += copy;
  }
  if (shift != 0) scroll(-shift, 0, ClientRect());
}

void CWorldMapCtrl::CenterScrollBar() {
  m_centering = true;
  m_scrollBar->setSliderPosition(0);
  m_scrollBar->setValue(0);
  m_centering = false;
}

void CWorldMapCtrl::ConnectScrollBar() {
  QScrollBar* bar = m_scrollBar;
  connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub:
        OnHScroll(SB_LINELEFT);
        break;
      case QAbstractSlider::SliderSingleStepAdd:
        OnHScroll(SB_LINERIGHT);
        break;
      case QAbstractSlider::SliderPageStepSub:
        OnHScroll(SB_PAGELEFT);
        break;
      case QAbstractSlider::SliderPageStepAdd:
        OnHScroll(SB_PAGERIGHT);
        break;
      case QAbstractSlider::SliderToMinimum:
        OnHScroll(SB_TOP);
        break;
      case QAbstractSlider::SliderToMaximum:
        OnHScroll(SB_BOTTOM);
        break;
      case QAbstractSlider::SliderMove:
        // The wheel over the bar moves the thumb by whole steps: lines.
        if (!bar->isSliderDown()) {
          const int steps = bar->sliderPosition() / std::max(1, bar->singleStep());
          for (int i = 0; i < std::abs(steps); ++i) OnHScroll(steps < 0 ? SB_LINELEFT : SB_LINERIGHT);
        }
        break;
      default:
        break;
    }
    if (action != QAbstractSlider::SliderNoAction && !bar->isSliderDown()) {
      OnHScroll(SB_ENDSCROLL);
      CenterScrollBar();
    }
  });
  connect(bar, &QAbstractSlider::sliderMoved, this, [this](int pos) { OnHScroll(SB_THUMBTRACK, pos); });
  connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar] {
    OnHScroll(SB_THUMBPOSITION, bar->sliderPosition());
    OnHScroll(SB_ENDSCROLL);
    CenterScrollBar();
  });
  // A value set by other means ("Scroll here" of the bar's own menu) is a
  // jump of the thumb to there.
  connect(bar, &QAbstractSlider::valueChanged, this, [this, bar](int value) {
    if (m_centering || value == 0 || bar->isSliderDown()) return;
    OnHScroll(SB_THUMBTRACK, value);
    OnHScroll(SB_THUMBPOSITION, value);
    OnHScroll(SB_ENDSCROLL);
    CenterScrollBar();
  });
}

// Picking a position with the mouse.

void CWorldMapCtrl::mousePressEvent(QMouseEvent* event) {
  const QPoint client = event->position().toPoint() - ClientRect().topLeft();
  if (event->button() != Qt::LeftButton || !InClient(client)) {
    event->ignore();
    return;
  }
  OnLButtonDown(client);
}

void CWorldMapCtrl::mouseMoveEvent(QMouseEvent* event) {
  OnMouseMove(event->position().toPoint() - ClientRect().topLeft());
}

void CWorldMapCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  OnLButtonUp(event->position().toPoint() - ClientRect().topLeft());
}

void CWorldMapCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint client = event->position().toPoint() - ClientRect().topLeft();
  if (event->button() != Qt::LeftButton || !InClient(client)) {
    event->ignore();
    return;
  }
  if (CWndHost* host = ParentHost()) host->SendCommand(static_cast<unsigned>(m_id));
}

void CWorldMapCtrl::OnLButtonDown(const QPoint& client) {
  if (CWndHost* host = ParentHost()) host->UpdateData(true);
  m_dragging = true;
  grabMouse();
  setCursor(Qt::CrossCursor);
  EraseMarker();
  OnMouseMove(client);
}

void CWorldMapCtrl::OnMouseMove(const QPoint& client) {
  if (!m_dragging) return;
  if (!InClient(client)) {
    OnLButtonUp(client);
    return;
  }
  m_markerPoint = QPoint(client.x() + m_scrollOffset, client.y());
  PixelToPosition(m_geometry, m_markerPoint.x(), m_markerPoint.y(), m_latitude, m_longitude);
  if (CWndHost* host = ParentHost()) host->UpdateData(false);
}

void CWorldMapCtrl::OnLButtonUp(const QPoint& client) {
  if (m_dragging) {
    m_dragging = false;
    setCursor(Qt::SizeAllCursor);
    releaseMouse();
    if (InClient(client)) {
      // The position is where the marker goes down, even if no move
      // reported this last point.
      PixelToPosition(m_geometry, client.x() + m_scrollOffset, client.y(), m_latitude, m_longitude);
      DrawMarker(client);
    } else {
      DrawMarker(QPoint(m_markerPoint.x() - m_scrollOffset, m_markerPoint.y()));
    }
  }
  if (CWndHost* host = ParentHost()) host->UpdateData(false);
}

// Commands.

void CWorldMapCtrl::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<CMenu> menu = m_menuId ? CMenu::Load(m_menuId) : nullptr;
  if (!menu) {
    event->ignore();
    return;
  }
  QPointer<CWorldMapCtrl> self = this;
  CMenu::Track(std::move(menu), event->globalPos(), [self](unsigned id) {
    if (self) self->OnCmdMsg(id);
  });
}

bool CWorldMapCtrl::OnCmdMsg(unsigned id) {
  CWndHost* host = ParentHost();
  return host && host->SendCommand(id);
}
