// Command-line arguments of one lumen command: options, their values and
// the positional arguments, with the errors a user can make.
#pragma once

#include "platform/datetime.h"

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// A mistake in the command line (exit status 2).
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A command that could not do its work (exit status 1).
class Failure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct OptionDef {
  const char* name;  // "--date"
  bool takesValue;
};

class Args {
public:
  // Parses "--name value", "--name=value", flags and positionals ("--" ends
  // the options). Throws UsageError for unknown options, missing values and
  // a count of positionals outside minPositional..maxPositional.
  Args(const std::vector<std::string>& argv, std::initializer_list<OptionDef> options,
       size_t minPositional, size_t maxPositional);

  bool Has(const std::string& name) const { return m_values.count(name) != 0; }
  // The option's value; fallback when it was not given.
  std::string Get(const std::string& name, const std::string& fallback = {}) const;
  const std::vector<std::string>& Positional() const { return m_positional; }

private:
  std::map<std::string, std::string> m_values;
  std::vector<std::string> m_positional;
};

// Whether argv asks for help (--help or -h before any "--").
bool WantsHelp(const std::vector<std::string>& argv);

// "YYYY-MM-DD" (midnight) and "YYYY-MM-DD HH:MM:SS"; UsageError naming what
// when the text is not such a date.
CDateTime ParseDate(const std::string& text, const std::string& what);
CDateTime ParseDateTime(const std::string& text, const std::string& what);
// A decimal number within min..max; UsageError naming what otherwise.
double ParseNumber(const std::string& text, const std::string& what, double min, double max);
long ParseInteger(const std::string& text, const std::string& what, long min, long max);
