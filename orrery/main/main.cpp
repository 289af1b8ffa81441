// Orrery: the day-number check first, then the windows and the message loop.
#include "orrery/main/scd_app.h"
#include "platform/ui/placement.h"

#include <QApplication>

#include <string>

int main(int argc, char** argv) {
  CScdApp app;
  std::string commandLine;
  for (int i = 1; i < argc; ++i) commandLine += std::string(i > 1 ? " " : "") + argv[i];
  if (!app.CheckDayNumber(commandLine, CDateTime::GetCurrentTime())) return 0;

  QApplication qt(argc, argv);
  // One Orrery per user: a second start brings the first to the front.
  if (!app.ClaimInstance()) return 0;
  if (!app.InitWindows(CDateTime::GetCurrentTime(), SW_SHOWNORMAL)) return app.ExitInstance(1);
  const int code = QApplication::exec();
  return app.ExitInstance(code);
}
