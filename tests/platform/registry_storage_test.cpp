// The hive files themselves: damaged ones, ones that only read, and
// transactions shared with other processes.
#include "platform/registry.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string QueryString(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(root, path, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
  uint8_t buffer[256];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  const long rc = RegQueryValueEx(key, name, &type, buffer, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return "<none>";
  return std::string(reinterpret_cast<char*>(buffer), strnlen(reinterpret_cast<char*>(buffer), size));
}

// Creates the key as needed and sets the string; a registry code.
long Write(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  HKEY key = nullptr;
  long rc = RegCreateKeyEx(root, path, KEY_ALL_ACCESS, &key);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueEx(key, name, REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                     static_cast<uint32_t>(text.size() + 1));
  RegCloseKey(key);
  return rc;
}

// Runs check in a child process (which opens the hives itself); its
// answer, "" for success.
std::string InChild(const std::function<std::string()>& check) {
  RegResetForTesting();  // nothing of this process's hives is shared
  int fds[2];
  if (pipe(fds) != 0) return "no pipe";
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    RegResetForTesting();
    const std::string answer = check();
    (void)!write(fds[1], answer.data(), answer.size());
    _exit(0);
  }
  close(fds[1]);
  std::string answer;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? answer : "the child crashed";
}

// A hive of a few pages holding "Software\Kept" = "v".
void FillMachineHive() {
  ASSERT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\Kept", "v", "old"), ERROR_SUCCESS);
  for (int i = 0; i < 40; ++i)
    ASSERT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\Bulk\\K" + std::to_string(i), "v", std::string(200, 'x')),
              ERROR_SUCCESS);
  RegResetForTesting();  // closed, so that only the file remains
}

void ForeignDatabase(const std::string& file) {
  fs::remove(file);
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE photos(id INTEGER)", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

}  // namespace

TEST(RegistryStorage, DamagedHiveFailsReadsAsEmptyAndIsNeverTouched) {
  const struct {
    const char* what;
    void (*damage)(const std::string& file);
    const char* reason;
  } cases[] = {
      {"random bytes",
       [](const std::string& f) { WriteFileBytes(f, std::string(5000, '\x5A') + "not a hive"); },
       "file is not a database"},
      {"truncated", [](const std::string& f) { fs::resize_file(f, fs::file_size(f) / 2); },
       "database disk image is malformed"},
      {"a folder",
       [](const std::string& f) {
         fs::remove(f);
         fs::create_directory(f);
       },
       "it is a folder"},
      {"another program's database", ForeignDatabase, "it is not a settings database"},
      // Root reads whatever the mode says; lumen's tests run this one as
      // another user.
      {"unreadable", [](const std::string& f) { fs::permissions(f, fs::perms::none); }, "permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (std::string(c.what) == "unreadable" && geteuid() == 0) continue;
    TempRegistry reg;
    FillMachineHive();
    const std::string file = reg.path() + "/machine.db";
    c.damage(file);
    const std::string bytes = fs::is_regular_file(file) ? ReadFileBytes(file) : "";

    const std::string failure = RegHiveFailure(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(failure, "the settings file '" + file + "' cannot be read: " + c.reason);
    // Empty to read, with the reason told.
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Kept", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegLastErrorText(), failure);
    // Every write refused.
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\New", "v", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegLastErrorText(), failure);
    CRegTransaction transaction(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(transaction.IsOpen());
    EXPECT_NE(transaction.Commit(), ERROR_SUCCESS);
    // The other hive is fine.
    EXPECT_EQ(RegHiveFailure(HKEY_CURRENT_USER), "");
    EXPECT_EQ(Write(HKEY_CURRENT_USER, "Software\\New", "v", "x"), ERROR_SUCCESS);

    RegResetForTesting();
    if (fs::is_regular_file(file)) {
      EXPECT_EQ(ReadFileBytes(file), bytes);
    }
    EXPECT_TRUE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file + "-wal"));
    EXPECT_FALSE(fs::exists(file + "-shm"));
    fs::permissions(file, fs::perms::owner_all);  // for the clean-up
  }
}

TEST(RegistryStorage, MissingOrEmptyFileIsANewProfile) {
  TempRegistry reg;
  EXPECT_EQ(RegHiveFailure(HKEY_LOCAL_MACHINE), "");
  WriteFileBytes(reg.path() + "/user.db", "");
  EXPECT_EQ(RegHiveFailure(HKEY_CURRENT_USER), "");
  EXPECT_EQ(Write(HKEY_CURRENT_USER, "Software\\A", "v", "1"), ERROR_SUCCESS);
  EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\A", "v", "2"), ERROR_SUCCESS);
  RegResetForTesting();
  EXPECT_EQ(QueryString(HKEY_CURRENT_USER, "Software\\A", "v"), "1");
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\A", "v"), "2");
}

TEST(RegistryStorage, HiveThatCannotBeWrittenStillReadsAndNamesTheFileOnWrites) {
  const struct {
    const char* what;
    bool asRoot;  // whether root is stopped by it
    void (*prepare)(const std::string& file);
    const char* reason;
  } cases[] = {
      {"a read-only file", false,
       [](const std::string& f) { fs::permissions(f, fs::perms::owner_read | fs::perms::group_read); },
       "the file is read-only"},
      // Files that may not grow, as on a full disk (the files readers of the
      // hive share cannot be made either).
      {"no room to grow", true,
       [](const std::string&) {
         std::signal(SIGXFSZ, SIG_IGN);
         const rlimit limit{4096, 4096};
         setrlimit(RLIMIT_FSIZE, &limit);
       },
       "file too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.asRoot && geteuid() == 0) continue;  // lumen's tests run it as another user
    TempRegistry reg;
    FillMachineHive();
    const std::string file = reg.path() + "/machine.db";
    const std::string bytes = ReadFileBytes(file);
    const std::string answer = InChild([&] {
      c.prepare(file);
      if (RegHiveFailure(HKEY_LOCAL_MACHINE) != "") return "failed: " + RegHiveFailure(HKEY_LOCAL_MACHINE);
      if (QueryString(HKEY_LOCAL_MACHINE, "Software\\Kept", "v") != "old") return std::string("no read");
      // Opening for writing works; the write itself fails and says why.
      const long rc = Write(HKEY_LOCAL_MACHINE, "Software\\Kept", "v", "new");
      const std::string expected = "the settings file '" + file + "' cannot be written: " + c.reason;
      if (rc != ERROR_CANTWRITE || RegLastErrorText() != expected)
        return "write gave " + std::to_string(rc) + ": " + RegLastErrorText();
      CRegTransaction transaction(HKEY_LOCAL_MACHINE);
      if (transaction.IsOpen() && transaction.Commit() == ERROR_SUCCESS &&
          Write(HKEY_LOCAL_MACHINE, "Software\\Kept", "v", "new") == ERROR_SUCCESS)
        return std::string("a transaction wrote");
      return QueryString(HKEY_LOCAL_MACHINE, "Software\\Kept", "v") == "old" ? std::string() : "changed";
    });
    EXPECT_EQ(answer, "");
    EXPECT_EQ(ReadFileBytes(file), bytes);
    fs::permissions(file, fs::perms::owner_all);
  }
}

TEST(RegistryStorage, TransactionLandsWholeOrNotAtAll) {
  TempRegistry reg;
  {
    CRegTransaction transaction(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(transaction.IsOpen());
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", "1"), ERROR_SUCCESS);
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "b", "2"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "1");  // seen inside
    EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
  }
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "b"), "2");
  {
    CRegTransaction transaction(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", "dropped"), ERROR_SUCCESS);
  }  // not committed
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "1");
  {
    CRegTransaction outer(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", "outer"), ERROR_SUCCESS);
    {
      CRegTransaction inner(HKEY_LOCAL_MACHINE);
      EXPECT_TRUE(inner.IsOpen());
      EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "b", "inner"), ERROR_SUCCESS);
    }  // abandoned: the whole change goes
    EXPECT_NE(Write(HKEY_LOCAL_MACHINE, "Software\\T", "c", "after"), ERROR_SUCCESS);
    EXPECT_NE(outer.Commit(), ERROR_SUCCESS);
  }
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "1");
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "b"), "2");
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "c"), "<none>");
  // A reading transaction refuses writes.
  CRegTransaction reading(HKEY_LOCAL_MACHINE, CRegTransaction::kRead);
  EXPECT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", "x"), ERROR_CANTWRITE);
}

