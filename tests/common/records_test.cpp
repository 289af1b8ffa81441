#include "common/archive_string.h"
#include "common/gennote.h"
#include "common/month.h"

#include "tests/support/locale_env.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <functional>

namespace {

// Stores through a real file and returns its bytes.
std::string Store(const TempDir& dir, const std::function<void(CArchive&)>& write) {
  const std::string path = dir.file("out.bin");
  CFile file;
  EXPECT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
  CArchive ar(&file, CArchive::store);
  write(ar);
  ar.Close();
  file.Close();
  return ReadFileBytes(path);
}

// Loads from the given bytes.
void Load(const TempDir& dir, const std::string& bytes, const std::function<void(CArchive&)>& read) {
  const std::string path = dir.file("in.bin");
  WriteFileBytes(path, bytes);
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
  CArchive ar(&file, CArchive::load);
  read(ar);
}

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s += static_cast<char>(b);
  return s;
}

CArchiveException::Cause LoadFailure(const TempDir& dir, const std::string& bytes,
                                     const std::function<void(CArchive&)>& read) {
  try {
    Load(dir, bytes, read);
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return CArchiveException::none;
}

}  // namespace

TEST(ArchiveString, LengthPrefixesAtEachBoundary) {
  TempDir dir;
  struct Case { size_t length; std::string prefix; };
  const Case cases[] = {
      {0, Bytes({0x00})},
      {254, Bytes({0xFE})},
      {255, Bytes({0xFF, 0xFF, 0x00})},
      {65533, Bytes({0xFF, 0xFD, 0xFF})},
      {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
  };
  for (const Case& c : cases) {
    const std::string text(c.length, 'q');
    const std::string bytes = Store(dir, [&](CArchive& ar) { WriteArchiveString(ar, text); });
    EXPECT_EQ(bytes, c.prefix + text) << c.length;
    std::string back;
    Load(dir, bytes, [&](CArchive& ar) { back = ReadArchiveString(ar); });
    EXPECT_EQ(back, text) << c.length;
  }
}

TEST(ArchiveString, ReadsTheLongerAndWideForms) {
  TempDir dir;
  struct Case { std::string bytes; std::string text; };
  const Case cases[] = {
      // 4-byte and 8-byte lengths for short texts
      {Bytes({0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0}) + "ab", "ab"},
      {Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0, 0, 0, 0, 0}) + "ab", "ab"},
      // 16-bit text: "Tür" as UTF-16LE, short and long prefix
      {Bytes({0xFF, 0xFE, 0xFF, 0x03, 'T', 0, 0xFC, 0, 'r', 0}), "T\xC3\xBCr"},
      {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x03, 0x00, 'T', 0, 0xFC, 0, 'r', 0}), "T\xC3\xBCr"},
      // a stored zero cuts the text
      {Bytes({0x05, 'a', 'b', 0, 'c', 'd'}), "ab"},
      {Bytes({0xFF, 0xFE, 0xFF, 0x03, 'x', 0, 0, 0, 'y', 0}), "x"},
  };
  for (const Case& c : cases) {
    std::string back;
    Load(dir, c.bytes, [&](CArchive& ar) { back = ReadArchiveString(ar); });
    EXPECT_EQ(back, c.text);
  }
}

TEST(ArchiveString, RejectsTruncatedAndImpossibleLengths) {
  TempDir dir;
  auto read = [](CArchive& ar) { ReadArchiveString(ar); };
  EXPECT_EQ(LoadFailure(dir, "", read), CArchiveException::endOfFile);
  EXPECT_EQ(LoadFailure(dir, Bytes({0x05, 'a', 'b'}), read), CArchiveException::endOfFile);
  EXPECT_EQ(LoadFailure(dir, Bytes({0xFF, 0x10}), read), CArchiveException::endOfFile);
  // A length far beyond the data fails without allocating it.
  EXPECT_EQ(LoadFailure(dir, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'x'}), read),
            CArchiveException::endOfFile);
  EXPECT_EQ(LoadFailure(dir, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0}), read),
            CArchiveException::genericException);
}

TEST(ArchiveString, WideTextFollowsTheLocaleCharset) {
  TempDir dir;
  const std::string latin1 = CompileLocale(dir.path(), "de_DE", "ISO-8859-1");
  setenv("LC_ALL", latin1.c_str(), 1);
  std::string back;
  Load(dir, Bytes({0xFF, 0xFE, 0xFF, 0x04, 'T', 0, 0xFC, 0, 'r', 0, 0xAC, 0x20}),
       [&](CArchive& ar) { back = ReadArchiveString(ar); });
  unsetenv("LC_ALL");
  EXPECT_EQ(back, "T\xFCr?");  // the euro sign is not in Latin-1
}

