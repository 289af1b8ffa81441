#include "platform/registry.h"

#include "platform/builtin_mounts.h"
#include "platform/registry_hive.h"
#include "platform/xdg.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

struct RegKeyHandle {
  int root;              // 0 = HKEY_CURRENT_USER, 1 = HKEY_LOCAL_MACHINE
  std::string path;      // components joined by '\', no leading or trailing '\'
  uint32_t access;
  bool predefined;
};

namespace {

RegKeyHandle g_currentUser{0, "", KEY_ALL_ACCESS, true};
RegKeyHandle g_localMachine{1, "", KEY_ALL_ACCESS, true};

struct Mount {
  int root;
  std::vector<std::string> components;
  std::shared_ptr<RegProvider> provider;
};

struct State {
  std::mutex mutex;
  std::shared_ptr<RegistryHive> hives[2];
  bool readOnly[2] = {false, false};
  std::vector<Mount> mounts;
  bool builtinsInstalled = false;
};

State& GetState() {
  static State state;
  return state;
}

std::string JoinPath(const std::vector<std::string>& parts, size_t from = 0) {
  std::string path;
  for (size_t i = from; i < parts.size(); ++i) {
    if (!path.empty()) path += '\\';
    path += parts[i];
  }
  return path;
}

bool SameName(const std::string& a, const std::string& b) { return RegNameEquals(a, b); }

std::shared_ptr<RegistryHive> HiveFor(State& s, int root) {
  // Caller holds s.mutex.
  if (!s.hives[root]) {
    const std::string dir = RegHiveDirectory();
    const char* file = root == 0 ? "user.db" : "machine.db";
    s.hives[root] = std::make_shared<RegistryHive>(dir + "/" + file);
  }
  s.hives[root]->SetReadOnly(s.readOnly[root]);
  return s.hives[root];
}

void InstallBuiltins(State& s) {
  if (s.builtinsInstalled) return;
  s.builtinsInstalled = true;
  for (auto& m : BuiltinMounts()) {
    Mount mount{m.root == BuiltinMount::kLocalMachine ? 1 : 0, SplitRegPath(m.path), m.provider};
    if (mount.provider) s.mounts.push_back(std::move(mount));
  }
}

// Where a key path lives: its provider and the path relative to it.
struct Target {
  std::shared_ptr<RegProvider> provider;
  std::string relative;
  // Names of mount points directly below the key, and whether one lies below.
  std::vector<std::string> mountChildren;
  bool ancestorOfMount = false;
};

Target Resolve(int root, const std::string& path) {
  State& s = GetState();
  std::lock_guard<std::mutex> lock(s.mutex);
  InstallBuiltins(s);
  const std::vector<std::string> parts = SplitRegPath(path);
  Target t;
  size_t best = 0;
  for (const Mount& m : s.mounts) {
    if (m.root != root) continue;
    const auto& mc = m.components;
    size_t common = 0;
    while (common < mc.size() && common < parts.size() && SameName(mc[common], parts[common]))
      ++common;
    if (common == mc.size() && (!t.provider || mc.size() > best)) {
      t.provider = m.provider;
      best = mc.size();
    } else if (common == parts.size() && mc.size() > parts.size()) {
      t.ancestorOfMount = true;
      const std::string& child = mc[parts.size()];
      bool seen = false;
      for (const auto& n : t.mountChildren) seen = seen || SameName(n, child);
      if (!seen) t.mountChildren.push_back(child);
    }
  }
  if (t.provider) {
    t.relative = JoinPath(parts, best);
    t.mountChildren.clear();  // mounts inside a mount are not nested
    t.ancestorOfMount = false;
  } else {
    t.provider = HiveFor(s, root);
    t.relative = JoinPath(parts);
  }
  return t;
}

bool KeyExists(const Target& t) { return t.ancestorOfMount || t.provider->KeyExists(t.relative); }

bool ValidHandle(HKEY key) { return key != nullptr && (key->root == 0 || key->root == 1); }

std::string ChildPath(HKEY parent, const std::string& subKey) {
  std::string path = parent->path;
  const std::string sub = JoinPath(SplitRegPath(subKey));
  if (!sub.empty()) {
    if (!path.empty()) path += '\\';
    path += sub;
  }
  return path;
}

bool WantsWrite(uint32_t access) {
  return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
}

std::shared_ptr<RegistryHive> HiveOf(int root) {
  State& s = GetState();
  std::lock_guard<std::mutex> lock(s.mutex);
  return HiveFor(s, root);
}

// Starts a call: the thread's status tells what this call meets.
void ResetStatus() { ThreadHiveStatus() = {}; }

// The hive's read error, if the last provider call met one, else code.
long ReadError(long code) {
  const long status = ThreadHiveStatus().code;
  return status != ERROR_SUCCESS ? status : code;
}

}  // namespace

