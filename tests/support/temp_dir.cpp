#include "tests/support/temp_dir.h"

#include "platform/registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumen-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

TempRegistry::TempRegistry() {
  setenv("LUMEN_REGISTRY_DIR", m_dir.path().c_str(), 1);
  RegResetForTesting();
}

TempRegistry::~TempRegistry() {
  RegSetHiveReadOnlyForTesting(HKEY_CURRENT_USER, false);
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, false);
  RegResetForTesting();
}

void EnterTestSandbox(const TempDir& sandbox) {
  setenv("LUMEN_REGISTRY_DIR", sandbox.file("registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", sandbox.file("config").c_str(), 1);
  setenv("XDG_DATA_HOME", sandbox.file("data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", sandbox.file("runtime").c_str(), 1);
  for (const char* dir : {"config", "data", "runtime"})
    std::filesystem::create_directories(sandbox.file(dir));
  std::filesystem::permissions(sandbox.file("runtime"), std::filesystem::perms::owner_all);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
