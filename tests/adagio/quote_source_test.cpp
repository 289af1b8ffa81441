#include "adagio/quote_source.h"

#include "adagio/res/resource.h"
#include "adagio/res/strings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kCouldNot = " Could not generate quote file\r\n";

CDateTime SlotDate(int slot) { return CDateTime(1996, 1, 1).AddDays(slot); }

struct SourceLayout {
  std::string lead;                    // before the first marker
  std::string title;
  std::string subtitle;
  std::map<int, std::string> slots;    // slot -> quotation
  std::optional<std::string> fallback; // default quotation (adds its marker)
  std::string tail;                    // after everything
  int dropSlot = -1;                   // the date marker left out
};

std::string BuildSource(const SourceLayout& s) {
  std::string text = s.lead + "{*** SHORT TITLE ***}\r\n" + s.title + "\r\n{*** SUBTITLE ***}\r\n" +
                     s.subtitle + "\r\n";
  for (int slot = 0; slot < 366; ++slot) {
    if (slot != s.dropSlot) text += CQuoteSource::DateMarker(SlotDate(slot)) + "\r\n";
    if (auto it = s.slots.find(slot); it != s.slots.end()) text += it->second + "\r\n";
  }
  if (s.fallback) text += "{*** DEFAULT QUOTE ***}\r\n" + *s.fallback + "\r\n";
  return text + s.tail;
}

// Loads a quotation file as a reader would.
CGenNote LoadQuoteFile(const std::string& path) {
  CGenNote doc;
  CFile file;
  EXPECT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
  CArchive ar(&file, CArchive::load);
  doc.Serialize(ar);
  return doc;
}

std::string SlotText(const CGenNote& doc, int slot) {
  const CDateTime d = SlotDate(slot);
  return CGenNote::Scramble(doc.GetMonth(d.GetMonth() - 1).GetDayText(d.GetDay()));
}

// Another process that holds path open with flags until the object goes.
class Holder {
public:
  Holder(const std::string& path, unsigned flags) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) ADD_FAILURE() << "pipe";
    m_pid = fork();
    if (m_pid == 0) {
      close(ready[0]);
      close(release[1]);
      CFile file;
      const char ok = file.Open(path, flags) ? '1' : '0';
      if (write(ready[1], &ok, 1) != 1) _exit(2);
      char c;
      (void)!read(release[0], &c, 1);
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    m_release = release[1];
    char ok = '0';
    EXPECT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);
    m_opened = ok == '1';
  }
  ~Holder() {
    close(m_release);
    int status = 0;
    waitpid(m_pid, &status, 0);
  }
  bool opened() const { return m_opened; }

private:
  pid_t m_pid = -1;
  int m_release = -1;
  bool m_opened = false;
};

class QuoteSourceTest : public ::testing::Test {
protected:
  TempDir dir;
  std::string source = dir.file("Wisdom.txt");
  std::string quote = dir.file("Wisdom.day");
};

TEST_F(QuoteSourceTest, EmptySourceReadsAndGeneratesCycleOne) {
  CQuoteSource src(source);
  ASSERT_TRUE(src.CheckSource(true));  // creates the empty source
  const std::string text = ReadFileBytes(source);
  const std::string head =
      "{*** SHORT TITLE ***}\r\n\r\n{*** SUBTITLE ***}\r\n\r\n{*** Jan 01 ***}\r\n\r\n{*** Jan 02 ***}";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("{*** Feb 28 ***}\r\n\r\n{*** Feb 29 ***}\r\n\r\n{*** Mar 01 ***}"),
            std::string::npos);
  EXPECT_EQ(text.size(), 21u + 4 + 18 + 366 * (4 + 16) + 4);
  EXPECT_EQ(text.substr(text.size() - 20), "{*** Dec 31 ***}\r\n\r\n");
  EXPECT_EQ(text.find("DEFAULT"), std::string::npos);

  ASSERT_TRUE(src.ReadTitles());
  EXPECT_EQ(src.GetTitle(), "Untitled Source");
  EXPECT_EQ(src.GetSubtitle(), "Source has no subtitle");

  std::string message;
  ASSERT_TRUE(src.Generate(message)) << message;
  EXPECT_EQ(message, "The quote file has been generated:\r\n" + quote);
  EXPECT_EQ(ReadFileBytes(quote).size(), 1875u);
  CGenNote doc = LoadQuoteFile(quote);
  EXPECT_EQ(doc.GetCycleLength(), 1);
  EXPECT_EQ(doc.GetTitle(), "");
  EXPECT_EQ(doc.GetSubtitle(), "");
  EXPECT_EQ(ReadFileBytes(source), text);  // the source is never changed
}

