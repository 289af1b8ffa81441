#include "platform/xdg.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Home() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

std::string FromEnv(const char* name, const char* fallback) {
  // The XDG rules ignore relative paths.
  if (const char* v = std::getenv(name); v && *v == '/') return v;
  return Home() + fallback;
}

}  // namespace

std::string XdgConfigHome() { return FromEnv("XDG_CONFIG_HOME", "/.config"); }
std::string XdgDataHome() { return FromEnv("XDG_DATA_HOME", "/.local/share"); }

bool MakeDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  struct stat st{};
  if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const auto slash = dir.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash)))
    return false;
  return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}
