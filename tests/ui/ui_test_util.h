// Helpers of the UI tests: answering modal dialogs and recording help calls.
#pragma once

#include "platform/ui/help.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QFileDialog;
class QWidget;

// Runs act on the next modal window once it is open (when called from a
// modal window, on the next one after it). When none opens within
// timeoutMs the test fails.
void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs = 3000);

// Types a name into a file dialog's name field, as a user does over what the
// dialog proposes (a selection made earlier in the process stays otherwise).
void TypeFileName(QFileDialog* dialog, const std::string& name);

// Records the help calls for its lifetime instead of showing help.
class HelpRecorder {
public:
  HelpRecorder();
  ~HelpRecorder();
  std::vector<std::pair<HelpCommand, unsigned long>> calls;
};
