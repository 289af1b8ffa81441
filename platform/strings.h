// String resources: a program's texts by number.
#pragma once

#include <cstddef>
#include <string>

struct StringResource {
  unsigned id;
  const char* text;
};

class CStringTable {
public:
  constexpr CStringTable(const StringResource* entries, size_t count)
      : m_entries(entries), m_count(count) {}
  // The text of id, or nullptr when the table has none.
  const char* Find(unsigned id) const;

private:
  const StringResource* m_entries;
  size_t m_count;
};

// The text of id in the current application's table; "" when it has none.
std::string LoadString(unsigned id);
