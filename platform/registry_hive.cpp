#include "platform/registry_hive.h"

#include "platform/xdg.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
// How long a call waits for other processes' locks before it gives up.
constexpr auto kLockWait = std::chrono::seconds(10);
constexpr int kBusyTimeoutMs = 10000;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool IsBusy(int rc) {
  rc &= 0xFF;
  return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

// A prepared statement that finalizes itself.
class Statement {
public:
  Statement(sqlite3* db, const char* sql) {
    m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    if (m_rc != SQLITE_OK) {
      sqlite3_finalize(m_stmt);
      m_stmt = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

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
  // SQLITE_ROW, SQLITE_DONE or an error code (also the one of preparing).
  int Step() {
    if (!m_stmt) return m_rc != SQLITE_OK ? m_rc : SQLITE_ERROR;
    return sqlite3_step(m_stmt);
  }
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
  int m_rc = SQLITE_OK;
};

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

void RollbackIfOpen(sqlite3* db) {
  if (!sqlite3_get_autocommit(db)) Exec(db, "ROLLBACK");
}

// The first column of the first row of sql; an SQLite code.
int QueryText(sqlite3* db, const char* sql, std::string* out) {
  Statement q(db, sql);
  const int rc = q.Step();
  if (rc == SQLITE_ROW) {
    *out = q.Text(0);
    return SQLITE_OK;
  }
  out->clear();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

const char* const kSchema =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE IF NOT EXISTS keys("
    " id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name));"
    "CREATE TABLE IF NOT EXISTS vals("
    " key INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, name));"
    "COMMIT;";

// Whether the database holds the hive's tables; an SQLite code.
int HasSchema(sqlite3* db, bool* has) {
  std::string count;
  const int rc = QueryText(db,
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                           " AND name IN ('keys', 'vals')",
                           &count);
  *has = count == "2";
  return rc;
}

bool Exists(const std::string& path) {
  struct stat st{};
  return lstat(path.c_str(), &st) == 0;
}

long long SizeOf(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

std::string ParentOf(const std::string& file) {
  const auto slash = file.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string ErrnoReason(int e) {
  switch (e) {
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    case EROFS:
      return "the file system is read-only";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EISDIR:
      return "it is a folder";
    default:
      break;
  }
  std::string text = std::strerror(e);
  if (!text.empty()) text[0] = Lower(text[0]);
  return text;
}

// Why SQLite failed, in words for the user.
std::string SqliteReason(int rc, int systemErrno, const char* message) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "another program kept it locked for too long";
    case SQLITE_FULL:
      return "the disk is full";
    case SQLITE_NOTADB:
      return "file is not a database";
    case SQLITE_CORRUPT:
      return "database disk image is malformed";
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
      if (systemErrno != 0) return ErrnoReason(systemErrno);
      if ((rc & 0xFF) == SQLITE_READONLY) return "it is read-only";
      break;
    default:
      break;
  }
  return message && *message ? message : sqlite3_errstr(rc);
}

std::string SqliteReason(int rc, sqlite3* db) {
  return SqliteReason(rc, db ? sqlite3_system_errno(db) : 0, db ? sqlite3_errmsg(db) : nullptr);
}

// A connection, or null with rc and reason set.
sqlite3* OpenConnection(const std::string& name, int flags, int* rc, std::string* reason) {
  sqlite3* db = nullptr;
  *rc = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (*rc != SQLITE_OK) {
    *reason = SqliteReason(*rc, db);
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  return db;
}

// The file name as an SQLite URI, for query parameters.
std::string FileUri(const std::string& path) {
  std::string uri = "file:";
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '%' || c == '?' || c == '#' || c < 0x20 || c >= 0x7F) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    } else {
      uri += ch;
    }
  }
  return uri;
}

// The database's own verdict, read through db: SQLITE_OK for a sound hive
// (or one still being set up), SQLITE_BUSY when other processes kept it
// locked too long, otherwise an error with reason set.
int Verify(sqlite3* db, std::string* reason) {
  const auto deadline = Clock::now() + kLockWait;
  for (;;) {
    std::string verdict, foreign;
    int rc = QueryText(db, "PRAGMA quick_check(1)", &verdict);
    if (rc == SQLITE_OK)
      rc = QueryText(db,
                     "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                     " AND name NOT IN ('keys', 'vals')",
                     &foreign);
    if (IsBusy(rc) && Clock::now() < deadline) {
      Pause();
      continue;
    }
    if (rc != SQLITE_OK) {
      *reason = SqliteReason(rc, db);
      return rc;
    }
    if (verdict != "ok") {
      *reason = "database disk image is malformed (" + verdict + ")";
      return SQLITE_CORRUPT;
    }
    // A sound database of something else is not ours to change.
    if (foreign != "0") {
      *reason = "it is not a settings database";
      return SQLITE_NOTADB;
    }
    return SQLITE_OK;
  }
}

thread_local HiveStatus t_status;

}  // namespace

HiveStatus& ThreadHiveStatus() { return t_status; }

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
  if (m_db) {
    RollbackIfOpen(m_db);
    sqlite3_close(m_db);
  }
}

std::string RegistryHive::Text(bool writing, const std::string& reason) const {
  return "the settings file '" + m_file + "' cannot be " + (writing ? "written" : "read") + ": " +
         reason;
}

RegistryHive::OpenState RegistryHive::Fail(const std::string& reason) {
  m_failure = Text(false, reason);
  ThreadHiveStatus().text = m_failure;
  return OpenState::kEmpty;
}

std::string RegistryHive::Failure() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  Open();
  return m_failure;
}

