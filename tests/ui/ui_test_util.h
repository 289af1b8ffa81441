// Helpers of the UI tests: answering modal dialogs and recording help calls.
#pragma once

#include "platform/ui/help.h"

#include <functional>
#include <utility>
#include <vector>

class QWidget;

// Runs act on the next modal window once it is open. When none opens within
// timeoutMs the test fails.
void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs = 3000);

// Records the help calls for its lifetime instead of showing help.
class HelpRecorder {
public:
  HelpRecorder();
  ~HelpRecorder();
  std::vector<std::pair<HelpCommand, unsigned long>> calls;
};
