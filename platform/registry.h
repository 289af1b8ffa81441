// Registry emulation: two hives (per-user and machine-wide), each an SQLite
// database, reached through calls shaped like the Windows registry API.
//
// Key and value names are case-insensitive and case-preserving. Every call is
// one short transaction, so several processes may use a hive at once.
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
  ERROR_CANTWRITE = 1013,
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

// Why the hive database of root cannot be used, naming its file: it exists
// but cannot be opened or read (not a database, damaged, unreadable). ""
// when it is usable or does not exist yet. A failed hive reads as empty,
// refuses every write and is never rewritten or replaced.
std::string RegHiveFailure(HKEY root);

// Closes the hive databases and forgets the built-in mounts, so that the next
// call opens the hives anew (after a change of $LUMEN_REGISTRY_DIR, in tests).
void RegResetForTesting();

// Makes a hive refuse every write, as for a user without rights on it.
void RegSetHiveReadOnlyForTesting(HKEY root, bool readOnly);
