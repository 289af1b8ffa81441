#include "platform/ui/help.h"

#include "platform/ui/text.h"
#include "platform/ui/wnd.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

std::string g_helpPath;
bool g_helpMode = false;
HelpObserver g_observer;

bool ParseNumber(const QString& text, unsigned long* value) {
  bool ok = false;
  *value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toULong(&ok, 16)
                                                                       : text.toULong(&ok, 10);
  return ok;
}

QString ToHtml(const HelpTopic& topic) {
  QString html = QStringLiteral("<h2>%1</h2>").arg(topic.title.toHtmlEscaped());
  for (const QString& para : topic.text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
    html += QStringLiteral("<p>%1</p>").arg(para.trimmed().toHtmlEscaped().replace('\n', ' '));
  return html;
}

// The help viewer: one window for the program's run.
class HelpViewer : public QDialog {
public:
  HelpViewer() : m_browser(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
      unsigned long number = 0;
      if (url.scheme() == QLatin1String("contents"))
        ShowContents();
      else if (ParseNumber(url.path(), &number))
        ShowTopic(number);
    });
    resize(520, 420);
  }
  void SetFile(CHelpFile file) { m_file = std::move(file); }
  void ShowContents() {
    QString html = ToHtml(m_file.Contents()) + QStringLiteral("<ul>");
    for (const auto& [number, topic] : m_file.Topics())
      html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>").arg(number).arg(topic.title.toHtmlEscaped());
    html += QStringLiteral("</ul>");
    Present(m_file.Contents().title, html);
  }
  bool ShowTopic(unsigned long number) {
    const HelpTopic* topic = m_file.FindTopic(number);
    if (!topic) return false;
    Present(topic->title,
            ToHtml(*topic) + QStringLiteral("<p><a href=\"contents:\">Contents</a></p>"));
    return true;
  }

private:
  void Present(const QString& title, const QString& html) {
    setWindowTitle(title);
    m_browser->setHtml(html);
    show();
    raise();
    activateWindow();
  }
  QTextBrowser* m_browser;
  CHelpFile m_file;
};

QPointer<HelpViewer> g_viewer;

QWidget* ActiveWindow() { return QApplication::activeWindow(); }

class ContextHelpFilter : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject* object, QEvent* event) override {
    switch (event->type()) {
      case QEvent::EnterWhatsThisMode:
        g_helpMode = true;
        break;
      case QEvent::LeaveWhatsThisMode:
        g_helpMode = false;
        break;
      case QEvent::WhatsThis:
        return HandleWhatsThis(object, event);
      case QEvent::KeyPress:
        return HandleKey(object, static_cast<QKeyEvent*>(event));
      default:
        break;
    }
    return false;
  }

private:
  static bool HandleWhatsThis(QObject* object, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(object);
    CWndHost* host = w ? CWndHost::FromWidget(w) : nullptr;
    if (!host) return false;
    const bool before = g_helpMode;
    g_helpMode = true;
    const bool handled = host->OnHelpInfo(CWndHost::ControlIdOf(w));
    g_helpMode = before;
    if (!handled) return false;
    event->accept();
    // One click answers one question, whatever the help call showed.
    QWhatsThis::leaveWhatsThisMode();
    g_helpMode = false;
    return true;
  }
  static bool HandleKey(QObject* object, QKeyEvent* key) {
    if (key->key() != Qt::Key_F1 || object != QApplication::focusWidget()) return false;
    auto* w = static_cast<QWidget*>(object);
    CWndHost* host = CWndHost::FromWidget(w);
    if (!host) return false;
    if (key->modifiers() & Qt::ShiftModifier) {
      CWndHost* top = CWndHost::FromWidget(w->window());
      (top ? top : host)->OnSysCommand(SC_CONTEXTHELP);
      return true;
    }
    return host->OnHelpInfo(CWndHost::ControlIdOf(w));
  }
};

}  // namespace

bool CHelpFile::Load(const std::string& path, QString* error) {
  QFile file(QString::fromLocal8Bit(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  const QByteArray bytes = file.readAll();
  return Parse(ToQ(std::string(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

bool CHelpFile::Parse(const QString& source) {
  *this = CHelpFile();
  QString* body = nullptr;
  for (QString line : source.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (line.startsWith('#')) continue;
    if (line.startsWith('@')) {
      const QString kind = line.section(' ', 0, 0);
      const QString rest = line.section(' ', 1).trimmed();
      unsigned long number = 0;
      if (kind == QLatin1String("@contents")) {
        m_contents.title = rest;
        body = &m_contents.text;
      } else if (kind == QLatin1String("@topic") && ParseNumber(rest.section(' ', 0, 0), &number)) {
        HelpTopic& topic = m_topics[number];
        topic.title = rest.section(' ', 1).trimmed();
        body = &topic.text;
      } else if (kind == QLatin1String("@popup") && ParseNumber(rest, &number)) {
        body = &m_popups[number];
      } else {
        body = nullptr;
      }
      continue;
    }
    if (body) *body += line + '\n';
  }
  for (auto& [number, text] : m_popups) text = text.trimmed();
  return true;
}

const HelpTopic* CHelpFile::FindTopic(unsigned long number) const {
  const auto it = m_topics.find(number);
  return it == m_topics.end() ? nullptr : &it->second;
}

const QString* CHelpFile::FindPopup(unsigned long number) const {
  const auto it = m_popups.find(number);
  return it == m_popups.end() ? nullptr : &it->second;
}

void SetHelpFilePath(const std::string& path) { g_helpPath = path; }
const std::string& GetHelpFilePath() { return g_helpPath; }
bool IsHelpMode() { return g_helpMode; }
void SetHelpMode(bool on) { g_helpMode = on; }

void EnterWhatsThisMode() {
  g_helpMode = true;
  QWhatsThis::enterWhatsThisMode();
}

void SetHelpObserverForTesting(HelpObserver observer) { g_observer = std::move(observer); }

bool AfxWinHelp(unsigned long data, HelpCommand command, QWidget* anchor) {
  if (g_observer) {
    g_observer(command, data);
    return true;
  }
  if (command == HELP_QUIT) {
    if (g_viewer) g_viewer->close();
    return true;
  }
  CHelpFile file;
  QString error;
  if (!file.Load(g_helpPath, &error)) {
    QMessageBox::warning(ActiveWindow(), QStringLiteral("Help"),
                         QStringLiteral("Cannot open the help file \"%1\": %2.")
                             .arg(QString::fromLocal8Bit(g_helpPath.c_str()), error));
    return false;
  }
  if (command == HELP_CONTEXTPOPUP) {
    const QString* text = file.FindPopup(data);
    const QString shown = text ? *text : QStringLiteral("No help topic is associated with this item.");
    const QPoint pos = anchor ? anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height()))
                              : QCursor::pos();
    QWhatsThis::showText(pos, shown, anchor);
    return text != nullptr;
  }
  if (!g_viewer) g_viewer = new HelpViewer;
  g_viewer->SetFile(std::move(file));
  if (command == HELP_CONTEXT) {
    if (g_viewer->ShowTopic(data)) return true;
    QMessageBox::warning(ActiveWindow(), QStringLiteral("Help"),
                         QStringLiteral("The help file \"%1\" has no topic %2.")
                             .arg(QString::fromLocal8Bit(g_helpPath.c_str()))
                             .arg(data));
    return false;
  }
  g_viewer->ShowContents();
  return true;
}

void InstallContextHelpFilter() {
  static bool installed = false;
  if (installed || !qApp) return;
  installed = true;
  qApp->installEventFilter(new ContextHelpFilter(qApp));
}
