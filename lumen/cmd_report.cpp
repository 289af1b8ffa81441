// lumen report.
#include "lumen/args.h"
#include "lumen/commands.h"
#include "lumen/output.h"
#include "orrery/report/report_doc.h"
#include "orrery/sky/location_store.h"

#include <cstdio>

int RunReport(const CommandArgs& argv) {
  const Args args(argv, {{"--now", true}}, 0, 0);
  // Everything that asks for the time (the greeting's stamp, the report
  // date, the notes and the quotation) sees the same moment.
  CDateTime::FixCurrentTime(args.Has("--now") ? ParseDateTime(args.Get("--now"), "--now")
                                              : CDateTime::GetCurrentTime());
  CLocationStore locations;
  CReportDoc report(&locations);
  const std::string text = TextFor(stdout, report.Compose());
  std::fwrite(text.data(), 1, text.size(), stdout);
  ReportReadFailures(*report.GetNoteStore());
  return 0;
}
