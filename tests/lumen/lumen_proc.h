// Runs the built lumen in a sandbox's environment without waiting for it,
// or under conditions a plain run cannot make: as another user, with a
// limit on the size of the files it writes.
#pragma once

#include "tests/lumen/lumen_run.h"

#include <string>
#include <sys/types.h>
#include <vector>

struct LumenConditions {
  // Run as this user, with the group of the same number (only when the
  // test runs as root); -1 keeps the test's own.
  int uid = -1;
  // Files may not grow beyond this many bytes (as on a full disk); -1 for
  // no limit.
  long fileSizeLimit = -1;
};

class LumenProcess {
public:
  // Starts lumen with args; standard output and error go to files named
  // after tag in the sandbox.
  LumenProcess(const LumenSandbox& box, const std::vector<std::string>& args, const std::string& tag,
               const LumenConditions& conditions = {});
  // Waits for it to end.
  RunResult Wait();

private:
  pid_t m_pid = -1;
  std::string m_out, m_err;
};

// Starts lumen and waits for it.
RunResult RunLumen(const LumenSandbox& box, const std::vector<std::string>& args,
                   const LumenConditions& conditions = {});

// The user id of "nobody", to make files unreadable or unwritable for a run
// of the tests as root (which ignores file modes); -1 when there is none.
int NobodyUid();
