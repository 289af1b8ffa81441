// Adagio's application object: the help file, the one-instance check, the
// registry profile with the recent source list, and the main window.
#pragma once

#include "adagio/app/recent_file_list.h"
#include "platform/winapp.h"

#include <QPointer>

#include <memory>
#include <string>

class CGeneratorDlg;
class CSingleInstance;

class CGeneratorApp : public CWinApp {
public:
  static constexpr int kRecentFiles = 4;

  // profileName "" takes the executable's name ("Adagio").
  explicit CGeneratorApp(std::string profileName = {});
  ~CGeneratorApp() override;

  // Start-up, with a QApplication: the help file path, the one-instance
  // check, the registry key and the recent source list, then the window,
  // shown. False when another instance runs (it was asked to come to the
  // front) or the window could not be made; the program then ends.
  bool InitInstance();
  // Closes what is left of the window and writes the recent source list.
  // Returns exitCode.
  int ExitInstance(int exitCode = 0);

  CGeneratorDlg* GetMainWnd() const;
  const CRecentFileList& GetRecentFileList() const { return m_recent; }

  // The full path of the Name box's selected source, "" for none.
  std::string GetSelectedSource() const;
  // Refills the Name box from the recent source list, names relative to the
  // working folder, and selects the first entry, or path when it is listed.
  void FillSourceList(const std::string& path = {});
  // Puts path at the top of the recent source list, then FillSourceList.
  void AddToRecentFileList(const std::string& path);

private:
  CRecentFileList m_recent;
  std::unique_ptr<CSingleInstance> m_instance;
  QPointer<CGeneratorDlg> m_dlg;
  bool m_profileLoaded = false;
};

// The current application object as Adagio's, or null.
CGeneratorApp* GetGeneratorApp();
