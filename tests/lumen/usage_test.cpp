#include "tests/lumen/lumen_run.h"

#include <gtest/gtest.h>

namespace {

TEST(LumenUsage, ExitStatusAndMessages) {
  LumenSandbox box;
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // a part of standard output
    std::string err;  // a part of standard error
  };
  const std::string missing = box.file("missing.day");
  const Case cases[] = {
      {{}, 2, "", "Usage: lumen COMMAND"},
      {{"--help"}, 0, "reg import", ""},
      {{"bogus"}, 2, "", "unknown command 'bogus'"},
      {{"reg"}, 2, "", "lumen: 'reg' needs a command:\n  lumen reg export\n  lumen reg import\n"},
      {{"quote", "--help"}, 0, "Usage: lumen quote FILE [--date YYYY-MM-DD] [--info]", ""},
      {{"notes", "set", "--help"}, 0, "Usage: lumen notes set --date", ""},
      {{"reg", "export", "-h"}, 0, "Usage: lumen reg export [KEY]", ""},
      {{"places", "--help"}, 0, "Usage: lumen places\n\n", ""},
      {{"quote"}, 2, "", "lumen quote: missing argument\nTry 'lumen quote --help'."},
      {{"quote", "a.day", "--frob"}, 2, "", "unknown option '--frob'"},
      {{"quote", "a.day", "--date"}, 2, "", "option '--date' needs a value"},
      {{"quote", missing}, 1, "", "cannot read the quotation file '" + missing + "'"},
      {{"quote", missing, "--date=2023-02-29"}, 2, "", "--date must be a date YYYY-MM-DD"},
      {{"sky", "--lat", "91", "--lon", "0"}, 2, "", "--lat must lie between -90 and 90"},
      {{"sky", "--lat", "10", "--lon", "east"}, 2, "", "--lon must be a number"},
      {{"sky", "--lat", "10"}, 2, "", "--lat and --lon are needed"},
      {{"sky", "--lat", "1", "--lon", "1", "--bias", "0", "--zone", "x"}, 2, "", "not both"},
      {{"places", "set", "5", "--name", "x", "--lat", "0", "--lon", "0"}, 2, "", "N must lie between 0 and 4"},
      {{"places", "set", "1", "--name", std::string(32, 'n'), "--lat", "0", "--lon", "0"}, 2, "",
       "at most 31 characters"},
      {{"places", "set", "1", "--name", "x", "--lat", "0", "--lon", "180.5"}, 2, "", "--lon must lie between"},
      {{"notes", "set", "--date", "2024-01-01"}, 2, "", "nothing to change"},
      {{"notes", "set", "--date", "2024-01-01", "--remind", "2"}, 2, "", "--remind must lie between 0 and 1"},
      {{"report", "--now", "2024-01-01"}, 2, "", "--now must be a date and time"},
      {{"reg", "export", "HKEY_USERS\\x"}, 2, "", "KEY must begin with"},
      {{"reg", "export", "HKCU\\No\\Such\\Key"}, 1, "", "no such key: HKEY_CURRENT_USER\\No\\Such\\Key"},
      {{"reg", "import", missing}, 1, "", "cannot read"},
  };
  for (const Case& c : cases) {
    std::string name;
    for (const auto& a : c.args) name += a + " ";
    const RunResult r = box.Run(c.args);
    EXPECT_EQ(r.status, c.status) << name << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << name << "\n" << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << name << "\n" << r.err;
    EXPECT_EQ(c.status == 0 ? r.err : r.out, "") << name;
  }
}

TEST(LumenUsage, OutputThatCannotBeWrittenIsAFailure) {
  LumenSandbox box;
  // A backup to a full disk must not look complete.
  for (const std::vector<std::string>& args : {std::vector<std::string>{"reg", "export"}, {"zones"}}) {
    const RunResult r = box.Run(args, "", "/dev/full");
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_NE(r.err.find("cannot write the output"), std::string::npos) << r.err;
  }
}

}  // namespace
