#include "tests/support/locale_env.h"

#include <cstdlib>

std::string CompileLocale(const std::string& dir, const std::string& name,
                          const std::string& charset) {
  const std::string full = name + "." + charset;
  const std::string command = "localedef -i " + name + " -f " + charset + " " + dir + "/" + full +
                              " >/dev/null 2>&1";
  // localedef warns (exit 1) on some Debian sources yet writes the locale.
  std::system(command.c_str());
  setenv("LOCPATH", dir.c_str(), 1);
  return full;
}
