// The file-open dialog with the framework's filter form and options.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QWidget;

struct FileDialogRequest {
  QString title;
  // "Description (*.txt)|*.txt|All files (*.*)|*.*||"
  std::string filter;
  std::string defaultExtension;  // without the dot; "" for none
  std::string initialFile;       // a full path or a bare name; "" for none
  bool fileMustExist = false;
  // A name of a file that does not exist is confirmed before it is taken.
  bool createPrompt = false;
  bool executablesOnly = false;
};

// The filter as Qt's name filters. "*.*" becomes "*", which here also
// matches names without a dot.
QStringList ToNameFilters(const std::string& filter);

// Shows the dialog modally; nullopt when cancelled. Qt's own dialog is used
// when SetNativeDialogs(false) asked for it.
std::optional<std::string> RunFileDialog(QWidget* owner, const FileDialogRequest& request);
