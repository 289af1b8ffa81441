#include "tests/lumen/lumen_proc.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

LumenProcess::LumenProcess(const LumenSandbox& box, const std::vector<std::string>& args,
                           const std::string& tag, const LumenConditions& conditions)
    : m_out(box.file(tag + ".out")), m_err(box.file(tag + ".err")) {
  const std::string registry = box.file("registry"), config = box.file("config"),
                    data = box.file("data");
  m_pid = fork();
  if (m_pid != 0) return;
  setenv("LUMEN_REGISTRY_DIR", registry.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  const int fds[3] = {open("/dev/null", O_RDONLY), open(m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                      open(m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
  for (int i = 0; i < 3; ++i) dup2(fds[i], i);
  if (conditions.fileSizeLimit >= 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead
    const rlimit limit{static_cast<rlim_t>(conditions.fileSizeLimit),
                       static_cast<rlim_t>(conditions.fileSizeLimit)};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  if (conditions.uid >= 0 && geteuid() == 0) {
    setgroups(0, nullptr);
    if (setgid(static_cast<gid_t>(conditions.uid)) != 0 || setuid(static_cast<uid_t>(conditions.uid)) != 0)
      _exit(126);
  }
  std::vector<char*> argv{const_cast<char*>(LUMEN_BIN)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(LUMEN_BIN, argv.data());
  _exit(127);
}

RunResult LumenProcess::Wait() {
  RunResult r;
  int status = 0;
  if (m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status)) r.status = WEXITSTATUS(status);
  m_pid = -1;
  r.out = ReadFileBytes(m_out);
  r.err = ReadFileBytes(m_err);
  return r;
}

RunResult RunLumen(const LumenSandbox& box, const std::vector<std::string>& args,
                   const LumenConditions& conditions) {
  return LumenProcess(box, args, "run", conditions).Wait();
}

int NobodyUid() {
  const passwd* pw = getpwnam("nobody");
  return pw ? static_cast<int>(pw->pw_uid) : -1;
}
