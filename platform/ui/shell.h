// Message boxes, the folder browser, the file-open dialog, starting other
// programs and the wait cursor.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

// Shows a modal message box; type combines MB_ buttons and an MB_ icon.
// Returns IDOK, IDCANCEL, IDYES or IDNO. An empty caption takes the
// application's display name.
int AfxMessageBox(QWidget* owner, const QString& text, unsigned type = 0,
                  const QString& caption = {});

// Asks for a folder, starting at start when it is a folder, else at the
// user's desktop (or home); nullopt when cancelled. The path is returned
// without a trailing separator.
std::optional<std::string> BrowseForFolder(QWidget* owner, const QString& title,
                                           const std::string& start = {});

// While set, answers BrowseForFolder in place of the dialog (tests), given
// the title and the folder the dialog would open at; null brings it back.
using FolderBrowser =
    std::function<std::optional<std::string>(const QString& title, const std::string& start)>;
void SetFolderBrowserForTesting(FolderBrowser browser);

// Qt's own dialogs instead of the desktop's (tests type into them).
void SetNativeDialogs(bool native);
bool NativeDialogs();

// Starts a program or opens a document with the desktop's handler ("open"),
// without waiting. False when it could not be started.
bool ShellExecuteOpen(const std::string& path, const std::string& arguments = {});

// Starts the executable file at path with arguments (no shell in between)
// in the working directory, without waiting. False when path is no
// executable regular file or it could not be started.
bool StartProgram(const std::string& path, const std::vector<std::string>& arguments,
                  const std::string& workingDirectory);

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore();

private:
  bool m_active;
};
