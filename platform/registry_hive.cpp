#include "platform/registry_hive.h"

#include "platform/xdg.h"

#include <sqlite3.h>

#include <cctype>
#include <unistd.h>

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// A prepared statement that finalizes itself.
class Statement {
public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) m_stmt = nullptr;
  }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return m_stmt != nullptr; }
  Statement& Bind(int i, long long v) {
    if (m_stmt) sqlite3_bind_int64(m_stmt, i, v);
    return *this;
  }
  Statement& Bind(int i, const std::string& v) {
    if (m_stmt) sqlite3_bind_text(m_stmt, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindBlob(int i, const std::vector<uint8_t>& v) {
    if (m_stmt) sqlite3_bind_blob(m_stmt, i, v.empty() ? "" : static_cast<const void*>(v.data()),
                                  static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
  long long Int(int col) { return sqlite3_column_int64(m_stmt, col); }
  std::string Text(int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(m_stmt, col))) : std::string();
  }
  std::vector<uint8_t> Blob(int col) {
    const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(m_stmt, col));
    const int n = sqlite3_column_bytes(m_stmt, col);
    return p ? std::vector<uint8_t>(p, p + n) : std::vector<uint8_t>();
  }

private:
  sqlite3_stmt* m_stmt = nullptr;
};

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Runs sql, waiting out other processes' locks for up to ten seconds.
int ExecWaiting(sqlite3* db, const char* sql) {
  int rc = SQLITE_BUSY;
  for (int i = 0; i < 1000; ++i) {
    rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr) & 0xFF;  // the primary code
    if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
    if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    usleep(10000);
  }
  return rc;
}

// A transaction that rolls back unless committed. Writers take the write
// lock at once (BEGIN IMMEDIATE) so that two processes never deadlock.
class Transaction {
public:
  Transaction(sqlite3* db, bool write) : m_db(db) {
    m_open = Exec(db, write ? "BEGIN IMMEDIATE" : "BEGIN");
  }
  ~Transaction() {
    if (m_open) Exec(m_db, "ROLLBACK");
  }
  bool ok() const { return m_open; }
  bool Commit() {
    if (!m_open) return false;
    m_open = false;
    if (Exec(m_db, "COMMIT")) return true;
    Exec(m_db, "ROLLBACK");
    return false;
  }

private:
  sqlite3* m_db;
  bool m_open = false;
};

const char* const kSchema =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE IF NOT EXISTS keys("
    " id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name));"
    "CREATE TABLE IF NOT EXISTS vals("
    " key INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, name));"
    "COMMIT;";

}  // namespace

