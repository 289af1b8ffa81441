// Runs the built lumen program against a private registry, configuration
// and notes folder.
#pragma once

#include "tests/support/temp_dir.h"

#include <string>
#include <vector>

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class LumenSandbox {
public:
  LumenSandbox();
  // Runs lumen with args; input becomes its standard input. Standard output
  // goes to outPath when one is given (then out stays empty).
  RunResult Run(const std::vector<std::string>& args, const std::string& input = {},
                const std::string& outPath = {}) const;
  // Runs lumen with its standard output on a terminal (a pseudo-terminal
  // that passes bytes through unchanged); out is what reached the terminal.
  RunResult RunOnTerminal(const std::vector<std::string>& args) const;
  // Imports a regedit text; fails the test when lumen refuses it.
  void Import(const std::string& regText) const;
  std::string file(const std::string& name) const { return m_dir.file(name); }
  const std::string& notesDir() const { return m_notes; }

private:
  // In a child: the sandbox's environment, then lumen with args.
  [[noreturn]] void ExecLumen(const std::vector<std::string>& args) const;
  TempDir m_dir;
  std::string m_notes;
};