const HKEY HKEY_CURRENT_USER = &g_currentUser;
const HKEY HKEY_LOCAL_MACHINE = &g_localMachine;

long RegOpenKeyEx(HKEY parent, const std::string& subKey, uint32_t access, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (!ValidHandle(parent)) return ERROR_INVALID_HANDLE;
  ResetStatus();
  const std::string path = ChildPath(parent, subKey);
  Target t = Resolve(parent->root, path);
  if (!KeyExists(t)) return ReadError(ERROR_FILE_NOT_FOUND);
  if (WantsWrite(access) && !t.provider->IsWritable()) return ERROR_ACCESS_DENIED;
  *result = new RegKeyHandle{parent->root, path, access, false};
  return ERROR_SUCCESS;
}

long RegCreateKeyEx(HKEY parent, const std::string& subKey, uint32_t access, HKEY* result,
                    uint32_t* disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (!ValidHandle(parent)) return ERROR_INVALID_HANDLE;
  ResetStatus();
  const std::string path = ChildPath(parent, subKey);
  Target t = Resolve(parent->root, path);
  const bool existed = KeyExists(t);
  if (!existed && ThreadHiveStatus().code != ERROR_SUCCESS) return ThreadHiveStatus().code;
  if (!existed) {
    if (!(parent->access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    const long rc = t.provider->CreateKey(t.relative);
    if (rc != ERROR_SUCCESS) return rc;
  }
  if (WantsWrite(access) && !t.provider->IsWritable()) return ERROR_ACCESS_DENIED;
  if (disposition) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = new RegKeyHandle{parent->root, path, access, false};
  return ERROR_SUCCESS;
}

long RegCloseKey(HKEY key) {
  if (!ValidHandle(key)) return ERROR_INVALID_HANDLE;
  if (!key->predefined) delete key;
  return ERROR_SUCCESS;
}

long RegQueryValueEx(HKEY key, const std::string& name, uint32_t* type, uint8_t* data,
                     uint32_t* size) {
  if (!ValidHandle(key)) return ERROR_INVALID_HANDLE;
  if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  ResetStatus();
  Target t = Resolve(key->root, key->path);
  std::optional<RegValue> value = t.provider->QueryValue(t.relative, name);
  if (!value) return ReadError(ERROR_FILE_NOT_FOUND);
  if (type) *type = value->type;
  const auto length = static_cast<uint32_t>(value->data.size());
  if (!size) return ERROR_SUCCESS;
  if (data && *size < length) {
    *size = length;
    return ERROR_MORE_DATA;
  }
  if (data) std::copy(value->data.begin(), value->data.end(), data);
  *size = length;
  return ERROR_SUCCESS;
}

long RegSetValueEx(HKEY key, const std::string& name, uint32_t type, const uint8_t* data,
                   uint32_t size) {
  if (!ValidHandle(key)) return ERROR_INVALID_HANDLE;
  if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (type == REG_DWORD && size != 4) return ERROR_INVALID_PARAMETER;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  ResetStatus();
  Target t = Resolve(key->root, key->path);
  if (!KeyExists(t)) return ReadError(ERROR_FILE_NOT_FOUND);  // deleted since it was opened
  RegValue value{type, std::vector<uint8_t>(data, data + size)};
  return t.provider->SetValue(t.relative, name, value);
}

long RegDeleteValue(HKEY key, const std::string& name) {
  if (!ValidHandle(key)) return ERROR_INVALID_HANDLE;
  if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  ResetStatus();
  Target t = Resolve(key->root, key->path);
  return t.provider->DeleteValue(t.relative, name);
}

long RegDeleteKey(HKEY parent, const std::string& subKey) {
  if (!ValidHandle(parent)) return ERROR_INVALID_HANDLE;
  const std::string path = ChildPath(parent, subKey);
  if (path == parent->path) return ERROR_INVALID_PARAMETER;
  ResetStatus();
  Target t = Resolve(parent->root, path);
  if (t.ancestorOfMount || t.relative.empty()) return ERROR_ACCESS_DENIED;
  if (!t.provider->KeyExists(t.relative)) return ReadError(ERROR_FILE_NOT_FOUND);
  return t.provider->DeleteKey(t.relative);
}

long RegEnumKeyEx(HKEY key, uint32_t index, std::string* name) {
  if (!ValidHandle(key)) return ERROR_INVALID_HANDLE;
  if (!(key->access & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  ResetStatus();
  Target t = Resolve(key->root, key->path);
  std::vector<std::string> names;
  if (t.provider->KeyExists(t.relative)) names = t.provider->SubKeys(t.relative);
  if (ThreadHiveStatus().code != ERROR_SUCCESS) return ThreadHiveStatus().code;
  for (const auto& child : t.mountChildren) {
    bool seen = false;
    for (const auto& n : names) seen = seen || SameName(n, child);
    if (!seen) names.push_back(child);
  }
  std::sort(names.begin(), names.end(), RegNameLess);
  if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
  if (name) *name = names[index];
  return ERROR_SUCCESS;
}

long RegEnumValue(HKEY key, uint32_t index, std::string* name, uint32_t* type,
                  std::vector<uint8_t>* data) {
  if (!ValidHandle(key)) return ERROR_INVALID_HANDLE;
  if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  ResetStatus();
  Target t = Resolve(key->root, key->path);
  std::vector<std::string> names;
  if (t.provider->KeyExists(t.relative)) names = t.provider->ValueNames(t.relative);
  if (ThreadHiveStatus().code != ERROR_SUCCESS) return ThreadHiveStatus().code;
  std::sort(names.begin(), names.end(), RegNameLess);
  if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
  std::optional<RegValue> value = t.provider->QueryValue(t.relative, names[index]);
  if (!value) return ReadError(ERROR_FILE_NOT_FOUND);  // deleted in between
  if (name) *name = names[index];
  if (type) *type = value->type;
  if (data) *data = std::move(value->data);
  return ERROR_SUCCESS;
}

void RegMount(HKEY root, const std::string& path, std::shared_ptr<RegProvider> provider) {
  if (!ValidHandle(root)) return;
  State& s = GetState();
  std::lock_guard<std::mutex> lock(s.mutex);
  InstallBuiltins(s);
  const std::vector<std::string> parts = SplitRegPath(ChildPath(root, path));
  auto same = [&](const Mount& m) {
    return m.root == root->root && m.components.size() == parts.size() &&
           std::equal(parts.begin(), parts.end(), m.components.begin(), SameName);
  };
  s.mounts.erase(std::remove_if(s.mounts.begin(), s.mounts.end(), same), s.mounts.end());
  if (provider) s.mounts.push_back(Mount{root->root, parts, std::move(provider)});
}

std::string RegHiveDirectory() {
  if (const char* dir = std::getenv("LUMEN_REGISTRY_DIR"); dir && *dir) return dir;
  return XdgConfigHome() + "/lumen-almanac/registry";
}

std::string RegHiveFailure(HKEY root) {
  if (!ValidHandle(root)) return {};
  return HiveOf(root->root)->Failure();
}

std::string RegLastErrorText() { return ThreadHiveStatus().text; }

CRegTransaction::CRegTransaction(HKEY root, Mode mode) {
  ResetStatus();
  if (!ValidHandle(root)) {
    m_beginError = ERROR_INVALID_HANDLE;
    return;
  }
  m_hive = HiveOf(root->root);
  m_beginError = m_hive->BeginTransaction(mode == kWrite);
  m_open = m_beginError == ERROR_SUCCESS;
  if (!m_open) m_beginText = ThreadHiveStatus().text;
}

CRegTransaction::~CRegTransaction() {
  if (m_open) {
    // Whatever the calls inside said stays the thread's status.
    const HiveStatus status = ThreadHiveStatus();
    m_hive->EndTransaction(false);
    ThreadHiveStatus() = status;
  }
}

long CRegTransaction::Commit() {
  ResetStatus();
  if (!m_open) {
    ThreadHiveStatus().text = m_beginText;
    return m_beginError;
  }
  m_open = false;
  return m_hive->EndTransaction(true);
}

void RegResetForTesting() {
  State& s = GetState();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.hives[0].reset();
  s.hives[1].reset();
  s.mounts.clear();
  s.builtinsInstalled = false;
}

void RegSetHiveReadOnlyForTesting(HKEY root, bool readOnly) {
  if (!ValidHandle(root)) return;
  State& s = GetState();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.readOnly[root->root] = readOnly;
  if (s.hives[root->root]) s.hives[root->root]->SetReadOnly(readOnly);
}