std::vector<std::string> SplitRegPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool RegNameEquals(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool RegNameLess(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(Lower(a[i]));
    const auto cb = static_cast<unsigned char>(Lower(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

RegistryHive::RegistryHive(std::string file) : m_file(std::move(file)) {}

RegistryHive::~RegistryHive() {
  if (m_db) sqlite3_close(m_db);
}

bool RegistryHive::Open() {
  if (m_db) return true;
  if (m_openFailed) return false;
  const auto slash = m_file.find_last_of('/');
  if (slash != std::string::npos) MakeDirectories(m_file.substr(0, slash));

  int rc = sqlite3_open_v2(m_file.c_str(), &m_db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(m_db);
    m_db = nullptr;
    rc = sqlite3_open_v2(m_file.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX,
                         nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_close(m_db);
      m_db = nullptr;
      m_openFailed = true;
      return false;
    }
  }
  sqlite3_busy_timeout(m_db, 10000);
  m_dbReadOnly = sqlite3_db_readonly(m_db, "main") == 1;
  if (!m_dbReadOnly) {
    // Another process may be setting up the same new file: its locks are
    // waited out. A file we may open but not write reads as read-only; any
    // other failure is retried at the next call.
    int rc = ExecWaiting(m_db, "PRAGMA journal_mode=WAL");
    if (rc == SQLITE_OK) rc = ExecWaiting(m_db, kSchema);
    if (rc == SQLITE_READONLY || rc == SQLITE_PERM || rc == SQLITE_CANTOPEN) {
      m_dbReadOnly = true;
    } else if (rc != SQLITE_OK) {
      sqlite3_close(m_db);
      m_db = nullptr;
      return false;
    }
  }
  Exec(m_db, "PRAGMA synchronous=NORMAL");
  return true;
}

long long RegistryHive::FindKey(const std::string& path) {
  long long id = 0;
  for (const std::string& part : SplitRegPath(path)) {
    Statement q(m_db, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    q.Bind(1, id).Bind(2, part);
    if (q.Step() != SQLITE_ROW) return -1;
    id = q.Int(0);
  }
  return id;
}

bool RegistryHive::KeyExists(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (SplitRegPath(path).empty()) return true;  // the hive's root always exists
  if (!Open()) return false;
  Transaction t(m_db, false);
  return t.ok() && FindKey(path) >= 0;
}

std::vector<std::string> RegistryHive::ListNames(const std::string& path, const char* sql) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  std::vector<std::string> names;
  if (!Open()) return names;
  Transaction t(m_db, false);
  if (!t.ok()) return names;
  const long long id = FindKey(path);
  if (id < 0) return names;
  Statement q(m_db, sql);
  q.Bind(1, id);
  while (q.Step() == SQLITE_ROW) names.push_back(q.Text(0));
  return names;
}

std::vector<std::string> RegistryHive::SubKeys(const std::string& path) {
  return ListNames(path, "SELECT name FROM keys WHERE parent = ?1");
}

std::optional<RegValue> RegistryHive::QueryValue(const std::string& path, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!Open()) return std::nullopt;
  Transaction t(m_db, false);
  if (!t.ok()) return std::nullopt;
  const long long id = FindKey(path);
  if (id < 0) return std::nullopt;
  Statement q(m_db, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
  q.Bind(1, id).Bind(2, name);
  if (q.Step() != SQLITE_ROW) return std::nullopt;
  return RegValue{static_cast<uint32_t>(q.Int(0)), q.Blob(1)};
}

std::vector<std::string> RegistryHive::ValueNames(const std::string& path) {
  return ListNames(path, "SELECT name FROM vals WHERE key = ?1");
}

bool RegistryHive::IsWritable() const {
  auto* self = const_cast<RegistryHive*>(this);
  std::lock_guard<std::recursive_mutex> lock(self->m_mutex);
  return !m_forcedReadOnly && self->Open() && !m_dbReadOnly;
}

long RegistryHive::CreateKey(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  Transaction t(m_db, true);
  if (!t.ok()) return ERROR_CANTWRITE;
  long long id = 0;
  for (const std::string& part : SplitRegPath(path)) {
    Statement q(m_db, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    q.Bind(1, id).Bind(2, part);
    if (q.Step() == SQLITE_ROW) {
      id = q.Int(0);
      continue;
    }
    Statement ins(m_db, "INSERT INTO keys(parent, name) VALUES(?1, ?2)");
    ins.Bind(1, id).Bind(2, part);
    if (ins.Step() != SQLITE_DONE) return ERROR_CANTWRITE;
    id = sqlite3_last_insert_rowid(m_db);
  }
  return t.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

long RegistryHive::SetValue(const std::string& path, const std::string& name,
                            const RegValue& value) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  Transaction t(m_db, true);
  if (!t.ok()) return ERROR_CANTWRITE;
  const long long id = FindKey(path);
  if (id < 0) return ERROR_FILE_NOT_FOUND;
  // An existing value keeps the case of its name, as on Windows.
  Statement upd(m_db, "UPDATE vals SET type = ?3, data = ?4 WHERE key = ?1 AND name = ?2");
  upd.Bind(1, id).Bind(2, name).Bind(3, static_cast<long long>(value.type)).BindBlob(4, value.data);
  if (upd.Step() != SQLITE_DONE) return ERROR_CANTWRITE;
  if (sqlite3_changes(m_db) == 0) {
    Statement ins(m_db, "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)");
    ins.Bind(1, id).Bind(2, name).Bind(3, static_cast<long long>(value.type)).BindBlob(4, value.data);
    if (ins.Step() != SQLITE_DONE) return ERROR_CANTWRITE;
  }
  return t.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

long RegistryHive::DeleteValue(const std::string& path, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  Transaction t(m_db, true);
  if (!t.ok()) return ERROR_CANTWRITE;
  const long long id = FindKey(path);
  if (id < 0) return ERROR_FILE_NOT_FOUND;
  Statement del(m_db, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
  del.Bind(1, id).Bind(2, name);
  if (del.Step() != SQLITE_DONE) return ERROR_CANTWRITE;
  if (sqlite3_changes(m_db) == 0) return ERROR_FILE_NOT_FOUND;
  return t.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

long RegistryHive::DeleteKey(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!IsWritable()) return ERROR_ACCESS_DENIED;
  Transaction t(m_db, true);
  if (!t.ok()) return ERROR_CANTWRITE;
  const long long id = FindKey(path);
  if (id <= 0) return ERROR_FILE_NOT_FOUND;
  Statement children(m_db, "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
  children.Bind(1, id);
  if (children.Step() == SQLITE_ROW) return ERROR_ACCESS_DENIED;
  Statement vals(m_db, "DELETE FROM vals WHERE key = ?1");
  vals.Bind(1, id);
  Statement key(m_db, "DELETE FROM keys WHERE id = ?1");
  key.Bind(1, id);
  if (vals.Step() != SQLITE_DONE || key.Step() != SQLITE_DONE) return ERROR_CANTWRITE;
  return t.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}