TEST_F(QuoteSourceTest, CheckSourceWithoutCreationLeavesNoFile) {
  CQuoteSource src(source);
  EXPECT_FALSE(src.CheckSource(false));
  EXPECT_FALSE(FileExists(source));
  EXPECT_FALSE(CQuoteSource(dir.file("no/such/folder.txt")).CheckSource(true));
}

TEST_F(QuoteSourceTest, ReadTitlesChecksTheFirstThreeMarkers) {
  struct Case {
    const char* name;
    std::string text;
    bool ok;
    std::string title, subtitle;
  };
  const std::string rest = "{*** Jan 01 ***}\r\nq\r\n";
  const Case cases[] = {
      {"blank lead", " \r\n\t{*** SHORT TITLE ***}  Poets \r\n{*** SUBTITLE ***}\r\n  Old\r\nand new \r\n" + rest,
       true, "Poets", "Old\r\nand new"},
      {"empty title", "{*** SHORT TITLE ***}{*** SUBTITLE ***}Sub" + rest, true, "Untitled Source", "Sub"},
      {"junk before the first marker", "x{*** SHORT TITLE ***}T{*** SUBTITLE ***}S" + rest, false, "", ""},
      {"no subtitle marker", "{*** SHORT TITLE ***}T" + rest, false, "", ""},
      {"no Jan 01 marker", "{*** SHORT TITLE ***}T{*** SUBTITLE ***}S{*** Jan 02 ***}", false, "", ""},
      {"marker case matters", "{*** short title ***}T{*** SUBTITLE ***}S" + rest, false, "", ""},
      {"title of 4078 bytes", "{*** SHORT TITLE ***}" + std::string(4078, 't') + "{*** SUBTITLE ***}S" + rest,
       true, std::string(4078, 't'), "S"},
      {"title of 4079 bytes", "{*** SHORT TITLE ***}" + std::string(4079, 't') + "{*** SUBTITLE ***}S" + rest,
       false, "", ""},
  };
  for (const Case& c : cases) {
    WriteFileBytes(source, c.text);
    CQuoteSource src(source);
    EXPECT_EQ(src.ReadTitles(), c.ok) << c.name;
    EXPECT_EQ(src.GetTitle(), c.title) << c.name;
    EXPECT_EQ(src.GetSubtitle(), c.subtitle) << c.name;
  }
}