// A process that writes "Software\T" "a" = value when told to go. It is
// started while this process has no hive open, so it shares nothing of it.
class Writer {
public:
  explicit Writer(const char* value) {
    RegResetForTesting();
    int fds[2];
    if (pipe(fds) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      close(fds[1]);
      char go;
      if (read(fds[0], &go, 1) != 1) _exit(2);
      _exit(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", value) == ERROR_SUCCESS ? 0 : 1);
    }
    close(fds[0]);
    m_go = fds[1];
  }
  void Go() { (void)!write(m_go, "g", 1); }
  bool Running() {
    int status = 0;
    return waitpid(m_pid, &status, WNOHANG) == 0;
  }
  int Status() {
    int status = 0;
    close(m_go);
    return waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t m_pid = -1;
  int m_go = -1;
};

TEST(RegistryStorage, OtherProcessesWaitForATransactionOrReadAroundIt) {
  TempRegistry reg;
  ASSERT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", "1"), ERROR_SUCCESS);
  {
    // A writing transaction: the other writer waits its turn, then lands.
    Writer writer("3");
    CRegTransaction transaction(HKEY_LOCAL_MACHINE);
    ASSERT_EQ(Write(HKEY_LOCAL_MACHINE, "Software\\T", "a", "2"), ERROR_SUCCESS);
    writer.Go();
    usleep(300000);
    EXPECT_TRUE(writer.Running());  // waiting for the lock, not refused
    EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "2");
    EXPECT_EQ(transaction.Commit(), ERROR_SUCCESS);
    EXPECT_EQ(writer.Status(), 0);
  }
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "3");
  {
    // A reading transaction keeps seeing the state it began with.
    Writer writer("4");
    CRegTransaction snapshot(HKEY_LOCAL_MACHINE, CRegTransaction::kRead);
    EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "3");
    writer.Go();
    EXPECT_EQ(writer.Status(), 0);
    EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "3");
    EXPECT_EQ(snapshot.Commit(), ERROR_SUCCESS);
  }
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, "Software\\T", "a"), "4");
}
