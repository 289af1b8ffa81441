#include "tests/lumen/lumen_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <pty.h>
#include <termios.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

LumenSandbox::LumenSandbox() : m_notes(m_dir.file("notes")) {
  std::filesystem::create_directories(m_notes);
  std::filesystem::create_directories(m_dir.file("config"));
}

RunResult LumenSandbox::Run(const std::vector<std::string>& args, const std::string& input,
                            const std::string& outPath) const {
  const std::string in = m_dir.file("stdin"), err = m_dir.file("stderr");
  const std::string out = outPath.empty() ? m_dir.file("stdout") : outPath;
  WriteFileBytes(in, input);
  const pid_t pid = fork();
  if (pid == 0) {
    const int fds[3] = {open(in.c_str(), O_RDONLY), open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                        open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    for (int i = 0; i < 3; ++i) dup2(fds[i], i);
    ExecLumen(args);
  }
  RunResult r;
  int status = 0;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.status = WEXITSTATUS(status);
  if (outPath.empty()) r.out = ReadFileBytes(out);
  r.err = ReadFileBytes(err);
  return r;
}

void LumenSandbox::ExecLumen(const std::vector<std::string>& args) const {
  setenv("LUMEN_REGISTRY_DIR", m_dir.file("registry").c_str(), 1);
  setenv("XDG_CONFIG_HOME", m_dir.file("config").c_str(), 1);
  setenv("XDG_DATA_HOME", m_dir.file("data").c_str(), 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  std::vector<char*> argv{const_cast<char*>(LUMEN_BIN)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(LUMEN_BIN, argv.data());
  _exit(127);
}

RunResult LumenSandbox::RunOnTerminal(const std::vector<std::string>& args) const {
  RunResult r;
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
    ADD_FAILURE() << "no pseudo-terminal";
    return r;
  }
  // Raw: the terminal neither turns LF into CR LF nor echoes.
  termios mode{};
  tcgetattr(slave, &mode);
  cfmakeraw(&mode);
  tcsetattr(slave, TCSANOW, &mode);
  const std::string err = m_dir.file("stderr");
  const pid_t pid = fork();
  if (pid == 0) {
    close(master);
    const int fds[3] = {open("/dev/null", O_RDONLY), slave,
                        open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    for (int i = 0; i < 3; ++i) dup2(fds[i], i);
    ExecLumen(args);
  }
  close(slave);
  // Read until the program's end closes the terminal's last writer.
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(master, buffer, sizeof buffer);
    if (n > 0) r.out.append(buffer, static_cast<size_t>(n));
    else if (n < 0 && errno == EINTR) continue;
    else break;  // EIO once no one holds the terminal
  }
  close(master);
  int status = 0;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.status = WEXITSTATUS(status);
  r.err = ReadFileBytes(err);
  return r;
}

void LumenSandbox::Import(const std::string& regText) const {
  WriteFileBytes(m_dir.file("import.reg"), regText);
  const RunResult r = Run({"reg", "import", m_dir.file("import.reg")});
  ASSERT_EQ(r.status, 0) << r.err;
}