RegistryHive::OpenState RegistryHive::Open() {
  if (m_db) return OpenState::kReady;
  if (!m_failure.empty()) return OpenState::kEmpty;
  m_createError.clear();
  struct stat st{};
  if (stat(m_file.c_str(), &st) != 0) {
    if (errno == ENOENT) return OpenNew();
    return Fail(ErrnoReason(errno));
  }
  if (S_ISDIR(st.st_mode)) return Fail("it is a folder");
  if (!S_ISREG(st.st_mode)) return Fail("it is not a regular file");
  const int fd = open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail(ErrnoReason(errno));
  close(fd);
  // An empty file is a profile that was never written (or is being
  // created by another process right now).
  if (st.st_size == 0) return OpenNew();
  return OpenExisting();
}

RegistryHive::OpenState RegistryHive::OpenNew() {
  MakeDirectories(ParentOf(m_file));
  int rc = SQLITE_OK;
  std::string reason;
  sqlite3* db = OpenConnection(m_file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &rc, &reason);
  if (!db) {
    // Nothing stored yet, so the profile reads as empty; writes say why
    // they fail, and the next call tries again.
    m_createError = Text(true, reason);
    return OpenState::kEmpty;
  }
  if (sqlite3_db_readonly(db, "main") == 1) {
    m_db = db;
    m_dbReadOnly = true;
    m_readOnlyReason = WriteReason();
    if (m_readOnlyReason.empty()) m_readOnlyReason = "it is read-only";
    return OpenState::kReady;
  }
  rc = SetUp(db);
  if (rc == SQLITE_OK) {
    m_db = db;
    m_hasSchema = true;
    return OpenState::kReady;
  }
  reason = SqliteReason(rc, db);
  sqlite3_close(db);
  if (IsBusy(rc)) {
    ThreadHiveStatus() = {ERROR_CANTREAD, Text(false, reason)};
    return OpenState::kError;
  }
  m_createError = Text(true, reason);
  return OpenState::kEmpty;
}

