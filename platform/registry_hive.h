// One registry hive kept in an SQLite database file.
#pragma once

#include "platform/registry.h"

#include <mutex>
#include <string>

struct sqlite3;

// The components of a key path, empty ones (doubled or outer '\') dropped.
std::vector<std::string> SplitRegPath(const std::string& path);

class RegistryHive : public RegProvider {
public:
  explicit RegistryHive(std::string file);
  ~RegistryHive() override;
  RegistryHive(const RegistryHive&) = delete;
  RegistryHive& operator=(const RegistryHive&) = delete;

  void SetReadOnly(bool readOnly) { m_forcedReadOnly = readOnly; }

  bool KeyExists(const std::string& path) override;
  std::vector<std::string> SubKeys(const std::string& path) override;
  std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) override;
  std::vector<std::string> ValueNames(const std::string& path) override;
  bool IsWritable() const override;
  long CreateKey(const std::string& path) override;
  long SetValue(const std::string& path, const std::string& name, const RegValue& value) override;
  long DeleteValue(const std::string& path, const std::string& name) override;
  long DeleteKey(const std::string& path) override;

private:
  bool Open();
  // The key's row id (0 for the hive's root), or -1 when it does not exist.
  long long FindKey(const std::string& path);
  // The first column of sql's rows, for the key's row id as parameter 1.
  std::vector<std::string> ListNames(const std::string& path, const char* sql);

  std::string m_file;
  sqlite3* m_db = nullptr;
  bool m_openFailed = false;
  bool m_dbReadOnly = false;
  bool m_forcedReadOnly = false;
  std::recursive_mutex m_mutex;
};
