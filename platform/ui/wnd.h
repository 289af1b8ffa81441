// What dialogs, property pages and sheets share: controls by identifier built
// from a dialog template, command routing, timers, context menus and help.
#pragma once

#include "platform/ui/ids.h"
#include "platform/ui/resources.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <map>
#include <string>

class CDataExchange;
class CEdit;
class CMenu;
class QFont;
class QTimerEvent;
class QWidget;

class CWndHost {
public:
  explicit CWndHost(QWidget* self);
  virtual ~CWndHost();
  CWndHost(const CWndHost&) = delete;
  CWndHost& operator=(const CWndHost&) = delete;

  QWidget* GetWidget() const { return m_self; }
  // The nearest host of w or of one of its parents.
  static CWndHost* FromWidget(const QWidget* w);
  // The control identifier of w or of its nearest parent control; 0 for none.
  static int ControlIdOf(const QWidget* w);

  // Controls.
  QWidget* GetDlgItem(int id) const;
  QString GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const QString& text);
  int GetDlgItemInt(int id, bool* ok = nullptr) const;
  void SetDlgItemInt(int id, int value);
  bool IsDlgButtonChecked(int id) const;
  void CheckDlgButton(int id, bool check);
  // Checks checkId among the radio buttons first..last and unchecks the
  // others; a checkId outside the range leaves none checked.
  void CheckRadioButton(int firstId, int lastId, int checkId);
  // The checked radio button among first..last, or 0.
  int GetCheckedRadioButton(int firstId, int lastId) const;
  void EnableDlgItem(int id, bool enable);
  const DialogTemplate* GetTemplate() const { return m_template; }
  // The pixel size of the template, in its own font.
  QSize GetTemplateSize() const;

  // Routes a command: this window, then its parent windows, then the
  // application (ID_HELP). Returns whether somebody handled it.
  bool SendCommand(unsigned id);
  // A command for this window; true if handled.
  virtual bool OnCommand(unsigned id);
  // A notification of one of this window's controls (LBN_SELCHANGE,
  // LBN_DBLCLK, CBN_SELCHANGE); true if handled.
  virtual bool OnControlNotify(int id, unsigned code);

  // Data exchange between the controls and the window's variables: false
  // when a saving exchange failed (the message has been shown and the
  // offending control has the focus).
  bool UpdateData(bool saveAndValidate = true);
  virtual void DoDataExchange(CDataExchange* dx);
  // System commands (system menu, caption buttons); the default handles
  // SC_CONTEXTHELP by entering "What's This?" mode.
  virtual void OnSysCommand(unsigned id);
  // A right click or the context-menu key; pos in screen coordinates.
  // Returns whether a menu was shown.
  virtual bool OnContextMenu(QWidget* w, const QPoint& pos);
  // Called just before a popup menu of this window opens.
  virtual void OnInitMenuPopup(CMenu& menu);
  // Shows a popup menu owned by this window: commands go to SendCommand.
  void TrackPopupMenu(unsigned menuId, const QPoint& pos);

  // Help for a control: in help mode its popup (0x10000 + id), else the
  // window's own help topic. Returns whether it was handled.
  virtual bool OnHelpInfo(int controlId);
  // The window's help call; the default hands it to the application's help.
  virtual void WinHelp(unsigned long data, HelpCommand command);

  // Timers: OnTimer(id) every interval; false when none is available.
  bool SetTimer(unsigned id, int milliseconds);
  bool KillTimer(unsigned id);
  virtual void OnTimer(unsigned id);
  // Forwarded by the widget's timerEvent; true if it was one of ours.
  bool DispatchTimer(QTimerEvent* event);

protected:
  // Builds the controls of a template into the widget (once). Returns false
  // when there is no such template.
  bool CreateControls(unsigned templateId);
  // Makes a control; the default builds the template's kind. A subclass may
  // return its own widget for an identifier (for example a derived edit).
  virtual QWidget* CreateControl(const ControlTemplate& control, QWidget* parent);
  const QFont& GetDialogFont() const;
  // Gives a multi-line edit the template's styles.
  static void ConfigureEdit(CEdit* edit, const ControlTemplate& control);

private:
  QWidget* m_self;
  const DialogTemplate* m_template = nullptr;
  std::map<int, QWidget*> m_controls;
  std::map<unsigned, int> m_timers;  // our id -> Qt's id
  QSize m_base;
};
