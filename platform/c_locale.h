// The "C" locale for numbers and dates that must read the same whatever the
// user's locale says (the decimal point, month names).
#pragma once

#include <locale.h>

#include <string>

// The process-wide "C" locale object.
locale_t CLocale();

// Makes the "C" locale the calling thread's locale for the scope's lifetime.
class CLocaleScope {
public:
  CLocaleScope() : m_previous(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(m_previous); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
  locale_t m_previous;
};

// printf in the "C" locale.
std::string FormatC(const char* format, double value);
