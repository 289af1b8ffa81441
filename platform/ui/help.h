// Help: the application's help function on its help file, the help-mode flag
// of "What's This?" mode, and the context-help plumbing of the windows.
//
// Help file format (plain text, in the user's charset):
//   # a comment line
//   @contents Title          the contents page
//   @topic 2 Title           a topic by context number
//   @popup 0x10426           a control's popup text
// Each heading's text runs to the next heading; blank lines separate
// paragraphs. Numbers are decimal or 0x hexadecimal.
#pragma once

#include "platform/ui/ids.h"

#include <QString>

#include <functional>
#include <map>
#include <string>

class QWidget;

struct HelpTopic {
  QString title;
  QString text;
};

class CHelpFile {
public:
  // False, with the reason in *error, when the file cannot be read.
  bool Load(const std::string& path, QString* error);
  bool Parse(const QString& source);

  const HelpTopic& Contents() const { return m_contents; }
  const HelpTopic* FindTopic(unsigned long number) const;
  const QString* FindPopup(unsigned long number) const;
  const std::map<unsigned long, HelpTopic>& Topics() const { return m_topics; }
  const std::map<unsigned long, QString>& Popups() const { return m_popups; }

private:
  HelpTopic m_contents;
  std::map<unsigned long, HelpTopic> m_topics;
  std::map<unsigned long, QString> m_popups;
};

void SetHelpFilePath(const std::string& path);
const std::string& GetHelpFilePath();

// The application's help-mode flag: set while "What's This?" mode is on.
bool IsHelpMode();
void SetHelpMode(bool on);
// Sets the flag and enters "What's This?" mode; the flag clears when the
// mode ends. Clicking a control then asks its window for help.
void EnterWhatsThisMode();

// The application's help function: HELP_FINDER (contents), HELP_CONTEXT
// (topic data), HELP_CONTEXTPOPUP (popup data, shown beside anchor) and
// HELP_QUIT (closes the viewer). A missing help file is reported by a
// message box naming it. Returns false when the call could not be served.
bool AfxWinHelp(unsigned long data, HelpCommand command, QWidget* anchor = nullptr);

// Tests see every help call here instead of windows opening.
using HelpObserver = std::function<void(HelpCommand command, unsigned long data)>;
void SetHelpObserverForTesting(HelpObserver observer);

// Routes "What's This?" clicks, F1 and the context-menu event of every host
// window to CWndHost; installed once, by the first window.
void InstallContextHelpFilter();