TEST_F(QuoteSourceTest, GenerationSetsCycleLengthAndTexts) {
  struct Case {
    const char* name;
    SourceLayout layout;
    int cycle;
    std::map<int, std::string> slots;  // expected non-empty slots (plain)
    std::string fallback;
  };
  std::map<int, std::string> ten;
  for (int i = 0; i < 10; ++i) ten[i] = "Quote " + std::to_string(i);
  const Case cases[] = {
      {"Jan 01 to Jan 10", {"", "T", "S", ten, {}, ""}, 10, ten, ""},
      {"Feb 29 only", {"", "T", "S", {{59, "Leap"}}, {}, ""}, 60, {{59, "Leap"}}, ""},
      {"text after Dec 31", {"", "T", "S", {{0, "First"}}, {}, "  Last words \r\n\r\n"}, 366,
       {{0, "First"}, {365, "Last words"}}, ""},
      {"default quotation", {"", "T", "S", {{2, "Third"}}, std::string("Always"), ""}, 366,
       {{2, "Third"}}, "Always"},
      {"empty default marker", {"", "T", "S", {{2, "Third"}}, std::string(""), ""}, 3, {{2, "Third"}}, ""},
      {"Dec 31 before the default", {"", "T", "S", {{365, "Eve"}}, std::string(""), ""}, 366,
       {{365, "Eve"}}, ""},
      {"multi-line", {"", "T", "S", {{4, "\r\n\r\nLine one\r\n\r\nLine two\r\n\r\n"}}, {}, ""}, 5,
       {{4, "Line one\r\n\r\nLine two"}}, ""},
      {"junk before the first marker", {"Notes to self\r\n", "T", "S", {{0, "A"}}, {}, ""}, 1,
       {{0, "A"}}, ""},
      // With the line breaks around it, the text before the next marker is 4080 bytes.
      {"4080 bytes fit before a marker", {"", "T", "S", {{6, std::string(4076, 'x')}}, {}, ""}, 7,
       {{6, std::string(4076, 'x')}}, ""},
  };
  for (const Case& c : cases) {
    WriteFileBytes(source, BuildSource(c.layout));
    std::string message;
    ASSERT_TRUE(CQuoteSource(source).Generate(message)) << c.name << ": " << message;
    CGenNote doc = LoadQuoteFile(quote);
    EXPECT_EQ(doc.GetCycleLength(), c.cycle) << c.name;
    EXPECT_EQ(doc.GetTitle(), "T") << c.name;
    EXPECT_EQ(doc.GetSubtitle(), "S") << c.name;
    for (int slot = 0; slot < 366; ++slot) {
      auto it = c.slots.find(slot);
      EXPECT_EQ(SlotText(doc, slot), it == c.slots.end() ? "" : it->second) << c.name << " slot " << slot;
    }
    doc.SetDate(CDateTime(2023, 12, 30));  // reads slot 364 in a common year
    if (c.cycle == 366 && !c.slots.count(364)) {
      EXPECT_EQ(doc.GetDailyQuote(), c.fallback) << c.name;
    }
  }
}

TEST_F(QuoteSourceTest, MissingMarkersFailWithTheirMessage) {
  struct Case {
    const char* name;
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"Jun 15 missing", BuildSource({"", "T", "S", {}, {}, "", 166}),
       "{*** Jun 15 ***} not found\r\n" + kCouldNot},
      {"4100-byte quotation", BuildSource({"", "T", "S", {{4, std::string(4100, 'q')}}, {}, ""}),
       "{*** Jan 06 ***} not found\r\n" + kCouldNot},
      {"4081 bytes before a marker", BuildSource({"", "T", "S", {{6, std::string(4077, 'x')}}, {}, ""}),
       "{*** Jan 08 ***} not found\r\n" + kCouldNot},
      {"no title marker", "{*** SUBTITLE ***}\r\n", "{*** SHORT TITLE ***} not found\r\n" + kCouldNot},
      {"empty file", "", "{*** SHORT TITLE ***} not found\r\n" + kCouldNot},
      {"no subtitle", "{*** SHORT TITLE ***}{*** Jan 01 ***}", "{*** SUBTITLE ***} not found\r\n" + kCouldNot},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(quote);
    WriteFileBytes(source, c.text);
    std::string message = "stale";
    EXPECT_FALSE(CQuoteSource(source).Generate(message)) << c.name;
    EXPECT_EQ(message, c.message) << c.name;
    EXPECT_FALSE(FileExists(quote)) << c.name;
  }
}

