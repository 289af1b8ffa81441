// The lumen commands. Each runs with the arguments after its name, prints
// its result on standard output and returns the exit status; it throws
// UsageError or Failure (lumen/args.h) for the errors main reports.
#pragma once

#include <string>
#include <vector>

using CommandArgs = std::vector<std::string>;

struct Command {
  const char* name;     // "notes set"
  const char* synopsis; // the arguments after the name
  const char* summary;  // one line for the command list
  const char* details;  // the options, for --help
  int (*run)(const CommandArgs& args);
  // Reads or writes Orrery's settings: main refuses to run it while a
  // settings file cannot be used.
  bool settings = false;
};

// Every command, in the order of the command list.
const std::vector<Command>& AllCommands();

int RunReport(const CommandArgs& args);
int RunQuote(const CommandArgs& args);
int RunGenerate(const CommandArgs& args);
int RunRegExport(const CommandArgs& args);
int RunRegImport(const CommandArgs& args);
int RunSky(const CommandArgs& args);
int RunZones(const CommandArgs& args);
int RunPlaces(const CommandArgs& args);
int RunPlacesSet(const CommandArgs& args);
int RunNotes(const CommandArgs& args);
int RunNotesSet(const CommandArgs& args);
int RunNotesSalvage(const CommandArgs& args);
