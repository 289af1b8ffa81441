#include "platform/ui/placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

bool GetWindowPlacement(const QWidget* w, WINDOWPLACEMENT* placement) {
  if (!w || !placement) return false;
  const QRect r = (w->isMaximized() || w->isFullScreen()) ? w->normalGeometry() : w->geometry();
  placement->flags = 0;
  placement->showCmd = w->isMinimized()   ? SW_SHOWMINIMIZED
                       : w->isMaximized() ? SW_SHOWMAXIMIZED
                                          : SW_SHOWNORMAL;
  placement->left = r.left();
  placement->top = r.top();
  placement->right = r.left() + r.width();
  placement->bottom = r.top() + r.height();
  return true;
}

bool SetWindowPlacement(QWidget* w, const WINDOWPLACEMENT& placement) {
  if (!w) return false;
  const QRect r(placement.left, placement.top, placement.right - placement.left,
                placement.bottom - placement.top);
  if (r.width() <= 0 || r.height() <= 0) return false;
  w->setGeometry(r);
  ShowWindow(w, placement.showCmd);
  return true;
}

void ShowWindow(QWidget* w, unsigned showCmd) {
  switch (showCmd) {
    case SW_HIDE:
      w->hide();
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      w->showMinimized();
      break;
    case SW_SHOWMAXIMIZED:
      w->showMaximized();
      break;
    default:
      w->showNormal();
      break;
  }
}

int GetSystemMetrics(SystemMetric metric) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect g = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  switch (metric) {
    case SM_CXSCREEN:
      return g.width();
    case SM_CYSCREEN:
      return g.height();
    case SM_CXICON:
    case SM_CYICON:
      return 32;
  }
  return 0;
}
