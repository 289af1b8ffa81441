#include "platform/file.h"
#include "platform/paths.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr unsigned kRead = CFile::modeRead;
constexpr unsigned kWrite = CFile::modeWrite;
constexpr unsigned kCreate = CFile::modeCreate | CFile::modeWrite;
constexpr unsigned kCreateKeep = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite;
}  // namespace

TEST(File, ShareModesDecideWhetherASecondOpenSucceeds) {
  struct Case { unsigned first, second; bool secondOpens; const char* what; };
  const Case cases[] = {
      {kRead | CFile::shareDenyNone, kRead | CFile::shareDenyNone, true, "two sharing readers"},
      {kRead | CFile::shareDenyNone, kRead | CFile::shareExclusive, false, "exclusive reader while a reader holds it"},
      {kRead | CFile::shareDenyNone, kCreate | CFile::shareExclusive, false, "exclusive creation while a reader holds it"},
      {kRead | CFile::shareExclusive, kRead | CFile::shareDenyNone, false, "reader while an exclusive open holds it"},
      {kRead | CFile::shareDenyNone, kCreateKeep | CFile::shareDenyWrite, true, "saving beside a sharing reader"},
      {kRead | CFile::shareDenyWrite, kWrite | CFile::shareDenyNone, false, "writer while a reader denies writing"},
      {kRead | CFile::shareDenyWrite, kRead | CFile::shareDenyNone, true, "reader while a reader denies writing"},
      {kWrite | CFile::shareDenyWrite, kRead | CFile::shareDenyWrite, false, "reader denying writes while a writer holds it"},
      {kRead | CFile::shareCompat, kRead | CFile::shareDenyNone, false, "compatibility mode is exclusive"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.file("f.bin");
    WriteFileBytes(path, "data");
    CFile a, b;
    ASSERT_TRUE(a.Open(path, c.first)) << c.what;
    CFileException::Cause cause = CFileException::none;
    EXPECT_EQ(b.Open(path, c.second, &cause), c.secondOpens) << c.what;
    if (!c.secondOpens) {
      EXPECT_EQ(cause, CFileException::sharingViolation) << c.what;
    }
    // A refused open never truncated the file.
    a.Close();
    b.Close();
    EXPECT_EQ(ReadFileBytes(path).empty(), (c.second & CFile::modeCreate) && !(c.second & CFile::modeNoTruncate) && c.secondOpens)
        << c.what;
    // Once both are closed the file opens exclusively again.
    CFile again;
    EXPECT_TRUE(again.Open(path, kRead | CFile::shareExclusive)) << c.what;
  }
}

TEST(File, ExclusiveOpenFailsWhileAnotherProcessHoldsTheFile) {
  TempDir dir;
  const std::string path = dir.file("held.txt");
  WriteFileBytes(path, "x");
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CFile held;
    const char ok = held.Open(path, kRead | CFile::shareDenyNone) ? '1' : '0';
    (void)!write(ready[1], &ok, 1);
    char c;
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, '1');
  CFile mine;
  EXPECT_FALSE(mine.Open(path, kRead | CFile::shareExclusive));
  EXPECT_TRUE(mine.Open(path, kRead | CFile::shareDenyNone));
  mine.Close();
  (void)!write(release[1], "x", 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(mine.Open(path, kRead | CFile::shareExclusive));
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

TEST(File, ReportsWhyAnOpenFailed) {
  TempDir dir;
  CFile f;
  CFileException::Cause cause = CFileException::none;
  EXPECT_FALSE(f.Open(dir.file("missing"), kRead, &cause));
  EXPECT_EQ(cause, CFileException::fileNotFound);
  EXPECT_FALSE(f.Open(dir.path(), kRead, &cause));
  EXPECT_EQ(cause, CFileException::accessDenied);
  // A pipe nobody writes to is refused at once rather than waited on.
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
  EXPECT_FALSE(f.Open(dir.file("pipe"), kRead | CFile::shareDenyNone, &cause));
  EXPECT_EQ(cause, CFileException::accessDenied);
  EXPECT_FALSE(f.Open(dir.file("pipe"), kCreate | CFile::shareExclusive, &cause));
  EXPECT_FALSE(f.Open("/dev/null", kRead, &cause));
  EXPECT_FALSE(f.Open(dir.file("no/such/dir/file"), kCreate, &cause));
  EXPECT_FALSE(f.Open("", kRead, &cause));
  EXPECT_EQ(cause, CFileException::badPath);
}

TEST(File, CreateUniqueMakesANewFileWithAnUnguessableNameAndTheGivenMode) {
  TempDir dir;
  const mode_t old = umask(022);
  std::set<std::string> names;
  for (unsigned mode : {0600u, 0666u, 0600u}) {
    CFile f;
    ASSERT_TRUE(f.CreateUnique(dir.file("Year2024.scd."), mode));
    const std::string name = f.GetFilePath();
    EXPECT_EQ(name.rfind(dir.file("Year2024.scd."), 0), 0u) << name;
    EXPECT_EQ(name.size(), dir.file("Year2024.scd.").size() + 6) << name;
    EXPECT_TRUE(names.insert(name).second) << name;
    f.Write("abc", 3);
    f.SeekToBegin();
    char back[3];
    EXPECT_EQ(f.Read(back, 3), 3u);
    struct stat st{};
    ASSERT_EQ(lstat(name.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, mode & ~022u) << name;
  }
  umask(old);
  EXPECT_EQ(ProcessUmask(), static_cast<unsigned>(old));
  CFile f;
  CFileException::Cause cause = CFileException::none;
  EXPECT_FALSE(f.CreateUnique(dir.file("no/such/dir/x."), 0600, &cause));
  EXPECT_EQ(cause, CFileException::fileNotFound);
  EXPECT_FALSE(f.IsOpen());
}

TEST(Paths, SplitAtTheLastSeparator) {
  EXPECT_EQ(PathDirectory("/opt/lumen/Orrery"), "/opt/lumen/");
  EXPECT_EQ(PathDirectory("Orrery"), "");
  EXPECT_EQ(PathFileName("/opt/lumen/Orrery"), "Orrery");
  EXPECT_EQ(PathFileTitle("/opt/my.dir/source.txt"), "source");
  EXPECT_EQ(PathFileTitle("/opt/my.dir/source"), "source");
  EXPECT_EQ(PathFileTitle("Orrery"), "Orrery");
  EXPECT_EQ(PathFileName(GetModuleFileName()), "platform_tests");
}