TEST(Month, EmptyRecordIs155ZeroBytesAndRoundTrips) {
  TempDir dir;
  CMonth empty;
  EXPECT_EQ(Store(dir, [&](CArchive& ar) { empty.Serialize(ar); }), std::string(155, '\0'));

  CMonth full;
  full.SetDayText(1, "New Year\r\nParty");
  full.SetDayText(31, std::string(300, 'z'));
  full.SetDayValue(31, -7);
  EXPECT_TRUE(full.IsModified());
  const std::string bytes = Store(dir, [&](CArchive& ar) { full.Serialize(ar); });
  EXPECT_FALSE(full.IsModified());

  CMonth back;
  back.SetDayText(2, "stale");
  Load(dir, bytes, [&](CArchive& ar) { back.Serialize(ar); });
  EXPECT_FALSE(back.IsModified());
  EXPECT_EQ(back.GetDayText(1), "New Year\r\nParty");
  EXPECT_EQ(back.GetDayText(2), "");
  EXPECT_EQ(back.GetDayText(31), std::string(300, 'z'));
  EXPECT_EQ(back.GetDayValue(31), -7);
}

TEST(Month, ModifiedFlagFollowsRealChanges) {
  CMonth m;
  m.SetDayText(3, "");
  m.SetDayValue(3, 0);
  EXPECT_FALSE(m.IsModified());
  m.SetDayText(3, "a");
  EXPECT_TRUE(m.IsModified());
  m.Clear();
  EXPECT_FALSE(m.IsModified());
  EXPECT_EQ(m.GetDayText(3), "");
  m.SetDayText(0, "x");
  m.SetDayText(32, "x");
  EXPECT_FALSE(m.IsModified());
}

TEST(Month, WideTextIsStoredBackInEightBitForm) {
  TempDir dir;
  std::string file = Bytes({0xFF, 0xFE, 0xFF, 0x02, 'h', 0, 'i', 0, 0, 0, 0, 0});
  for (int i = 1; i < 31; ++i) file += std::string(5, '\0');
  CMonth m;
  Load(dir, file, [&](CArchive& ar) { m.Serialize(ar); });
  EXPECT_EQ(m.GetDayText(1), "hi");
  const std::string stored = Store(dir, [&](CArchive& ar) { m.Serialize(ar); });
  EXPECT_EQ(stored.substr(0, 7), Bytes({0x02, 'h', 'i', 0, 0, 0, 0}));
  EXPECT_EQ(stored.size(), 157u);
}

TEST(Month, FileCutInsideTheLastPairFails) {
  TempDir dir;
  EXPECT_EQ(LoadFailure(dir, std::string(153, '\0'), [](CArchive& ar) { CMonth().Serialize(ar); }),
            CArchiveException::endOfFile);
}

