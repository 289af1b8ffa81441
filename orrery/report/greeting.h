// The report's greeting line, chosen by the moment the program started.
#pragma once

#include "platform/datetime.h"

#include <memory>
#include <string>

class CGreeting {
public:
  // Reads "Options"/"Name" and takes the time stamp now.
  CGreeting();
  // The same with a given time stamp.
  explicit CGreeting(const CDateTime& stamp);
  // Writes a changed first name.
  virtual ~CGreeting();
  CGreeting(const CGreeting&) = delete;
  CGreeting& operator=(const CGreeting&) = delete;

  // "<greeting> <first name>!" and CR LF.
  std::string GetGreeting() const;
  std::string GetName() const { return m_name; }
  void SetName(const std::string& name);
  // Writes the first name if it changed; false when that write failed (the
  // name then stays changed, to be written again).
  bool SaveName();

private:
  int m_seed;
  bool m_nameChanged = false;
  std::string m_name;
  std::unique_ptr<CDateTime> m_stamp;
};
