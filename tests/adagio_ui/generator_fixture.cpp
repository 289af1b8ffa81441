#include "tests/adagio_ui/generator_fixture.h"

#include "adagio/quote_source.h"
#include "adagio/res/resource.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"

#include <QApplication>
#include <QComboBox>

#include <cstdlib>
#include <memory>

GeneratorTest::GeneratorTest() {
  m_oldFolder = std::filesystem::current_path();
  std::filesystem::current_path(work.path());
  if (const char* old = std::getenv("XDG_RUNTIME_DIR")) m_oldRuntime = old;
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  SetNativeDialogs(false);
  SetHelpObserverForTesting([this](HelpCommand command, unsigned long data) {
    helpCalls.emplace_back(command, data);
  });
  CGeneratorDlg::SetShellOpenForTesting([this](const std::string& file, const std::string& args) {
    started.emplace_back(file, args);
    return startSucceeds;
  });
}

GeneratorTest::~GeneratorTest() {
  app.ExitInstance();
  CGeneratorDlg::SetShellOpenForTesting(nullptr);
  SetHelpObserverForTesting(nullptr);
  setenv("XDG_RUNTIME_DIR", m_oldRuntime.c_str(), 1);
  std::filesystem::current_path(m_oldFolder);
}

void GeneratorTest::SetRecentFiles(const std::vector<std::string>& paths) {
  app.SetRegistryKey(IDS_REGISTRY_KEY_ADAGIO);
  for (size_t i = 0; i < paths.size(); ++i)
    if (!paths[i].empty())
      app.WriteProfileString("Recent File List", "File" + std::to_string(i + 1), paths[i]);
}

std::string GeneratorTest::ProfileString(const std::string& section, const std::string& entry) {
  return app.GetProfileString(section, entry, "<none>");
}

CGeneratorDlg& GeneratorTest::Start() {
  EXPECT_TRUE(app.InitInstance());
  CGeneratorDlg* dlg = app.GetMainWnd();
  if (!dlg) throw std::runtime_error("no window");
  return *dlg;
}

QStringList GeneratorTest::NameBoxItems() const {
  QStringList items;
  QComboBox* box = app.GetMainWnd()->GetNameBox();
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

bool GeneratorTest::Enabled(int id) const {
  QWidget* w = app.GetMainWnd()->GetDlgItem(id);
  return w && w->isEnabled();
}

std::string SourceText(const std::string& title, const std::string& subtitle) {
  std::string text = std::string(CQuoteSource::kTitleMarker) + "\r\n" + title + "\r\n" +
                     CQuoteSource::kSubtitleMarker + "\r\n" + subtitle + "\r\n";
  CDateTime day(1996, 1, 1, 0, 0, 0);
  text += CQuoteSource::DateMarker(day) + "\r\n";
  for (int i = 1; i < 366; ++i) {
    day = day + CDateTimeSpan(1, 0, 0, 0);
    text += CQuoteSource::DateMarker(day) + "\r\n";
  }
  return text;
}