TEST_F(QuoteSourceTest, GeneratingTwiceGivesTheSameBytes) {
  WriteFileBytes(source, BuildSource({"", "Title", "Sub", {{0, "a"}, {100, "b"}}, std::string("d"), ""}));
  std::string message;
  ASSERT_TRUE(CQuoteSource(source).Generate(message));
  const std::string first = ReadFileBytes(quote);
  ASSERT_TRUE(CQuoteSource(source).Generate(message));
  EXPECT_EQ(ReadFileBytes(quote), first);
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.path())) (void)entry, ++files;
  EXPECT_EQ(files, 2);  // the source and the quotation file, no leftovers
}

TEST_F(QuoteSourceTest, SourceHeldByAnotherProcessCannotBeRead) {
  WriteFileBytes(source, BuildSource({"", "T", "S", {}, {}, ""}));
  Holder editor(source, CFile::modeRead | CFile::shareDenyNone);
  ASSERT_TRUE(editor.opened());
  CQuoteSource src(source);
  EXPECT_FALSE(src.CheckSource(true));
  EXPECT_FALSE(src.ReadTitles());
  std::string message;
  EXPECT_FALSE(src.Generate(message));
  EXPECT_EQ(message, AdagioString(IDS_SOURCE_INACCESSIBLE) + kCouldNot);
  EXPECT_EQ(message.substr(0, 38), "The source file cannot be accessed.  M");
  EXPECT_FALSE(FileExists(quote));
}

TEST_F(QuoteSourceTest, OnlyARegularFileIsASource) {
  // A pipe nobody writes to would block the open; a folder is no file.
  const std::string pipe = dir.file("pipe.txt"), folder = dir.file("folder.txt");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_directory(folder);
  for (const std::string& path : {pipe, folder}) {
    CQuoteSource src(path);
    EXPECT_FALSE(src.CheckSource(true)) << path;
    EXPECT_FALSE(src.ReadTitles()) << path;
    std::string message;
    EXPECT_FALSE(src.Generate(message)) << path;
    EXPECT_EQ(message, AdagioString(IDS_SOURCE_INACCESSIBLE) + kCouldNot) << path;
    EXPECT_FALSE(FileExists(CQuoteSource::QuoteFileName(path))) << path;
  }
  EXPECT_FALSE(std::filesystem::is_regular_file(pipe));  // not replaced by the empty source
}

TEST_F(QuoteSourceTest, QuoteFileHeldByAnotherProcessIsLeftAlone) {
  WriteFileBytes(source, BuildSource({"", "T", "S", {{0, "new"}}, {}, ""}));
  WriteFileBytes(quote, "old bytes");
  Holder orrery(quote, CFile::modeRead | CFile::shareDenyNone);
  ASSERT_TRUE(orrery.opened());
  std::string message;
  EXPECT_FALSE(CQuoteSource(source).Generate(message));
  EXPECT_EQ(message, AdagioString(IDS_QUOTE_FILE_INACCESSIBLE));
  EXPECT_EQ(message.substr(0, 43), "Unable to access the quotation file (.DAY).");
  EXPECT_EQ(ReadFileBytes(quote), "old bytes");
}

TEST_F(QuoteSourceTest, FailureWhileStoringKeepsTheOldFile) {
  std::map<int, std::string> many;
  for (int i = 0; i < 366; ++i) many[i] = std::string(40, 'z');
  WriteFileBytes(source, BuildSource({"", "T", "S", many, {}, ""}));
  const std::string old(3000, 'o');
  WriteFileBytes(quote, old);
  // A child limited to files of 2 KB fails while writing the new file.
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{2048, 2048};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string message;
    const bool ok = CQuoteSource(source).Generate(message);
    _exit(!ok && message == AdagioString(IDS_QUOTE_FILE_INACCESSIBLE) ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFileBytes(quote), old);
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.path())) (void)entry, ++files;
  EXPECT_EQ(files, 2);
}

