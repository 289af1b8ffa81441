#include "lumen/args.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

const OptionDef* FindOption(std::initializer_list<OptionDef> options, const std::string& name) {
  for (const OptionDef& o : options)
    if (name == o.name) return &o;
  return nullptr;
}

bool AllDigits(const std::string& s, size_t from, size_t count) {
  if (from + count > s.size()) return false;
  for (size_t i = from; i < from + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

int Field(const std::string& s, size_t from, size_t count) { return std::atoi(s.substr(from, count).c_str()); }

}  // namespace

Args::Args(const std::vector<std::string>& argv, std::initializer_list<OptionDef> options,
           size_t minPositional, size_t maxPositional) {
  bool optionsEnded = false;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      m_positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const OptionDef* def = FindOption(options, name);
    if (!def) throw UsageError("unknown option '" + name + "'");
    if (!def->takesValue) {
      if (eq != std::string::npos) throw UsageError("option '" + name + "' takes no value");
      m_values[name] = "";
    } else if (eq != std::string::npos) {
      m_values[name] = arg.substr(eq + 1);
    } else {
      if (i + 1 >= argv.size()) throw UsageError("option '" + name + "' needs a value");
      m_values[name] = argv[++i];
    }
  }
  if (m_positional.size() < minPositional) throw UsageError("missing argument");
  if (m_positional.size() > maxPositional)
    throw UsageError("unexpected argument '" + m_positional[maxPositional] + "'");
}

std::string Args::Get(const std::string& name, const std::string& fallback) const {
  const auto it = m_values.find(name);
  return it == m_values.end() ? fallback : it->second;
}

bool WantsHelp(const std::vector<std::string>& argv) {
  for (const std::string& arg : argv) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

CDateTime ParseDate(const std::string& text, const std::string& what) {
  if (text.size() == 10 && AllDigits(text, 0, 4) && text[4] == '-' && AllDigits(text, 5, 2) &&
      text[7] == '-' && AllDigits(text, 8, 2)) {
    const CDateTime date(Field(text, 0, 4), Field(text, 5, 2), Field(text, 8, 2));
    if (date.IsValid()) return date;
  }
  throw UsageError(what + " must be a date YYYY-MM-DD, not '" + text + "'");
}

CDateTime ParseDateTime(const std::string& text, const std::string& what) {
  if (text.size() == 19 && text[10] == ' ' && AllDigits(text, 11, 2) && text[13] == ':' &&
      AllDigits(text, 14, 2) && text[16] == ':' && AllDigits(text, 17, 2)) {
    const CDateTime date = ParseDate(text.substr(0, 10), what);
    const CDateTime moment(date.GetYear(), date.GetMonth(), date.GetDay(), Field(text, 11, 2),
                           Field(text, 14, 2), Field(text, 17, 2));
    if (moment.IsValid()) return moment;
  }
  throw UsageError(what + " must be a date and time \"YYYY-MM-DD HH:MM:SS\", not '" + text + "'");
}

double ParseNumber(const std::string& text, const std::string& what, double min, double max) {
  // Numbers on the command line use '.', whatever the locale says.
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const locale_t previous = uselocale(c);
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  const bool ok = !text.empty() && end && *end == '\0' && errno == 0 && std::isfinite(value);
  uselocale(previous);
  if (!ok) throw UsageError(what + " must be a number, not '" + text + "'");
  if (value < min || value > max) {
    char range[96];
    std::snprintf(range, sizeof range, " must lie between %g and %g, not ", min, max);
    throw UsageError(what + range + text);
  }
  return value;
}

long ParseInteger(const std::string& text, const std::string& what, long min, long max) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || !end || *end != '\0' || errno != 0)
    throw UsageError(what + " must be a whole number, not '" + text + "'");
  if (value < min || value > max)
    throw UsageError(what + " must lie between " + std::to_string(min) + " and " +
                     std::to_string(max) + ", not " + text);
  return value;
}
