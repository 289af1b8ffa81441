// A fresh temporary folder, removed with everything in it at the end.
#pragma once

#include <string>

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  // path() + "/" + name
  std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
  std::string m_path;
};

// Points both registry hives at a fresh folder for the test's lifetime.
class TempRegistry {
public:
  TempRegistry();
  ~TempRegistry();
  const std::string& path() const { return m_dir.path(); }

private:
  TempDir m_dir;
};

// Points the registry hives and the XDG config, data and runtime folders
// into sandbox, so that no test touches the user's own.
void EnterTestSandbox(const TempDir& sandbox);

// Writes bytes to a file; reads a whole file.
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
