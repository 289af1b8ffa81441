// Registry emulation: two hives (per-user and machine-wide), each an SQLite
// database, reached through calls shaped like the Windows registry API.
//
// Key and value names are case-insensitive and case-preserving. Every call is
// one short transaction (or a part of a CRegTransaction), so several
// processes may use a hive at once; a call that finds the hive locked by
// another process waits for it, up to ten seconds.
// Subtrees can be mounted from other providers (read-only data, files).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Result codes (the Windows values).
enum : long {
  ERROR_SUCCESS = 0,
  ERROR_FILE_NOT_FOUND = 2,
  ERROR_ACCESS_DENIED = 5,
  ERROR_INVALID_HANDLE = 6,
  ERROR_INVALID_PARAMETER = 87,
  ERROR_MORE_DATA = 234,
  ERROR_NO_MORE_ITEMS = 259,
  ERROR_CANTREAD = 1012,   // the hive's file could not be read just now
  ERROR_CANTWRITE = 1013,  // the hive's file refused the write (read-only, disk full, locked)
};

// Access rights.
enum : uint32_t {
  KEY_QUERY_VALUE = 0x0001,
  KEY_SET_VALUE = 0x0002,
  KEY_CREATE_SUB_KEY = 0x0004,
  KEY_ENUMERATE_SUB_KEYS = 0x0008,
  KEY_READ = 0x20019,
  KEY_WRITE = 0x20006,
  KEY_ALL_ACCESS = 0xF003F,
};

// Value types.
enum : uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_BINARY = 3,
  REG_DWORD = 4,
};

// Dispositions reported by RegCreateKeyEx.
enum : uint32_t {
  REG_CREATED_NEW_KEY = 1,
  REG_OPENED_EXISTING_KEY = 2,
};

struct RegKeyHandle;
using HKEY = RegKeyHandle*;

extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;

long RegOpenKeyEx(HKEY parent, const std::string& subKey, uint32_t access, HKEY* result);
long RegCreateKeyEx(HKEY parent, const std::string& subKey, uint32_t access, HKEY* result,
                    uint32_t* disposition = nullptr);
long RegCloseKey(HKEY key);

// Reads a value. data may be null to ask for the size only. On entry *size is
// the buffer's size; on return the value's size. A buffer too small gives
// ERROR_MORE_DATA and leaves the buffer's contents unspecified.
long RegQueryValueEx(HKEY key, const std::string& name, uint32_t* type, uint8_t* data,
                     uint32_t* size);
long RegSetValueEx(HKEY key, const std::string& name, uint32_t type, const uint8_t* data,
                   uint32_t size);
long RegDeleteValue(HKEY key, const std::string& name);
// Deletes a subkey that has no subkeys of its own.
long RegDeleteKey(HKEY parent, const std::string& subKey);
// The index-th subkey name, ordered case-insensitively by name.
long RegEnumKeyEx(HKEY key, uint32_t index, std::string* name);
// The index-th value of the key, ordered case-insensitively by name: its name,
// type and data (each output may be null).
long RegEnumValue(HKEY key, uint32_t index, std::string* name, uint32_t* type,
                  std::vector<uint8_t>* data);

// Convenience for callers that want whole values.
struct RegValue {
  uint32_t type = REG_NONE;
  std::vector<uint8_t> data;
};

// Registry names compare ASCII case-insensitively.
bool RegNameEquals(const std::string& a, const std::string& b);
bool RegNameLess(const std::string& a, const std::string& b);

