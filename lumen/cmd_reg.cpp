// lumen reg export, lumen reg import.
#include "lumen/args.h"
#include "lumen/commands.h"
#include "lumen/regfile.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

int RunRegExport(const CommandArgs& argv) {
  const Args args(argv, {}, 0, 1);
  std::string out = std::string(kRegFileHeader) + "\n\n";
  std::string error;
  if (args.Positional().empty()) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      if (!ExportRegistry(root, "", &out, &error)) throw Failure(error);
  } else {
    HKEY root = nullptr;
    std::string path;
    if (!SplitKeyName(args.Positional()[0], &root, &path))
      throw UsageError("KEY must begin with HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE");
    if (!ExportRegistry(root, path, &out, &error)) throw Failure(error);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int RunRegImport(const CommandArgs& argv) {
  const Args args(argv, {}, 1, 1);
  const std::string file = args.Positional()[0];
  std::string text;
  if (file == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Failure("cannot read '" + file + "'");
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) throw Failure("cannot read '" + file + "'");
    text = s.str();
  }
  std::vector<RegFileKey> keys;
  std::string error;
  if (!ParseRegFile(text, &keys, &error)) throw Failure(file + ": " + error + "; nothing was changed");
  std::vector<std::string> skipped;
  if (!ApplyRegFile(keys, &skipped, &error)) throw Failure(error);
  for (const std::string& name : skipped)
    std::fprintf(stderr, "lumen reg import: left read-only key [%s] unchanged\n", name.c_str());
  return 0;
}