TEST(GenNote, EmptyDocumentLayout) {
  TempDir dir;
  CGenNote doc;
  doc.SetCycleLength(42);
  const std::string bytes = Store(dir, [&](CArchive& ar) { doc.Serialize(ar); });
  ASSERT_EQ(bytes.size(), 1875u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x07LMAQF10"));
  EXPECT_EQ(bytes.substr(8, 4), Bytes({42, 0, 0, 0}));

  CGenNote back;
  Load(dir, bytes, [&](CArchive& ar) { back.Serialize(ar); });
  EXPECT_EQ(back.GetCycleLength(), 42);
  EXPECT_EQ(back.GetTitle(), "");
  EXPECT_EQ(back.GetDailyQuote(), "");
}

TEST(GenNote, TextsAreScrambledInTheFileAndPlainAfterLoading) {
  TempDir dir;
  CGenNote doc;
  doc.SetTitle("Stoics");
  doc.SetSubtitle("Collected\r\nby hand");
  doc.SetDefaultQuote("Be calm.");
  doc.SetCycleLength(366);
  const std::string bytes = Store(dir, [&](CArchive& ar) { doc.Serialize(ar); });
  EXPECT_EQ(bytes.find("Stoics"), std::string::npos);
  EXPECT_EQ(bytes.find("Be calm."), std::string::npos);
  EXPECT_NE(bytes.find(CGenNote::Scramble("Stoics")), std::string::npos);

  CGenNote back;
  Load(dir, bytes, [&](CArchive& ar) { back.Serialize(ar); });
  EXPECT_EQ(back.GetTitle(), "Stoics");
  EXPECT_EQ(back.GetSubtitle(), "Collected\r\nby hand");
  EXPECT_EQ(back.GetDailyQuote(), "Be calm.");
  back.Clear();
  EXPECT_EQ(back.GetTitle(), "");
  EXPECT_EQ(back.GetDailyQuote(), "");
  EXPECT_EQ(back.GetCycleLength(), 366);
}

TEST(GenNote, ScrambleIsItsOwnInverseAndNeverMakesAZero) {
  std::string all;
  for (int c = 0x20; c < 0x7F; ++c) all += static_cast<char>(c);
  all += "\t\r\n";
  for (int shift = 0; shift < 5; ++shift) {
    const std::string text = all.substr(0, static_cast<size_t>(shift)) + all;
    const std::string scrambled = CGenNote::Scramble(text);
    EXPECT_EQ(scrambled.size(), text.size());
    EXPECT_EQ(CGenNote::Scramble(scrambled), text);
  }
  EXPECT_EQ(CGenNote::Scramble(std::string("ab\0cd", 5)), CGenNote::Scramble("ab"));
}

TEST(GenNote, WrongMagicFailsBeforeAnythingChanges) {
  TempDir dir;
  CGenNote good;
  good.SetTitle("Kept");
  good.SetCycleLength(7);
  const std::string bytes = Store(dir, [&](CArchive& ar) { good.Serialize(ar); });
  for (const char* magic : {"lmaqf10", "LMAQF11", "LMAQF1", "XMAQF10"}) {
    std::string bad = bytes;
    const std::string m(magic);
    bad.replace(0, 8, static_cast<char>(m.size()) + m);
    CGenNote doc;
    doc.SetTitle("Mine");
    doc.SetCycleLength(3);
    EXPECT_EQ(LoadFailure(dir, bad, [&](CArchive& ar) { doc.Serialize(ar); }), CArchiveException::badSchema)
        << magic;
    EXPECT_EQ(doc.GetTitle(), "Mine");
    EXPECT_EQ(doc.GetCycleLength(), 3);
  }
  CGenNote doc;
  EXPECT_EQ(LoadFailure(dir, bytes.substr(0, 1000), [&](CArchive& ar) { doc.Serialize(ar); }),
            CArchiveException::endOfFile);
}

namespace {
// A document whose slot k holds "slot k"; month/day of slot k in a leap year.
CGenNote SlotDocument(int cycle, int filledSlots) {
  CGenNote doc;
  doc.SetCycleLength(cycle);
  for (int k = 0; k < filledSlots; ++k) {
    const CDateTime d = CDateTime(2000, 1, 1).AddDays(k);
    doc.GetMonth(d.GetMonth() - 1).SetDayText(d.GetDay(), CGenNote::Scramble("slot " + std::to_string(k)));
  }
  return doc;
}
}  // namespace

TEST(GenNote, DailyQuoteSlotRules) {
  struct Case { int cycle, filled; CDateTime date; std::string quote; };
  const Case cases[] = {
      {366, 366, CDateTime(2005, 3, 1), "slot 60"},   // common year: March 1 reads its own slot
      {366, 366, CDateTime(2004, 2, 29), "slot 59"},
      {366, 366, CDateTime(2004, 12, 31), "slot 365"},
      {366, 366, CDateTime(2005, 12, 31), "slot 365"},
      {10, 10, CDateTime(2005, 1, 11), "slot 0"},
      {10, 10, CDateTime(2005, 1, 12), "slot 1"},
      {10, 10, CDateTime(2005, 12, 31), "slot 4"},    // day 365: (364 mod 10)
      {100, 100, CDateTime(2005, 4, 10), ""},         // slot 100 is empty, no default
      {100, 100, CDateTime(2005, 4, 9), "slot 99"},   // day 99 of 2005 lands on the April 9 slot
      {100, 100, CDateTime(2005, 3, 1), "slot 60"},   // the February 29 slot is skipped
      {1, 1, CDateTime(2005, 7, 4), "slot 0"},
      {1, 0, CDateTime(2005, 7, 4), ""},
      {0, 366, CDateTime(2005, 7, 4), "slot 185"},    // no cycle: every date its own slot
      {-5, 366, CDateTime(2004, 2, 29), "slot 59"},
  };
  for (const Case& c : cases) {
    CGenNote doc = SlotDocument(c.cycle, c.filled);
    ASSERT_TRUE(doc.SetDate(c.date));
    EXPECT_EQ(doc.GetDailyQuote(), c.quote) << "cycle " << c.cycle << " on " << c.date.Format("%Y-%m-%d");
  }
  CGenNote doc;
  EXPECT_FALSE(doc.SetDate(CDateTime()));
}
