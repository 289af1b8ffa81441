// A modal dialog built from a dialog template.
#pragma once

#include "platform/ui/wnd.h"

#include <QDialog>

class CDialog : public QDialog, public CWndHost {
  Q_OBJECT
public:
  explicit CDialog(unsigned templateId, QWidget* parent = nullptr);

  // Creates the controls and runs OnInitDialog, once; false without the
  // template. The dialog is then shown modelessly with show().
  bool Create();
  // Creates the dialog (if not yet) and shows it modally.
  // Returns the code given to EndDialog (IDOK, IDCANCEL), or -1 when the
  // template is missing.
  int DoModal();
  void EndDialog(int result) { QDialog::done(result); }

  // Gives the caption the "?" context-help button (and Shift+F1).
  void EnableContextHelpButton();

  // Shows the variables in the controls (UpdateData(false)).
  virtual bool OnInitDialog();
  // Ends the dialog with IDOK once a saving data exchange succeeded.
  virtual void OnOK();
  virtual void OnCancel();
  // The desktop session ends while the dialog is open: the default ends it
  // as cancelled; a dialog whose typing must not be lost keeps it here.
  virtual void OnEndSession() { EndDialog(IDCANCEL); }
  bool OnCommand(unsigned id) override;

  // Esc and the close box cancel; accept is OK.
  void reject() override { OnCancel(); }
  void accept() override { OnOK(); }

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

private:
  unsigned m_templateId;
  bool m_initialised = false;
};
