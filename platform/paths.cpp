#include "platform/paths.h"

#include <climits>
#include <unistd.h>

std::string GetModuleFileName() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

std::string PathDirectory(const std::string& path) {
  const auto slash = path.find_last_of(kPathSeparator);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PathFileName(const std::string& path) {
  const auto slash = path.find_last_of(kPathSeparator);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PathFileTitle(const std::string& path) {
  const std::string name = PathFileName(path);
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