TEST_F(QuoteSourceTest, LongestFileNamesGenerate) {
  // 250 bytes, near the longest name a folder holds, for source and quotation file.
  const std::string stem = dir.file(std::string(246, 'w'));
  WriteFileBytes(stem + ".txt", BuildSource({"", "T", "S", {{0, "a"}}, {}, ""}));
  for (int run = 0; run < 2; ++run) {  // creating, then replacing
    std::string message;
    EXPECT_TRUE(CQuoteSource(stem + ".txt").Generate(message)) << message;
    EXPECT_EQ(LoadQuoteFile(stem + ".day").GetCycleLength(), 1);
  }
}

TEST_F(QuoteSourceTest, SourceNamedLikeItsQuoteFileIsNotOverwritten) {
  const std::string text = BuildSource({"", "T", "S", {}, {}, ""});
  WriteFileBytes(quote, text);
  std::string message;
  EXPECT_FALSE(CQuoteSource(quote).Generate(message));
  EXPECT_EQ(message, AdagioString(IDS_QUOTE_FILE_INACCESSIBLE));
  EXPECT_EQ(ReadFileBytes(quote), text);
}

TEST_F(QuoteSourceTest, NoFilePlantedBesideTheQuotationFileIsWritten) {
  WriteFileBytes(source, BuildSource({"", "T", "S", {{0, "new"}}, {}, ""}));
  const std::string victim = dir.file("victim");
  WriteFileBytes(victim, "victim's bytes");
  // Links at the names a writer might guess: its process id, or none.
  const std::string planted[] = {dir.file(".quote-" + std::to_string(getpid()) + ".tmp"),
                                 dir.file(".quote-.tmp"), dir.file("Wisdom.day.tmp")};
  for (const std::string& link : planted) ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
  for (int run = 0; run < 2; ++run) {  // creating, then replacing
    std::string message;
    ASSERT_TRUE(CQuoteSource(source).Generate(message)) << message;
  }
  EXPECT_EQ(ReadFileBytes(victim), "victim's bytes");
  for (const std::string& link : planted) {
    struct stat st{};
    ASSERT_EQ(lstat(link.c_str(), &st), 0) << link;
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << link;
  }
  EXPECT_EQ(SlotText(LoadQuoteFile(quote), 0), "new");
  int files = 0;  // source, quotation file, victim and the links: no temporary left
  for (auto& entry : std::filesystem::directory_iterator(dir.path())) (void)entry, ++files;
  EXPECT_EQ(files, 6);
}

TEST_F(QuoteSourceTest, NewQuotationFileIsSharedAsTheUmaskSaysAndAnOldOneKeepsItsMode) {
  WriteFileBytes(source, BuildSource({"", "T", "S", {{0, "q"}}, {}, ""}));
  const std::pair<mode_t, mode_t> cases[] = {{022, 0644}, {002, 0664}, {077, 0600}};
  for (const auto& [mask, expected] : cases) {
    std::remove(quote.c_str());
    const mode_t old = umask(mask);
    std::string message;
    const bool ok = CQuoteSource(source).Generate(message);
    umask(old);
    ASSERT_TRUE(ok) << message;
    struct stat st{};
    ASSERT_EQ(stat(quote.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, expected) << std::oct << mask;
  }
  ASSERT_EQ(chmod(quote.c_str(), 0640), 0);
  std::string message;
  ASSERT_TRUE(CQuoteSource(source).Generate(message)) << message;
  struct stat st{};
  ASSERT_EQ(stat(quote.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(QuoteFileName, ReplacesTheFileNamesExtensionOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"Wisdom.txt", "Wisdom.day"},
      {"/home/u/Wisdom.txt", "/home/u/Wisdom.day"},
      {"my.dir/source", "my.dir/source.day"},
      {"/a/my.dir/source.v2.txt", "/a/my.dir/source.v2.day"},
      {"source", "source.day"},
      {"source.", "source.day"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(CQuoteSource::QuoteFileName(in), out) << in;
}

}  // namespace
