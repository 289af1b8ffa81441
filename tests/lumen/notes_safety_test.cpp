// lumen's notes commands on damaged files and with several at work at once.
#include "tests/lumen/lumen_run.h"

#include "platform/file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kSchedule =
    "HKEY_CURRENT_USER\\Software\\Vantrel Software\\Lumen Almanac\\Orrery\\Schedule";

class LumenNotesSafety : public ::testing::Test {
protected:
  void SetUp() override {
    box.Import("Windows Registry Editor Version 5.00\n\n[" + kSchedule + "]\n\"Path\"=\"" +
               box.notesDir() + "/\"\n");
  }
  std::string Notes(const std::string& name) const { return box.notesDir() + "/" + name; }
  // The kept copies of a notes file.
  std::vector<std::string> KeptCopies(const std::string& name) const {
    std::vector<std::string> kept;
    for (const auto& e : std::filesystem::directory_iterator(box.notesDir()))
      if (e.path().filename().string().rfind(name + ".damaged-", 0) == 0) kept.push_back(e.path());
    return kept;
  }
  static size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  LumenSandbox box;
};

TEST_F(LumenNotesSafety, SetOnADamagedFileKeepsItsBytesAndSaysSoOnce) {
  const std::string damaged("\x05" "ab", 3);
  WriteFileBytes(Notes("Year2024.scd"), damaged);
  RunResult r = box.Run({"notes", "--date", "2024-03-10"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // reading leaves it as it is
  EXPECT_EQ(ReadFileBytes(Notes("Year2024.scd")), damaged);

  r = box.Run({"notes", "set", "--date", "2024-03-10", "--dated", "dentist"});
  EXPECT_EQ(r.status, 0) << r.err;
  const auto kept = KeptCopies("Year2024.scd");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadFileBytes(kept[0]), damaged);
  const std::string line = "lumen: the notes file '" + Notes("Year2024.scd") +
                           "' could not be read; it was kept as '" + kept[0] + "'\n";
  EXPECT_EQ(r.err, line);

  r = box.Run({"notes", "set", "--date", "2024-03-11", "--dated", "later"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  r = box.Run({"notes", "--date", "2024-03-10"});
  EXPECT_NE(r.out.find("Dated:\n  dentist\n"), std::string::npos) << r.out;
}

TEST_F(LumenNotesSafety, SalvageCopiesTheWholeMonthsIntoANewFile) {
  // A year with a note on the first of every month, cut inside June.
  std::string year;
  for (int m = 1; m <= 12; ++m) {
    const std::string text = "Month " + std::to_string(m);
    year += static_cast<char>(text.size()) + text + std::string(4, '\0');
    year += std::string(30 * 5, '\0');
  }
  const size_t june = 5 * (155 + 7) + 3;
  WriteFileBytes(box.file("cut.scd"), year.substr(0, june));

  RunResult r = box.Run({"notes", "salvage", box.file("cut.scd"), Notes("Year2024.scd")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "January    recovered\nFebruary   recovered\nMarch      recovered\n"
            "April      recovered\nMay        recovered\nJune       not recovered\n"
            "July       not recovered\nAugust     not recovered\nSeptember  not recovered\n"
            "October    not recovered\nNovember   not recovered\nDecember   not recovered\n"
            "5 of 12 months recovered into '" + Notes("Year2024.scd") + "'.\n");
  EXPECT_EQ(ReadFileBytes(Notes("Year2024.scd")).size(), 1860u + 5 * 7);
  EXPECT_NE(box.Run({"notes", "--date", "2024-05-01"}).out.find("Dated:\n  Month 5\n"), std::string::npos);
  EXPECT_NE(box.Run({"notes", "--date", "2024-06-01"}).out.find("Dated:\n  (none)\n"), std::string::npos);

  const std::string written = ReadFileBytes(Notes("Year2024.scd"));
  r = box.Run({"notes", "salvage", box.file("cut.scd"), Notes("Year2024.scd")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("already exists"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFileBytes(Notes("Year2024.scd")), written);
  r = box.Run({"notes", "salvage", box.file("missing.scd"), box.file("out.scd")});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(FileExists(box.file("out.scd")));
  EXPECT_NE(box.Run({"notes", "salvage", "--help"}).out.find("every month after it"), std::string::npos);
}

TEST_F(LumenNotesSafety, ConcurrentSetsLandExactlyWhenTheyExitZero) {
  constexpr int kWriters = 8;
  for (int round = 0; round < 3; ++round) {
    pid_t pids[kWriters];
    for (int w = 0; w < kWriters; ++w) {
      const std::string date = "2024-03-0" + std::to_string(w + 1);
      const std::string text = "round " + std::to_string(round) + " writer " + std::to_string(w);
      const std::vector<std::string> args = {"notes", "set", "--date", date, "--dated", text,
                                             "--annual", text, "--remind", std::to_string(round % 2)};
      const std::string err = box.file("err" + std::to_string(w));
      pids[w] = fork();
      if (pids[w] == 0) {
        setenv("LUMEN_REGISTRY_DIR", box.file("registry").c_str(), 1);
        setenv("XDG_CONFIG_HOME", box.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", box.file("data").c_str(), 1);
        const int null = open("/dev/null", O_RDWR);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(null, 0);
        dup2(null, 1);
        dup2(errFd, 2);
        std::vector<char*> argv{const_cast<char*>(LUMEN_BIN)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(LUMEN_BIN, argv.data());
        _exit(127);
      }
    }
    for (int w = 0; w < kWriters; ++w) {
      int status = -1;
      ASSERT_EQ(waitpid(pids[w], &status, 0), pids[w]);
      const bool exitedZero = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      const std::string text = "round " + std::to_string(round) + " writer " + std::to_string(w);
      const RunResult shown = box.Run({"notes", "--date", "2024-03-0" + std::to_string(w + 1)});
      const bool landed = Count(shown.out, "  " + text + "\n") == 2 &&
                          shown.out.find("Remind: " + std::to_string(round % 2)) != std::string::npos;
      EXPECT_EQ(landed, exitedZero) << "round " << round << " writer " << w << ": "
                                    << ReadFileBytes(box.file("err" + std::to_string(w))) << shown.out;
      EXPECT_TRUE(exitedZero) << ReadFileBytes(box.file("err" + std::to_string(w)));
    }
  }
}

}  // namespace