RegistryHive::OpenState RegistryHive::OpenExisting() {
  const std::string wal = m_file + "-wal", shm = m_file + "-shm";
  const bool hadWal = Exists(wal), hadShm = Exists(shm);
  // Files that this check made and that nothing else uses go again, so a
  // damaged hive is left exactly as it was found.
  auto removeLeftovers = [&] {
    if (!hadWal && SizeOf(wal) == 0) unlink(wal.c_str());
    if (!hadShm && !Exists(wal)) unlink(shm.c_str());
  };
  // The file is checked through a connection that cannot write to it.
  int rc = SQLITE_OK;
  std::string reason;
  sqlite3* reader = OpenConnection(m_file, SQLITE_OPEN_READONLY, &rc, &reason);
  if (reader) rc = Verify(reader, &reason);
  const int primary = rc & 0xFF;
  if (rc != SQLITE_OK && !IsBusy(rc) && primary != SQLITE_NOTADB && primary != SQLITE_CORRUPT &&
      !hadWal) {
    // A reader that cannot make the files that readers of a WAL database
    // share (a read-only folder, a full disk): with no WAL file, the
    // database file holds everything, and it is read alone.
    sqlite3_close(reader);
    removeLeftovers();
    const std::string shareReason = reason;
    reader = OpenConnection(FileUri(m_file) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                            &rc, &reason);
    if (reader) rc = Verify(reader, &reason);
    if (rc == SQLITE_OK) rc = HasSchema(reader, &m_hasSchema);
    if (rc == SQLITE_OK) {
      m_db = reader;
      m_dbReadOnly = true;
      m_readOnlyReason = WriteReason();
      if (m_readOnlyReason.empty()) m_readOnlyReason = shareReason;
      return OpenState::kReady;
    }
    if (rc != SQLITE_OK && reason.empty()) reason = SqliteReason(rc, reader);
  }
  if (rc != SQLITE_OK) {
    sqlite3_close(reader);
    if (IsBusy(rc)) {
      ThreadHiveStatus() = {ERROR_CANTREAD, Text(false, reason)};
      return OpenState::kError;
    }
    removeLeftovers();
    return Fail(reason);
  }

  // Sound: now a connection that may write, if the file allows it.
  sqlite3* writer = OpenConnection(m_file, SQLITE_OPEN_READWRITE, &rc, &reason);
  if (writer && sqlite3_db_readonly(writer, "main") == 0) {
    rc = SetUp(writer);
    if (rc == SQLITE_OK) {
      sqlite3_close(reader);
      m_db = writer;
      m_hasSchema = true;
      return OpenState::kReady;
    }
    reason = SqliteReason(rc, writer);
    sqlite3_close(writer);
    if (IsBusy(rc)) {
      sqlite3_close(reader);
      ThreadHiveStatus() = {ERROR_CANTREAD, Text(false, reason)};
      return OpenState::kError;
    }
    m_readOnlyReason = reason;
  } else {
    sqlite3_close(writer);
    m_readOnlyReason = WriteReason();
    if (m_readOnlyReason.empty()) m_readOnlyReason = "it is read-only";
  }
  m_db = reader;
  m_dbReadOnly = true;
  const int schemaRc = HasSchema(m_db, &m_hasSchema);
  if (schemaRc != SQLITE_OK) {
    reason = SqliteReason(schemaRc, m_db);
    sqlite3_close(m_db);
    m_db = nullptr;
    ThreadHiveStatus() = {ERROR_CANTREAD, Text(false, reason)};
    return OpenState::kError;
  }
  return OpenState::kReady;
}

std::string RegistryHive::WriteReason() const {
  if (access(m_file.c_str(), W_OK) != 0)
    return errno == EROFS ? "the file system is read-only" : "the file is read-only";
  if (access(ParentOf(m_file).c_str(), W_OK) != 0) return "its folder is read-only";
  return {};
}

int RegistryHive::SetUp(sqlite3* db) {
  const auto deadline = Clock::now() + kLockWait;
  for (;;) {
    // A hive that is set up already is only read here.
    std::string mode;
    int rc = QueryText(db, "PRAGMA journal_mode", &mode);
    if (rc == SQLITE_OK && mode != "wal") {
      rc = QueryText(db, "PRAGMA journal_mode=WAL", &mode);
      if (rc == SQLITE_OK && mode != "wal") rc = SQLITE_BUSY;  // another process holds it
    }
    bool has = false;
    if (rc == SQLITE_OK) rc = HasSchema(db, &has);
    if (rc == SQLITE_OK && !has) rc = Exec(db, kSchema);
    if (rc == SQLITE_OK) {
      Exec(db, "PRAGMA synchronous=NORMAL");
      return rc;
    }
    RollbackIfOpen(db);
    if (!IsBusy(rc) || Clock::now() >= deadline) return rc;
    Pause();
  }
}

