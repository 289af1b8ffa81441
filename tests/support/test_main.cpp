// Test entry point: keeps every test off the user's own registry, autostart
// folder and data, whatever the test itself sets up.
#include "tests/support/temp_dir.h"

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
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
