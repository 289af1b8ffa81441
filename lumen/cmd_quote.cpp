// lumen quote, lumen generate.
#include "adagio/quote_source.h"
#include "common/gennote.h"
#include "lumen/args.h"
#include "lumen/commands.h"
#include "lumen/output.h"
#include "orrery/quotes/quote_list.h"

#include <cstdio>

int RunQuote(const CommandArgs& argv) {
  const Args args(argv, {{"--date", true}, {"--info", false}}, 1, 1);
  const CDateTime date =
      args.Has("--date") ? ParseDate(args.Get("--date"), "--date") : CDateTime::GetCurrentTime();
  const std::string path = args.Positional()[0];
  CGenNote doc;
  CFile file;
  if (!ReadQuoteFile(file, path, doc)) throw Failure("cannot read the quotation file '" + path + "'");
  if (args.Has("--info")) {
    PrintText("Title: " + doc.GetTitle());
    PrintText("Subtitle: " + doc.GetSubtitle());
    std::printf("Cycle length: %d\n", static_cast<int>(doc.GetCycleLength()));
    return 0;
  }
  doc.SetDate(date);
  const std::string quote = doc.GetDailyQuote();
  if (!quote.empty()) PrintText(quote);
  return 0;
}

int RunGenerate(const CommandArgs& argv) {
  const Args args(argv, {{"--new", false}}, 1, 1);
  CQuoteSource source(args.Positional()[0]);
  if (args.Has("--new") && !FileExists(args.Positional()[0]) && !source.CheckSource(true))
    throw Failure("cannot create the quotation source '" + args.Positional()[0] + "'");
  std::string message;
  const bool ok = source.Generate(message);
  PrintText(message, ok ? stdout : stderr);
  return ok ? 0 : 1;
}