long RegistryHive::Report(bool writing, const std::string& reason) {
  ThreadHiveStatus() = {writing ? ERROR_CANTWRITE : ERROR_CANTREAD, Text(writing, reason)};
  return ThreadHiveStatus().code;
}

bool RegistryHive::ReadyToRead() {
  switch (Open()) {
    case OpenState::kReady:
      return m_hasSchema;
    case OpenState::kEmpty:
      if (!m_failure.empty()) ThreadHiveStatus().text = m_failure;
      return false;
    case OpenState::kError:
      break;
  }
  ThreadHiveStatus().code = ERROR_CANTREAD;
  return false;
}

long RegistryHive::CheckWritable() {
  HiveStatus& status = ThreadHiveStatus();
  if (m_forcedReadOnly) {
    status.text = Text(true, "writing it is not permitted");
    return ERROR_ACCESS_DENIED;
  }
  switch (Open()) {
    case OpenState::kReady:
      break;
    case OpenState::kEmpty:
      if (!m_failure.empty()) {
        status.text = m_failure;
        return ERROR_ACCESS_DENIED;
      }
      status.text = m_createError;
      return ERROR_CANTWRITE;
    case OpenState::kError:
      status.code = ERROR_CANTWRITE;
      return ERROR_CANTWRITE;
  }
  if (m_dbReadOnly) {
    status.text = Text(true, m_readOnlyReason.empty() ? "it is read-only" : m_readOnlyReason);
    return ERROR_CANTWRITE;
  }
  if (m_txnDepth > 0 && !m_txnWrite) {
    status.text = Text(true, "a reading transaction is open");
    return ERROR_CANTWRITE;
  }
  return ERROR_SUCCESS;
}

long RegistryHive::Run(bool write, const std::function<int()>& body) {
  if (m_txnDepth > 0) {
    if (m_txnFailed) {
      ThreadHiveStatus() = {write ? ERROR_CANTWRITE : ERROR_CANTREAD, m_txnError};
      return ThreadHiveStatus().code;
    }
    const int rc = body();
    if (rc == SQLITE_OK) return ERROR_SUCCESS;
    // SQLite may have rolled the whole transaction back: nothing after
    // this may run outside it.
    const long code = Report(write, SqliteReason(rc, m_db));
    m_txnFailed = true;
    m_txnError = ThreadHiveStatus().text;
    return code;
  }
  const auto deadline = Clock::now() + kLockWait;
  for (;;) {
    // Writers take the write lock at once (BEGIN IMMEDIATE) so that two
    // processes never deadlock.
    int rc = Exec(m_db, write ? "BEGIN IMMEDIATE" : "BEGIN");
    if (rc == SQLITE_OK) rc = body();
    if (rc == SQLITE_OK) rc = Exec(m_db, "COMMIT");
    if (rc == SQLITE_OK) return ERROR_SUCCESS;
    const std::string reason = SqliteReason(rc, m_db);
    RollbackIfOpen(m_db);
    if (IsBusy(rc) && Clock::now() < deadline) {
      Pause();
      continue;
    }
    return Report(write, reason);
  }
}

long RegistryHive::BeginTransaction(bool write) {
  m_mutex.lock();  // held until EndTransaction
  if (m_txnDepth > 0) {
    ++m_txnDepth;
    return ERROR_SUCCESS;
  }
  long code = ERROR_SUCCESS;
  if (write) {
    code = CheckWritable();
  } else if (!ReadyToRead() && ThreadHiveStatus().code != ERROR_SUCCESS) {
    code = ThreadHiveStatus().code;
  }
  bool sql = m_db != nullptr && m_hasSchema;
  const auto deadline = Clock::now() + kLockWait;
  while (code == ERROR_SUCCESS && sql) {
    const int rc = Exec(m_db, write ? "BEGIN IMMEDIATE" : "BEGIN");
    if (rc == SQLITE_OK) break;
    const std::string reason = SqliteReason(rc, m_db);
    RollbackIfOpen(m_db);
    if (IsBusy(rc) && Clock::now() < deadline) {
      Pause();
      continue;
    }
    code = Report(write, reason);
  }
  if (code != ERROR_SUCCESS) {
    m_mutex.unlock();
    return code;
  }
  m_txnDepth = 1;
  m_txnWrite = write;
  m_txnSql = sql;
  m_txnFailed = false;
  m_txnError.clear();
  return ERROR_SUCCESS;
}

