// Quotation files and the daily quotation: any bytes load or fail without a
// crash; a loaded file gives a quotation for any date, and stores and loads
// back to the same titles and day quotations. The first two bytes choose the
// date. (A loaded document keeps its default quotation as read, so storing
// it again is not a way the programs write files; the default is left out.)
#include "common/gennote.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"
#include "orrery/quotes/quote_list.h"

namespace {
void Store(CGenNote& doc, const std::string& path) {
  CFile file;
  FUZZ_CHECK(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
  CArchive ar(&file, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputCursor in(data, size);
  const auto pick = static_cast<uint16_t>(in.Take(2));
  const std::string path = WriteScratch("quotes.day", in.Rest(), in.RestSize());

  CGenNote doc;
  CFile file;
  if (!ReadQuoteFile(file, path, doc)) return 0;
  file.Close();

  // Days of a leap and a common year, and the ends of the range of years.
  const CDateTime dates[] = {CDateTime(2024, 1, 1).AddDays(pick % 366),
                             CDateTime(2023, 1, 1).AddDays(pick % 365),
                             CDateTime(100, 1, 1), CDateTime(9999, 12, 31)};
  for (const CDateTime& date : dates) {
    FUZZ_CHECK(doc.SetDate(date));
    (void)doc.GetDailyQuote();
  }

  const std::string copy = ScratchDir() + "quotes-copy.day";
  Store(doc, copy);
  CGenNote back;
  CFile other;
  FUZZ_CHECK(ReadQuoteFile(other, copy, back));
  FUZZ_CHECK(back.GetTitle() == doc.GetTitle());
  FUZZ_CHECK(back.GetSubtitle() == doc.GetSubtitle());
  FUZZ_CHECK(back.GetCycleLength() == doc.GetCycleLength());
  for (int m = 0; m < 12; ++m)
    for (int d = 1; d <= CMonth::kDays; ++d)
      FUZZ_CHECK(back.GetMonth(m).GetDayText(d) == doc.GetMonth(m).GetDayText(d));
  return 0;
}
