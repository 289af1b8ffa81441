// lumen: the almanac on the command line, over Orrery's settings and files.
#include "lumen/args.h"
#include "lumen/commands.h"
#include "orrery/app/settings_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

constexpr int kUsageStatus = 2;

void PrintCommandList(std::FILE* out) {
  std::fputs("Usage: lumen COMMAND [ARGUMENTS]\n\nCommands:\n", out);
  for (const Command& c : AllCommands()) std::fprintf(out, "  %-12s %s\n", c.name, c.summary);
  std::fputs("\n'lumen COMMAND --help' describes a command.\n", out);
}

void PrintCommandHelp(const Command& c) {
  std::printf("Usage: lumen %s%s%s\n\n%s\n", c.name, *c.synopsis ? " " : "", c.synopsis, c.summary);
  if (*c.details) std::printf("\n%s", c.details);
}

// The command named by the first words of argv (the longest match).
const Command* FindCommand(int argc, char** argv, int* words) {
  const Command* best = nullptr;
  for (const Command& c : AllCommands()) {
    std::string name;
    int n = 0;
    while (n + 1 < argc && name.size() < std::strlen(c.name)) {
      if (!name.empty()) name += ' ';
      name += argv[1 + n++];
    }
    if (name == c.name && (!best || n > *words)) {
      best = &c;
      *words = n;
    }
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintCommandList(stderr);
    return kUsageStatus;
  }
  const std::string first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    PrintCommandList(stdout);
    return 0;
  }
  int words = 0;
  const Command* command = FindCommand(argc, argv, &words);
  if (!command) {
    // A group name alone ("reg") lists its commands.
    std::string group;
    for (const Command& c : AllCommands())
      if (std::string(c.name).rfind(first + " ", 0) == 0) group += std::string("  lumen ") + c.name + "\n";
    if (!group.empty())
      std::fprintf(stderr, "lumen: '%s' needs a command:\n%s", first.c_str(), group.c_str());
    else
      std::fprintf(stderr, "lumen: unknown command '%s'\n\n", first.c_str());
    if (group.empty()) PrintCommandList(stderr);
    return kUsageStatus;
  }
  const CommandArgs args(argv + 1 + words, argv + argc);
  if (WantsHelp(args)) {
    PrintCommandHelp(*command);
    return 0;
  }
  try {
    CSettingsApp app("Orrery");  // Orrery's own settings
    // A settings file that cannot be read must not pass for an empty
    // profile, nor be written over.
    if (command->settings)
      for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        if (const std::string failure = RegHiveFailure(root); !failure.empty()) throw Failure(failure);
    const int status = command->run(args);
    // Output that did not arrive (a full disk, a closed pipe) is a failure:
    // a backup made with "reg export > file" must not look complete.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      std::fprintf(stderr, "lumen %s: cannot write the output: %s\n", command->name,
                   std::strerror(errno));
      return 1;
    }
    return status;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "lumen %s: %s\nTry 'lumen %s --help'.\n", command->name, e.what(),
                 command->name);
    return kUsageStatus;
  } catch (const Failure& e) {
    std::fprintf(stderr, "lumen %s: %s\n", command->name, e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumen %s: %s\n", command->name, e.what());
    return 1;
  }
}
