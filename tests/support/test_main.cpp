// Test entry point: keeps every test off the user's own registry, autostart
// folder and data, whatever the test itself sets up.
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  TempDir sandbox;
  EnterTestSandbox(sandbox);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
