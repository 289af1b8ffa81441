// The modeless property sheet: a top-level window of tabbed pages, each page
// built from a dialog template the first time its tab is chosen; with the
// window's own system menu (opened from its icon and with Alt+Space) and a
// "?" context-help button, since the caption belongs to the window manager.
#pragma once

#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

#include <QWidget>

#include <vector>

class CPropertySheet;
class QTabWidget;
class QToolButton;

class CPropertyPage : public QWidget, public CWndHost {
  Q_OBJECT
public:
  explicit CPropertyPage(unsigned templateId, QWidget* parent = nullptr);
  // Leaves its sheet first, so a sheet may hold its pages as members.
  ~CPropertyPage() override;

  // Builds the controls and runs OnInitDialog, once.
  bool CreatePage();
  bool IsCreated() const { return m_created; }
  unsigned GetTemplateId() const { return m_templateId; }
  QString GetCaption() const;
  CPropertySheet* GetParentSheet() const { return m_sheet; }

  // Shows the variables in the controls.
  virtual bool OnInitDialog();
  // The tab became active; on every activation but the first the controls
  // show the variables again. False is ignored.
  virtual bool OnSetActive();
  // The tab is about to be left: a saving data exchange, whose failure
  // keeps it.
  virtual bool OnKillActive();
  // The page's cancel button (IDCANCEL).
  virtual void OnCancel();
  // The page's window goes with its sheet's (once, for a created page).
  // A page that handles it calls DestroyPage from its own destructor too,
  // for a sheet deleted without being closed.
  virtual void OnDestroy();
  void DestroyPage();
  bool OnCommand(unsigned id) override;
  QSize sizeHint() const override;

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

private:
  friend class CPropertySheet;
  unsigned m_templateId;
  bool m_created = false;
  bool m_destroyed = false;
  bool m_activated = false;
  CPropertySheet* m_sheet = nullptr;
};

class CPropertySheet : public QWidget, public CWndHost {
  Q_OBJECT
public:
  explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr);
  ~CPropertySheet() override;

  // Pages stay owned by the caller; add them before Create.
  void AddPage(CPropertyPage* page);
  // Builds the window hidden, runs OnCreate and OnInitDialog. False when
  // either refuses.
  virtual bool Create();
  // Closes the window: OnDestroy, then PostNcDestroy from the event loop.
  void DestroyWindow() { close(); }

  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int index) const;
  int GetPageIndex(const CPropertyPage* page) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  bool SetActivePage(int index);
  QTabWidget* GetTabControl() const { return m_tabs; }

  // The system menu: Restore, Move, Size, Minimize, Maximize, a separator
  // and Close; commands go to OnSysCommand.
  CMenu* GetSystemMenu() { return &m_systemMenu; }
  void ShowSystemMenu();
  // Where the icon (system menu) and "?" buttons sit: the band's two ends.
  void SetCaptionBand(const QRect& band);
  // Shows or hides the "?" context-help button (and enables Shift+F1).
  void SetContextHelpButton(bool on);
  bool HasContextHelpButton() const;
  QToolButton* GetSystemMenuButton() const { return m_iconButton; }
  QToolButton* GetContextHelpButton() const { return m_helpButton; }

  // The window creation message; false refuses the window.
  virtual bool OnCreate();
  virtual bool OnInitDialog();
  // The window is being destroyed (closed).
  virtual void OnDestroy();
  // After the window is gone; a sheet that deletes itself does it here.
  virtual void PostNcDestroy();

protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  friend class CPropertyPage;
  void Activate(int index);
  // Takes a page off the sheet without activating another one.
  void RemovePage(CPropertyPage* page);
  void UpdateSystemMenu();

  std::vector<CPropertyPage*> m_pages;
  QTabWidget* m_tabs;
  QToolButton* m_iconButton;
  QToolButton* m_helpButton;
  CMenu m_systemMenu;
  int m_active = -1;
  bool m_destroyed = false;
};
