// A fresh Adagio for one test: registry, working folder, runtime folder,
// the application object, and recorded help calls and program starts.
#pragma once

#include "adagio/app/generator_app.h"
#include "adagio/app/generator_dlg.h"
#include "platform/ui/help.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/ui_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include <ostream>

class QWidget;

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}


class GeneratorTest : public ::testing::Test {
protected:
  GeneratorTest();
  ~GeneratorTest() override;

  // Writes the recent source list into Adagio's profile before start-up.
  void SetRecentFiles(const std::vector<std::string>& paths);
  std::string ProfileString(const std::string& section, const std::string& entry);
  // Starts Adagio and returns its window.
  CGeneratorDlg& Start();
  QStringList NameBoxItems() const;
  bool Enabled(int id) const;

  TempRegistry registry;
  TempDir work;
  TempDir runtime;
  CGeneratorApp app{"Adagio"};
  std::vector<std::pair<HelpCommand, unsigned long>> helpCalls;
  std::vector<std::pair<std::string, std::string>> started;
  bool startSucceeds = true;

private:
  std::filesystem::path m_oldFolder;
  std::string m_oldRuntime;
};

// A quotation source with the given title and subtitle and no quotations.
std::string SourceText(const std::string& title, const std::string& subtitle);
