#include "adagio/app/generator_app.h"

#include "adagio/app/generator_dlg.h"
#include "platform/ui/single_instance.h"
#include "adagio/res/resource.h"
#include "adagio/res/strings.h"
#include "adagio/res/ui_resources.h"
#include "platform/paths.h"
#include "platform/ui/help.h"
#include "platform/ui/text.h"

#include <QComboBox>

#include <filesystem>
#include <system_error>

namespace {

std::string WorkingFolder() {
  std::error_code error;
  const std::filesystem::path dir = std::filesystem::current_path(error);
  return error ? std::string() : dir.string();
}

}  // namespace

CGeneratorApp* GetGeneratorApp() { return dynamic_cast<CGeneratorApp*>(AfxGetApp()); }

CGeneratorApp::CGeneratorApp(std::string profileName)
    : CWinApp(std::move(profileName), &AdagioStringTable()),
      m_recent("Recent File List", "File%d", kRecentFiles) {}

CGeneratorApp::~CGeneratorApp() { ExitInstance(); }

CGeneratorDlg* CGeneratorApp::GetMainWnd() const { return m_dlg.data(); }

bool CGeneratorApp::InitInstance() {
  SetUiResources(&AdagioUiResources());
  SetHelpFilePath(PathDirectory(GetModuleFileName()) + "Lumen.hlp");

  m_instance = std::make_unique<CSingleInstance>(ToQ(LoadString(IDS_WINDOW_TITLE)));
  if (!m_instance->Claim()) return false;

  SetRegistryKey(IDS_REGISTRY_KEY_ADAGIO);
  m_recent.ReadList();
  m_profileLoaded = true;

  // The window fills its Name box through this object while it is created.
  auto* dlg = new CGeneratorDlg;
  m_dlg = dlg;
  if (!dlg->Create()) {
    delete dlg;
    return false;
  }
  m_instance->onActivate = [this] {
    if (m_dlg) m_dlg->BringToFront();
  };
  dlg->show();
  return true;
}

int CGeneratorApp::ExitInstance(int exitCode) {
  delete m_dlg.data();
  if (m_profileLoaded) m_recent.WriteList();
  m_profileLoaded = false;
  m_instance.reset();
  return exitCode;
}

std::string CGeneratorApp::GetSelectedSource() const {
  QComboBox* box = m_dlg ? m_dlg->GetNameBox() : nullptr;
  if (!box || box->currentIndex() < 0) return "";
  // Each item keeps the index of its entry: empty entries are not listed.
  return m_recent[box->currentData().toInt()];
}

void CGeneratorApp::FillSourceList(const std::string& path) {
  QComboBox* box = m_dlg ? m_dlg->GetNameBox() : nullptr;
  if (!box) return;
  box->clear();
  const std::string folder = WorkingFolder();
  for (int i = 0; i < m_recent.GetSize(); ++i) {
    const std::string name = m_recent.GetDisplayName(i, folder);
    if (!name.empty()) box->addItem(ToQ(name), i);
  }
  box->setCurrentIndex(box->count() > 0 ? 0 : -1);
  if (path.empty()) return;
  for (int item = 0; item < box->count(); ++item) {
    if (m_recent[box->itemData(item).toInt()] == path) {
      box->setCurrentIndex(item);
      break;
    }
  }
}

void CGeneratorApp::AddToRecentFileList(const std::string& path) {
  m_recent.Add(path);
  // Written at once, so that a source chosen is not lost with the program.
  if (m_profileLoaded) m_recent.WriteList();
  FillSourceList(path);
}