long RegistryHive::EndTransaction(bool commit) {
  long result = ERROR_SUCCESS;
  if (--m_txnDepth > 0) {
    // An inner transaction given up dooms the outer one.
    if (!commit && !m_txnFailed) {
      m_txnFailed = true;
      m_txnError = Text(m_txnWrite, "a part of the change was abandoned");
    }
    if (commit && m_txnFailed) {
      ThreadHiveStatus() = {m_txnWrite ? ERROR_CANTWRITE : ERROR_CANTREAD, m_txnError};
      result = ThreadHiveStatus().code;
    }
    m_mutex.unlock();
    return result;
  }
  if (m_txnSql) {
    if (commit && !m_txnFailed) {
      const int rc = Exec(m_db, "COMMIT");
      if (rc != SQLITE_OK) {
        const std::string reason = SqliteReason(rc, m_db);
        RollbackIfOpen(m_db);
        result = Report(m_txnWrite, reason);
      }
    } else {
      RollbackIfOpen(m_db);
    }
  }
  if (commit && m_txnFailed) {
    ThreadHiveStatus() = {m_txnWrite ? ERROR_CANTWRITE : ERROR_CANTREAD, m_txnError};
    result = ThreadHiveStatus().code;
  }
  m_txnSql = false;
  m_txnFailed = false;
  m_txnError.clear();
  m_mutex.unlock();
  return result;
}

long long RegistryHive::FindKey(const std::string& path, int* rc) {
  long long id = 0;
  for (const std::string& part : SplitRegPath(path)) {
    Statement q(m_db, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    q.Bind(1, id).Bind(2, part);
    const int step = q.Step();
    if (step != SQLITE_ROW) {
      if (step != SQLITE_DONE) *rc = step;
      return -1;
    }
    id = q.Int(0);
  }
  return id;
}

bool RegistryHive::KeyExists(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (SplitRegPath(path).empty()) return true;  // the hive's root always exists
  if (!ReadyToRead()) return false;
  long long id = -1;
  Run(false, [&] {
    int rc = SQLITE_OK;
    id = FindKey(path, &rc);
    return rc;
  });
  return id >= 0;
}

std::vector<std::string> RegistryHive::ListNames(const std::string& path, const char* sql) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  std::vector<std::string> names;
  if (!ReadyToRead()) return names;
  Run(false, [&] {
    names.clear();
    int rc = SQLITE_OK;
    const long long id = FindKey(path, &rc);
    if (id < 0) return rc;
    Statement q(m_db, sql);
    q.Bind(1, id);
    int step;
    while ((step = q.Step()) == SQLITE_ROW) names.push_back(q.Text(0));
    if (step != SQLITE_DONE) names.clear();
    return step == SQLITE_DONE ? SQLITE_OK : step;
  });
  return names;
}

std::vector<std::string> RegistryHive::SubKeys(const std::string& path) {
  return ListNames(path, "SELECT name FROM keys WHERE parent = ?1");
}

std::optional<RegValue> RegistryHive::QueryValue(const std::string& path, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!ReadyToRead()) return std::nullopt;
  std::optional<RegValue> value;
  Run(false, [&] {
    value.reset();
    int rc = SQLITE_OK;
    const long long id = FindKey(path, &rc);
    if (id < 0) return rc;
    Statement q(m_db, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
    q.Bind(1, id).Bind(2, name);
    const int step = q.Step();
    if (step == SQLITE_ROW) value = RegValue{static_cast<uint32_t>(q.Int(0)), q.Blob(1)};
    return step == SQLITE_ROW || step == SQLITE_DONE ? SQLITE_OK : step;
  });
  return value;
}

std::vector<std::string> RegistryHive::ValueNames(const std::string& path) {
  return ListNames(path, "SELECT name FROM vals WHERE key = ?1");
}

