// The end of the desktop session reaching the program as one call in its
// event loop: SIGTERM (what a logout sends), SIGHUP, SIGINT, and the session
// manager's request to save before quitting. The program then shuts down as
// when its window is closed.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;
class QWidget;

class CSessionEnd : public QObject {
  Q_OBJECT
public:
  // Takes over the three signals until destroyed; onEnd runs once, from the
  // event loop, at the first of them or of the session manager's requests.
  explicit CSessionEnd(std::function<void()> onEnd, QObject* parent = nullptr);
  ~CSessionEnd() override;
  CSessionEnd(const CSessionEnd&) = delete;
  CSessionEnd& operator=(const CSessionEnd&) = delete;

  // Whether the session is ending: nobody is there to answer questions.
  static bool IsEnding();

private:
  void Begin();

  std::function<void()> m_onEnd;
  QSocketNotifier* m_notifier = nullptr;
};

// Closes the modal window in front (a dialog ends as its session-end action
// says, a message box or file dialog as cancelled) and any open popup menu.
// False when none was open.
bool EndModalWindow();
