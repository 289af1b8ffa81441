// Compiles a glibc locale into a temporary folder so that tests can run
// under a non-English locale on machines that have none installed.
#pragma once

#include <string>

// Builds locale name (e.g. "de_DE") in charset ("UTF-8", "ISO-8859-1") into
// dir and points LOCPATH there. Returns the locale's name for setlocale, or
// "" when localedef is missing.
std::string CompileLocale(const std::string& dir, const std::string& name,
                          const std::string& charset);
