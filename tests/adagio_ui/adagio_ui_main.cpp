// Entry point of Adagio's window tests: every test's registry, XDG and
// runtime folders in a sandbox, the offscreen platform and a QApplication.
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
  setenv("XDG_RUNTIME_DIR", sandbox.file("runtime").c_str(), 1);
  for (const char* dir : {"config", "data", "runtime"})
    std::filesystem::create_directories(sandbox.file(dir));
  std::filesystem::permissions(sandbox.file("runtime"), std::filesystem::perms::owner_all);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
