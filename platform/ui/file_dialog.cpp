#include "platform/ui/file_dialog.h"

#include "platform/ui/ids.h"
#include "platform/ui/shell.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QStringList ToNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromLocal8Bit(filter.c_str()).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    if (description.isEmpty()) break;
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    const int open = description.lastIndexOf(QLatin1String(" ("));
    if (open > 0 && description.endsWith(')')) description.truncate(open);
    filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
  }
  return filters;
}

std::optional<std::string> RunFileDialog(QWidget* owner, const FileDialogRequest& request) {
  QString initial = QString::fromLocal8Bit(request.initialFile.c_str());
  for (;;) {
    QFileDialog dialog(owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !NativeDialogs());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(ToNameFilters(request.filter));
    if (request.executablesOnly)
      dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    if (!request.defaultExtension.empty())
      dialog.setDefaultSuffix(QString::fromLocal8Bit(request.defaultExtension.c_str()));
    const QFileInfo start(initial);
    dialog.setDirectory(initial.isEmpty() || !start.absoluteDir().exists() ? QDir::currentPath()
                                                                          : start.absolutePath());
    if (!initial.isEmpty()) dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = QDir::cleanPath(dialog.selectedFiles().first());
    const QFileInfo info(chosen);
    if (info.isDir()) return std::nullopt;
    if (request.createPrompt && !info.exists()) {
      const QString question =
          QStringLiteral("%1\nThis file does not exist.\nDo you want to create it?").arg(chosen);
      if (AfxMessageBox(owner, question, MB_YESNO | MB_ICONQUESTION, request.title) != IDYES) {
        initial = chosen;  // back to the dialog, as it was
        continue;
      }
    }
    return chosen.toLocal8Bit().toStdString();
  }
}
