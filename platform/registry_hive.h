// One registry hive kept in an SQLite database file.
#pragma once

#include "platform/registry.h"

#include <functional>
#include <mutex>
#include <string>

struct sqlite3;

// The components of a key path, empty ones (doubled or outer '\') dropped.
std::vector<std::string> SplitRegPath(const std::string& path);

// What the calling thread's last registry call met in a hive: code is
// ERROR_CANTREAD when a read failed, text describes a storage problem
// (naming the file) or is empty.
struct HiveStatus {
  long code = ERROR_SUCCESS;
  std::string text;
};
HiveStatus& ThreadHiveStatus();

class RegistryHive : public RegProvider {
public:
  explicit RegistryHive(std::string file);
  ~RegistryHive() override;
  RegistryHive(const RegistryHive&) = delete;
  RegistryHive& operator=(const RegistryHive&) = delete;

  void SetReadOnly(bool readOnly) { m_forcedReadOnly = readOnly; }
  // Why the file cannot be used at all, or "" (opens it first).
  std::string Failure();

  // A transaction that the following calls of this thread share until
  // EndTransaction; nested ones join the outermost. Begin returns an error
  // code (and sets the thread's status) when it cannot begin.
  long BeginTransaction(bool write);
  // commit false rolls back. Returns the outcome of the outermost commit,
  // or of the whole transaction for a nested one that is committed.
  long EndTransaction(bool commit);

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
  enum class OpenState { kReady, kEmpty, kError };
  OpenState Open();
  OpenState OpenNew();
  OpenState OpenExisting();
  OpenState Fail(const std::string& reason);
  // Makes the database a hive in WAL mode unless it is one already.
  int SetUp(sqlite3* db);
  // Why the file cannot be written ("" when neither it nor its folder
  // refuses this user).
  std::string WriteReason() const;
  // Whether there is a database to read; false for one that reads as
  // empty, or (with the thread's status code set) one that cannot be read
  // just now.
  bool ReadyToRead();
  // Runs body (an SQLite result code) in a transaction of its own, or in the
  // open one, waiting out other processes' locks. Returns a registry code.
  long Run(bool write, const std::function<int()>& body);
  // Whether writes may be tried; otherwise sets the thread's status and
  // gives the code to return.
  long CheckWritable();
  // Sets the thread's status for a failure and returns its registry code.
  long Report(bool writing, const std::string& reason);
  // "the settings file '...' cannot be read: reason".
  std::string Text(bool writing, const std::string& reason) const;
  // The key's row id (0 for the hive's root), -1 when it does not exist;
  // rc receives an SQLite error.
  long long FindKey(const std::string& path, int* rc);
  std::vector<std::string> ListNames(const std::string& path, const char* sql);

  std::string m_file;
  sqlite3* m_db = nullptr;
  bool m_hasSchema = false;
  std::string m_failure;        // why the file cannot be used; sticky
  std::string m_createError;    // why a missing file could not be made
  bool m_dbReadOnly = false;    // the file, its folder or its disk refuses writes
  std::string m_readOnlyReason;
  bool m_forcedReadOnly = false;
  int m_txnDepth = 0;
  bool m_txnWrite = false;
  bool m_txnSql = false;  // an SQLite transaction is open for it
  bool m_txnFailed = false;
  std::string m_txnError;
  std::recursive_mutex m_mutex;
};
