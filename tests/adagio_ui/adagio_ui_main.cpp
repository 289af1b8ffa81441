// Entry point of Adagio's window tests: every test's registry, XDG and
// runtime folders in a sandbox, the offscreen platform and a QApplication.
#include "tests/support/temp_dir.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  TempDir sandbox;
  EnterTestSandbox(sandbox);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
