#include "platform/strings.h"

#include "platform/winapp.h"

const char* CStringTable::Find(unsigned id) const {
  for (size_t i = 0; i < m_count; ++i)
    if (m_entries[i].id == id) return m_entries[i].text;
  return nullptr;
}

std::string LoadString(unsigned id) {
  const CWinApp* app = AfxGetApp();
  const CStringTable* table = app ? app->GetStringTable() : nullptr;
  const char* text = table ? table->Find(id) : nullptr;
  return text ? text : "";
}
