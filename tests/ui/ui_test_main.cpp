// Entry point of the UI tests: the sandbox of every test (registry, XDG
// folders), the offscreen platform and a QApplication, then GoogleTest.
#include "platform/ui/shell.h"
#include "tests/support/temp_dir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  TempDir sandbox;
  setenv("LUMEN_REGISTRY_DIR", sandbox.file("registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", sandbox.file("config").c_str(), 1);
  setenv("XDG_DATA_HOME", sandbox.file("data").c_str(), 1);
  std::filesystem::create_directories(sandbox.file("config"));
  std::filesystem::create_directories(sandbox.file("data"));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetNativeDialogs(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
