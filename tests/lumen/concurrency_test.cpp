// Many lumen runs at once on one profile, round after round.
#include "tests/lumen/lumen_proc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace {

const std::string kOrrery = "Software\\Vantrel Software\\Lumen Almanac\\Orrery";
// Days of one year, some in the same month.
const char* const kDays[] = {"2024-01-03", "2024-01-17", "2024-03-08", "2024-05-21",
                             "2024-07-04", "2024-08-30", "2024-10-12", "2024-12-25"};
constexpr int kPlaces = 5;
constexpr int kImports = 3;

// How long the rounds go on: $LUMEN_STRESS_SECONDS, else a short while (for
// longer than ctest's limit, run the test program directly).
std::chrono::seconds Duration() {
  const char* text = std::getenv("LUMEN_STRESS_SECONDS");
  const int seconds = text ? std::atoi(text) : 0;
  return std::chrono::seconds(seconds > 0 ? seconds : 12);
}

// The name of place n in the output of "lumen places".
std::string PlaceName(const std::string& list, int n) {
  std::istringstream in(list);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(std::to_string(n) + "\t", 0) == 0) return line.substr(2, line.find('\t', 2) - 2);
  return "<none>";
}

struct Launched {
  std::string what;    // for the report
  std::string marker;  // what the run stores, unique to it
  RunResult result;
  bool landed = false;
};

}  // namespace

// Notes, places and imports written by 16 processes at once: every run that
// exited 0 landed, and every one that landed exited 0.
TEST(LumenConcurrency, EveryRunThatSucceededLandedAndNoOtherDid) {
  LumenSandbox box;
  box.Import("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + kOrrery +
             "\\Schedule]\n\"Path\"=\"" + box.notesDir() + "/\"\n");
  const auto end = std::chrono::steady_clock::now() + Duration();
  int rounds = 0, runs = 0, failed = 0;
  std::vector<std::string> faults;
  while (std::chrono::steady_clock::now() < end && faults.size() < 10) {
    const std::string round = "r" + std::to_string(++rounds);
    std::vector<Launched> launched;
    std::vector<LumenProcess> processes;
    for (int d = 0; d < 8; ++d) {
      const std::string note = "note " + round + " day " + std::to_string(d);
      launched.push_back({std::string("notes set ") + kDays[d], note, {}});
      processes.emplace_back(box, std::vector<std::string>{"notes", "set", "--date", kDays[d], "--dated", note},
                             "notes" + std::to_string(d));
    }
    for (int n = 0; n < kPlaces; ++n) {
      const std::string name = round + " place " + std::to_string(n);
      launched.push_back({"places set " + std::to_string(n), name, {}});
      processes.emplace_back(box, std::vector<std::string>{"places", "set", std::to_string(n), "--name", name,
                                                           "--lat", std::to_string(n), "--lon", "10"},
                             "places" + std::to_string(n));
    }
    for (int i = 0; i < kImports; ++i) {
      const std::string file = box.file("import" + std::to_string(i) + ".reg");
      const std::string key = "[HKEY_CURRENT_USER\\Software\\Concurrency\\Import" + std::to_string(i) + "]";
      const std::string value = "\"Round\"=\"" + round + "\"";
      WriteFileBytes(file, "Windows Registry Editor Version 5.00\n\n" + key + "\n" + value + "\n");
      launched.push_back({"reg import " + std::to_string(i), key + "\n" + value + "\n", {}});
      processes.emplace_back(box, std::vector<std::string>{"reg", "import", file}, "import" + std::to_string(i));
    }
    for (size_t k = 0; k < processes.size(); ++k) launched[k].result = processes[k].Wait();

    // What landed, read once all are done.
    const RunResult places = box.Run({"places"});
    const RunResult imports = box.Run({"reg", "export", "HKEY_CURRENT_USER\\Software\\Concurrency"});
    ASSERT_EQ(places.status, 0) << places.err;
    ASSERT_EQ(imports.status, 0) << imports.err;
    for (int d = 0; d < 8; ++d) {
      const RunResult notes = box.Run({"notes", "--date", kDays[d]});
      launched[d].landed = notes.out.find("  " + launched[d].marker + "\n") != std::string::npos;
    }
    for (int n = 0; n < kPlaces; ++n) launched[8 + n].landed = PlaceName(places.out, n) == launched[8 + n].marker;
    for (int i = 0; i < kImports; ++i)
      launched[8 + kPlaces + i].landed = imports.out.find(launched[8 + kPlaces + i].marker) != std::string::npos;

    for (const Launched& l : launched) {
      ++runs;
      failed += l.result.status != 0;
      if (l.landed != (l.result.status == 0))
        faults.push_back(round + " " + l.what + ": exit " + std::to_string(l.result.status) +
                         (l.landed ? ", landed" : ", did not land") + " " + l.result.err);
    }
  }
  std::cout << rounds << " rounds, " << runs << " runs, " << failed << " refused\n";
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}
