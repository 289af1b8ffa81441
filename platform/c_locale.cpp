#include "platform/c_locale.h"

#include <cstdio>

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

std::string FormatC(const char* format, double value) {
  const CLocaleScope c;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}
