// Adagio's window: the Name box of recent sources, the status box, and the
// New, Edit, Generate and Credits commands, with the window's own menu for
// choosing the editor and the About box.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"

#include <QIcon>

#include <functional>
#include <string>

class QComboBox;
class QToolButton;

class CGeneratorDlg : public CDialog {
  Q_OBJECT
public:
  static constexpr const char* kNewTitle = "Select New or Existing Source File";
  static constexpr const char* kSourceFilter =
      "Quotation Source (*.txt)|*.txt|All files (*.*)|*.*||";
  static constexpr const char* kEditorTitle = "Select your word processor";
  static constexpr const char* kDefaultEditor = "Default - probably NotePad";

  explicit CGeneratorDlg(QWidget* parent = nullptr);
  ~CGeneratorDlg() override;

  // Enables the buttons and fills the status box for the selected source.
  void UpdateState();
  void OnNew();
  void OnEdit();
  void OnGenerate();
  void OnCredits();
  void OnChooseEditor();
  // Restores the window if minimised and brings it to the front.
  void BringToFront();

  QComboBox* GetNameBox() const { return m_name; }
  const std::string& GetStatusText() const { return m_status; }
  const std::string& GetEditorPath() const { return m_editor; }
  CMenu* GetSystemMenu() { return &m_systemMenu; }
  void ShowSystemMenu();

  // What the About box shows for the editor: its file name, or the default.
  static std::string EditorDisplayName(const std::string& editorPath);
  // path in double quotes, as one parameter of a command line.
  static std::string QuoteParameter(const std::string& path);

  // Starting the editor: file is the program or document, parameters its
  // command line. Tests replace it.
  using ShellOpen = std::function<bool(const std::string& file, const std::string& parameters)>;
  static void SetShellOpenForTesting(ShellOpen open);

  bool OnInitDialog() override;
  bool OnCommand(unsigned id) override;
  void OnSysCommand(unsigned id) override;
  bool OnContextMenu(QWidget* w, const QPoint& pos) override;
  // Help topics are numbered by their window's template.
  void WinHelp(unsigned long data, HelpCommand command) override;

protected:
  QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) override;

private:
  void ShowStatus(const std::string& text);
  void EnableControl(int id, bool enable);

  QComboBox* m_name = nullptr;
  std::string m_status;
  QIcon m_icon;
  std::string m_editor;
  CMenu m_systemMenu;
  QToolButton* m_menuButton = nullptr;
  QToolButton* m_helpButton = nullptr;
};