bool RegistryHive::IsWritable() const {
  // Refused here: a hive that may not be written at all (no rights, or a
  // failed file). One whose storage refuses writes fails at the write.
  auto* self = const_cast<RegistryHive*>(this);
  std::lock_guard<std::recursive_mutex> lock(self->m_mutex);
  const HiveStatus before = ThreadHiveStatus();
  if (self->CheckWritable() == ERROR_ACCESS_DENIED) return false;
  ThreadHiveStatus() = before;
  return true;
}

long RegistryHive::CreateKey(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (const long code = CheckWritable()) return code;
  return Run(true, [&] {
    long long id = 0;
    for (const std::string& part : SplitRegPath(path)) {
      Statement q(m_db, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
      q.Bind(1, id).Bind(2, part);
      const int step = q.Step();
      if (step == SQLITE_ROW) {
        id = q.Int(0);
        continue;
      }
      if (step != SQLITE_DONE) return step;
      Statement ins(m_db, "INSERT INTO keys(parent, name) VALUES(?1, ?2)");
      ins.Bind(1, id).Bind(2, part);
      const int inserted = ins.Step();
      if (inserted != SQLITE_DONE) return inserted;
      id = sqlite3_last_insert_rowid(m_db);
    }
    return SQLITE_OK;
  });
}

long RegistryHive::SetValue(const std::string& path, const std::string& name,
                            const RegValue& value) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (const long code = CheckWritable()) return code;
  bool found = false;
  const long code = Run(true, [&] {
    int rc = SQLITE_OK;
    const long long id = FindKey(path, &rc);
    found = id >= 0;
    if (!found) return rc;
    // An existing value keeps the case of its name, as on Windows.
    Statement upd(m_db, "UPDATE vals SET type = ?3, data = ?4 WHERE key = ?1 AND name = ?2");
    upd.Bind(1, id).Bind(2, name).Bind(3, static_cast<long long>(value.type)).BindBlob(4, value.data);
    rc = upd.Step();
    if (rc != SQLITE_DONE) return rc;
    if (sqlite3_changes(m_db) == 0) {
      Statement ins(m_db, "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)");
      ins.Bind(1, id).Bind(2, name).Bind(3, static_cast<long long>(value.type)).BindBlob(4, value.data);
      rc = ins.Step();
      if (rc != SQLITE_DONE) return rc;
    }
    return SQLITE_OK;
  });
  if (code != ERROR_SUCCESS) return code;
  return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

long RegistryHive::DeleteValue(const std::string& path, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (const long code = CheckWritable()) return code;
  bool deleted = false;
  const long code = Run(true, [&] {
    int rc = SQLITE_OK;
    deleted = false;
    const long long id = FindKey(path, &rc);
    if (id < 0) return rc;
    Statement del(m_db, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    del.Bind(1, id).Bind(2, name);
    rc = del.Step();
    if (rc != SQLITE_DONE) return rc;
    deleted = sqlite3_changes(m_db) > 0;
    return SQLITE_OK;
  });
  if (code != ERROR_SUCCESS) return code;
  return deleted ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

long RegistryHive::DeleteKey(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (const long code = CheckWritable()) return code;
  long result = ERROR_SUCCESS;
  const long code = Run(true, [&] {
    int rc = SQLITE_OK;
    const long long id = FindKey(path, &rc);
    result = ERROR_FILE_NOT_FOUND;
    if (id <= 0) return rc;
    Statement children(m_db, "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
    children.Bind(1, id);
    rc = children.Step();
    if (rc == SQLITE_ROW) {
      result = ERROR_ACCESS_DENIED;
      return SQLITE_OK;
    }
    if (rc != SQLITE_DONE) return rc;
    Statement vals(m_db, "DELETE FROM vals WHERE key = ?1");
    vals.Bind(1, id);
    if ((rc = vals.Step()) != SQLITE_DONE) return rc;
    Statement key(m_db, "DELETE FROM keys WHERE id = ?1");
    key.Bind(1, id);
    if ((rc = key.Step()) != SQLITE_DONE) return rc;
    result = ERROR_SUCCESS;
    return SQLITE_OK;
  });
  return code != ERROR_SUCCESS ? code : result;
}
