#include "platform/ui/shell.h"

#include "platform/ui/ids.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
bool g_native = true;
FolderBrowser g_folderBrowser;

QFileDialog::Options DialogOptions() {
  return g_native ? QFileDialog::Options() : QFileDialog::DontUseNativeDialog;
}
}  // namespace

int AfxMessageBox(QWidget* owner, const QString& text, unsigned type, const QString& caption) {
  QMessageBox box(owner);
  box.setWindowTitle(caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption);
  box.setText(text);
  switch (type & 0xF0) {
    case MB_ICONERROR:
      box.setIcon(QMessageBox::Critical);
      break;
    case MB_ICONQUESTION:
      box.setIcon(QMessageBox::Question);
      break;
    case MB_ICONWARNING:
      box.setIcon(QMessageBox::Warning);
      break;
    case MB_ICONINFORMATION:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      break;
  }
  switch (type & 0x0F) {
    case MB_YESNO:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MB_YESNOCANCEL:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MB_RETRYCANCEL:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      break;
    case MB_OKCANCEL:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    case QMessageBox::Retry:
      return IDRETRY;
    case QMessageBox::Cancel:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

std::optional<std::string> BrowseForFolder(QWidget* owner, const QString& title,
                                           const std::string& first) {
  QString start = QString::fromLocal8Bit(first.c_str());
  if (start.isEmpty() || !QFileInfo(start).isDir())
    start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (start.isEmpty() || !QDir(start).exists()) start = QDir::homePath();
  if (g_folderBrowser) return g_folderBrowser(title, start.toLocal8Bit().toStdString());
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, title, start, DialogOptions() | QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  QString path = QDir::cleanPath(chosen);
  if (!QFileInfo(path).isDir()) return std::nullopt;
  return path.toLocal8Bit().toStdString();
}

void SetFolderBrowserForTesting(FolderBrowser browser) { g_folderBrowser = std::move(browser); }

void SetNativeDialogs(bool native) { g_native = native; }
bool NativeDialogs() { return g_native; }

bool ShellExecuteOpen(const std::string& path, const std::string& arguments) {
  const QString file = QString::fromLocal8Bit(path.c_str());
  const QFileInfo info(file);
  if (info.isFile() && info.isExecutable()) {
    QStringList args;
    if (!arguments.empty()) args = QProcess::splitCommand(QString::fromLocal8Bit(arguments.c_str()));
    return QProcess::startDetached(file, args, info.absolutePath());
  }
  if (!info.exists()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

bool StartProgram(const std::string& path, const std::vector<std::string>& arguments,
                  const std::string& workingDirectory) {
  const QString file = QString::fromLocal8Bit(path.c_str());
  const QFileInfo info(file);
  if (path.empty() || !info.isFile() || !info.isExecutable()) return false;
  QStringList args;
  for (const std::string& a : arguments) args << QString::fromLocal8Bit(a.c_str());
  return QProcess::startDetached(info.absoluteFilePath(), args,
                                 QString::fromLocal8Bit(workingDirectory.c_str()));
}

CWaitCursor::CWaitCursor() : m_active(true) { QApplication::setOverrideCursor(Qt::WaitCursor); }

CWaitCursor::~CWaitCursor() { Restore(); }

void CWaitCursor::Restore() {
  if (!m_active) return;
  m_active = false;
  QApplication::restoreOverrideCursor();
}
