// Entry point of the UI tests: the sandbox of every test (registry, XDG
// folders), the offscreen platform and a QApplication, then GoogleTest.
#include "platform/ui/shell.h"
#include "tests/support/temp_dir.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  TempDir sandbox;
  EnterTestSandbox(sandbox);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetNativeDialogs(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
