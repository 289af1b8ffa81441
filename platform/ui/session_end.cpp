#include "platform/ui/session_end.h"

#include "platform/ui/dialog.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_pipe[2] = {-1, -1};
bool g_ending = false;
struct sigaction g_previous[3];

// Only a write: everything else happens in the event loop.
void OnSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  (void)!write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

CSessionEnd::CSessionEnd(std::function<void()> onEnd, QObject* parent)
    : QObject(parent), m_onEnd(std::move(onEnd)) {
  if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) g_pipe[0] = g_pipe[1] = -1;
  if (g_pipe[0] >= 0) {
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
      char bytes[16];
      while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
      }
      Begin();
    });
    struct sigaction action{};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &g_previous[i]);
  }
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // The session manager asks the program to save its work; it ends then
    // as at a signal, since the session ends next.
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { Begin(); });
  }
}

CSessionEnd::~CSessionEnd() {
  if (m_notifier)
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
}

bool CSessionEnd::IsEnding() { return g_ending; }

void CSessionEnd::Begin() {
  if (g_ending) return;
  g_ending = true;
  if (m_onEnd) m_onEnd();
}

bool EndModalWindow() {
  bool closed = false;
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    closed = true;
  }
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return closed;
  if (auto* dialog = dynamic_cast<CDialog*>(modal))
    dialog->OnEndSession();
  else if (auto* other = qobject_cast<QDialog*>(modal))
    other->reject();
  else
    modal->close();
  return true;
}
