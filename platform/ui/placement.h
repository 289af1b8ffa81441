// Window placement and screen metrics. The rectangle is the window's area
// in screen coordinates in its normal (restored) state; right and bottom lie
// one past the last pixel. The window manager's frame is not part of it.
#pragma once

class QWidget;

enum : unsigned {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3,
  SW_SHOW = 5,
  SW_MINIMIZE = 6,
  SW_RESTORE = 9,
  SW_SHOWDEFAULT = 10,
};

struct WINDOWPLACEMENT {
  unsigned flags = 0;
  unsigned showCmd = SW_SHOWNORMAL;  // 1 normal, 2 minimized, 3 maximized
  int left = 0, top = 0, right = 0, bottom = 0;
};

bool GetWindowPlacement(const QWidget* w, WINDOWPLACEMENT* placement);
// Moves the window to the normal rectangle and shows it in the show state.
bool SetWindowPlacement(QWidget* w, const WINDOWPLACEMENT& placement);
void ShowWindow(QWidget* w, unsigned showCmd);

enum SystemMetric { SM_CXSCREEN, SM_CYSCREEN, SM_CXICON, SM_CYICON };
int GetSystemMetrics(SystemMetric metric);
