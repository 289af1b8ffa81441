// Settings files that cannot be read, or only read, through the built lumen.
#include "tests/lumen/lumen_proc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kOrrery = "Software\\Vantrel Software\\Lumen Almanac\\Orrery";

struct Damage {
  const char* what;
  const char* hive;  // the file that is damaged
  void (*apply)(const std::string& file);
  bool fails;        // the hive is failed; else it only refuses writes
  bool byModes;      // made with file modes
  long fileSizeLimit;
};

void RandomBytes(const std::string& file) {
  std::mt19937 random(7);
  std::string bytes(8192, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  WriteFileBytes(file, bytes);
}
void Truncate(const std::string& file) { fs::resize_file(file, fs::file_size(file) / 2); }
void Unreadable(const std::string& file) { fs::permissions(file, fs::perms::none); }
void Folder(const std::string& file) {
  fs::remove(file);
  fs::create_directory(file);
}
void ReadOnly(const std::string& file) {
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}
void Nothing(const std::string&) {}

struct Call {
  std::string command;
  std::vector<std::string> args;
  bool writes;
};

// A profile with places and per-user settings, then one of its files damaged.
TEST(LumenDamagedSettings, FailedFilesStopEveryCommandAndStayAsTheyAre) {
  const Damage cases[] = {
      {"random bytes", "user.db", RandomBytes, true, false, -1},
      {"truncated", "machine.db", Truncate, true, false, -1},
      {"unreadable", "machine.db", Unreadable, true, true, -1},
      {"a folder in its place", "user.db", Folder, true, false, -1},
      {"a read-only file", "machine.db", ReadOnly, false, true, -1},
      {"no room to grow, as on a full disk", "machine.db", Nothing, false, false, 4096},
  };
  // File modes do not stop root: as root those cases run lumen as
  // "nobody", which is given the sandbox, so that the mode alone decides.
  const bool root = geteuid() == 0;
  const int nobody = NobodyUid();
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.byModes && root && nobody < 0) {
      std::cout << "skipped (root, and no user 'nobody'): " << c.what << "\n";
      continue;
    }
    const LumenConditions conditions{c.byModes ? nobody : -1, c.fileSizeLimit};
    LumenSandbox box;
    for (int n = 0; n < 5; ++n)
      ASSERT_EQ(box.Run({"places", "set", std::to_string(n), "--name", "Place " + std::to_string(n),
                         "--lat", "10", "--lon", "20"}).status, 0);
    box.Import("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + kOrrery +
               "\\Options]\n\"Name\"=\"Ann\"\n\n[HKEY_CURRENT_USER\\" + kOrrery + "\\Schedule]\n\"Path\"=\"" +
               box.notesDir() + "/\"\n");
    WriteFileBytes(box.file("change.reg"),
                   "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Test]\n\"A\"=\"1\"\n");
    const std::string places = box.Run({"places"}).out;
    if (root && c.byModes) {
      for (const auto& entry : fs::recursive_directory_iterator(box.file("")))
        ASSERT_EQ(lchown(entry.path().c_str(), nobody, nobody), 0);
      ASSERT_EQ(lchown(box.file("").c_str(), nobody, nobody), 0);
    }
    const std::string file = box.file("registry/" + std::string(c.hive));
    c.apply(file);
    const std::string bytes = fs::is_regular_file(file) ? ReadFileBytes(file) : std::string();

    const Call calls[] = {
        {"places", {"places"}, false},
        {"report", {"report"}, false},
        {"reg export", {"reg", "export"}, false},
        {"places set", {"places", "set", "1", "--name", "Changed", "--lat", "1", "--lon", "2"}, true},
        {"reg import", {"reg", "import", box.file("change.reg")}, true},
    };
    for (const Call& call : calls) {
      SCOPED_TRACE(call.command);
      const RunResult r = RunLumen(box, call.args, conditions);
      if (!c.fails && !call.writes) {
        EXPECT_EQ(r.status, 0) << r.err;
        if (call.command == "places") {
          EXPECT_EQ(r.out, places);  // the stored places, not defaults
        }
        continue;
      }
      EXPECT_EQ(r.status, 1) << r.out;
      EXPECT_EQ(r.err.rfind("lumen " + call.command + ": ", 0), 0u) << r.err;
      EXPECT_NE(r.err.find("'" + file + "' cannot be " + (c.fails ? "read" : "written")), std::string::npos)
          << r.err;
      if (c.fails) {
        EXPECT_EQ(r.out, "");  // no empty skeleton that passes for a backup
      }
    }
    // Nothing wrote to the damaged file or left journal files beside it.
    if (fs::is_regular_file(file) || !bytes.empty()) {
      EXPECT_EQ(ReadFileBytes(file), bytes);
    }
    if (c.fails) {
      EXPECT_FALSE(fs::exists(file + "-wal"));
      EXPECT_FALSE(fs::exists(file + "-shm"));
    }
  }
}

}  // namespace