// A subtree served by something other than the hive database. Paths are
// relative to the mount point, components separated by '\', "" being the
// mount point itself. Names compare case-insensitively.
class RegProvider {
public:
  virtual ~RegProvider() = default;
  virtual bool KeyExists(const std::string& path) = 0;
  virtual std::vector<std::string> SubKeys(const std::string& path) = 0;
  virtual std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) = 0;
  // The names of the key's values, in any order; a provider that cannot list
  // them keeps this default.
  virtual std::vector<std::string> ValueNames(const std::string& /*path*/) { return {}; }
  // Writing calls; a read-only provider keeps these defaults.
  virtual bool IsWritable() const { return false; }
  virtual long CreateKey(const std::string& /*path*/) { return ERROR_ACCESS_DENIED; }
  virtual long SetValue(const std::string& /*path*/, const std::string& /*name*/,
                        const RegValue& /*value*/) {
    return ERROR_ACCESS_DENIED;
  }
  virtual long DeleteValue(const std::string& /*path*/, const std::string& /*name*/) {
    return ERROR_ACCESS_DENIED;
  }
  virtual long DeleteKey(const std::string& /*path*/) { return ERROR_ACCESS_DENIED; }
};

// Serves root\path (and everything below it) from provider. A later mount of
// the same path replaces the earlier one; a null provider removes it.
void RegMount(HKEY root, const std::string& path, std::shared_ptr<RegProvider> provider);

// Where the hives are kept: $LUMEN_REGISTRY_DIR if set, otherwise
// $XDG_CONFIG_HOME/lumen-almanac/registry (~/.config/... by default).
std::string RegHiveDirectory();

// Why the hive database of root (a predefined key or any key below it)
// cannot be used, naming its file: it exists but cannot be opened or read
// (not a database, damaged, unreadable, a folder). "" when it is usable or
// does not exist yet (the first write creates it). A failed hive reads as
// empty (missing values read as their defaults), refuses every write with
// ERROR_ACCESS_DENIED and is never written, replaced or given journal files.
// A hive that reads but cannot be written (a read-only file or folder, a
// full disk) has not failed: its writes fail with ERROR_CANTWRITE.
std::string RegHiveFailure(HKEY root);

// What went wrong with the storage in the calling thread's last registry
// call (RegCloseKey aside), naming the hive's file, e.g. "the settings file
// '/x/machine.db' cannot be written: the disk is full"; also set when a read
// found nothing because the hive has failed. "" when that call met no
// storage problem (it succeeded, or failed for another reason: no such key,
// a handle without the right, a bad argument). Ask right after the call.
std::string RegLastErrorText();

class RegistryHive;

// Makes this thread's calls on the hive of root (the hive database only,
// not mounted subtrees) share one transaction until Commit or destruction.
// A writing transaction holds the hive's write lock (other processes'
// writers wait for it), its reads see no other writer, and its changes land
// together or not at all: once a call inside it has failed, the later ones
// fail too and Commit keeps nothing. A reading transaction sees one state of
// the hive throughout and refuses writes. Transactions on one hive nest: an
// inner one joins the outer, and an inner one ended without Commit makes the
// outer one fail. Other threads' calls on the hive wait until it ends.
class CRegTransaction {
public:
  enum Mode { kWrite, kRead };
  explicit CRegTransaction(HKEY root, Mode mode = kWrite);
  // Rolls back unless committed.
  ~CRegTransaction();
  CRegTransaction(const CRegTransaction&) = delete;
  CRegTransaction& operator=(const CRegTransaction&) = delete;

  // Whether it began. When it did not (the hive may not be written, cannot
  // be read, or stayed locked; RegLastErrorText says why), the calls run on
  // their own.
  bool IsOpen() const { return m_open; }
  // Ends it and keeps its changes: ERROR_SUCCESS, or an error (with
  // RegLastErrorText) when it never began, a call inside it failed, or the
  // hive refused the commit; then nothing of it was kept.
  long Commit();

private:
  std::shared_ptr<RegistryHive> m_hive;
  bool m_open = false;
  long m_beginError = ERROR_SUCCESS;
  std::string m_beginText;
};

// Closes the hive databases and forgets the built-in mounts, so that the next
// call opens the hives anew (after a change of $LUMEN_REGISTRY_DIR, in tests).
void RegResetForTesting();

// Makes a hive refuse every write, as for a user without rights on it.
void RegSetHiveReadOnlyForTesting(HKEY root, bool readOnly);
