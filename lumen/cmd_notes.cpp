// lumen notes, lumen notes set, lumen notes salvage.
#include "lumen/args.h"
#include "lumen/commands.h"
#include "lumen/output.h"
#include "orrery/notes/note_store.h"
#include "orrery/notes/notes_file.h"
#include "platform/file.h"
#include "platform/registry.h"

#include <cstdio>

namespace {

// Each line of text indented, so the headings stand out.
void PrintIndented(const std::string& text) {
  const std::string plain = TextFor(stdout, text);
  if (plain.empty()) {
    std::printf("  (none)\n");
    return;
  }
  size_t pos = 0;
  while (pos <= plain.size()) {
    size_t end = plain.find('\n', pos);
    if (end == std::string::npos) end = plain.size();
    std::printf("  %s\n", plain.substr(pos, end - pos).c_str());
    pos = end + 1;
  }
}

// The notes files that were moved aside, on standard error.
void ReportDamage(CNoteStore& store) {
  for (const CNoteStore::Damage& d : store.TakeDamageReports())
    std::fprintf(stderr, "lumen: the notes file '%s' could not be read; it was kept as '%s'\n",
                 d.file.c_str(), d.keptAs.c_str());
}

// A failure once reported: the store writes nothing more, so that no later
// save can land what was reported as not saved.
[[noreturn]] void Fail(CNoteStore& store, const std::string& message) {
  ReportDamage(store);
  store.DiscardChanges();
  throw Failure(message);
}

// Moves the store to date; Failure when the notes of its year cannot be
// kept safely.
void MoveTo(CNoteStore& store, const CDateTime& date) {
  if (!store.HasDirectory()) {
    const std::string why = RegHiveFailure(HKEY_CURRENT_USER);
    Fail(store, "there is no notes folder: the settings cannot be read" +
                    (why.empty() ? "" : " (" + why + ")"));
  }
  store.SetDate(date);
  if (store.SaveFailed()) Fail(store, "the notes in '" + store.GetDirectory() + "' cannot be saved");
}

const char* const kMonthNames[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};

}  // namespace

int RunNotes(const CommandArgs& argv) {
  const Args args(argv, {{"--date", true}}, 0, 0);
  const CDateTime date = args.Has("--date") ? ParseDate(args.Get("--date"), "--date")
                                            : CDateTime::GetCurrentTime().GetDate();
  CNoteStore store;
  MoveTo(store, date);
  std::printf("Notes for %s\n", date.Format("%Y-%m-%d").c_str());
  std::printf("Dated:\n");
  PrintIndented(store.GetDatedText());
  std::printf("Annual:\n");
  PrintIndented(store.GetAnnualText());
  std::printf("Remind: %d\n", store.GetRemind());
  const std::string reminders = store.GetReminders();
  if (!reminders.empty()) PrintText(reminders);
  ReportReadFailures(store);
  ReportDamage(store);
  return 0;
}

int RunNotesSet(const CommandArgs& argv) {
  const Args args(argv, {{"--date", true}, {"--dated", true}, {"--annual", true}, {"--remind", true}},
                  0, 0);
  if (!args.Has("--date")) throw UsageError("--date is needed");
  if (!args.Has("--dated") && !args.Has("--annual") && !args.Has("--remind"))
    throw UsageError("nothing to change: give --dated, --annual or --remind");
  const CDateTime date = ParseDate(args.Get("--date"), "--date");
  const int remind = args.Has("--remind") ? static_cast<int>(ParseInteger(args.Get("--remind"), "--remind", 0, 1)) : 0;
  CNoteStore store;
  MoveTo(store, date);
  if (args.Has("--dated")) store.SetDatedText(StoredText(args.Get("--dated")));
  if (args.Has("--annual")) store.SetAnnualText(StoredText(args.Get("--annual")));
  if (args.Has("--remind")) store.SetRemind(remind);
  if (!store.SaveChanges())
    Fail(store, "the notes could not be saved in '" + store.GetDirectory() + "'");
  ReportDamage(store);
  return 0;
}

int RunNotesSalvage(const CommandArgs& argv) {
  const Args args(argv, {}, 2, 2);
  const std::string& file = args.Positional()[0];
  const std::string& out = args.Positional()[1];
  if (FileExists(out)) throw Failure("'" + out + "' already exists; give a new file");
  CUseNote notes;
  std::string error;
  const int months = SalvageNotesFile(file, notes, &error);
  if (months < 0) throw Failure(error);
  if (!WriteNewNotesFile(out, notes, &error)) throw Failure(error);
  for (int m = 0; m < 12; ++m)
    std::printf("%-10s %s\n", kMonthNames[m], m < months ? "recovered" : "not recovered");
  std::printf("%d of 12 months recovered into '%s'.\n", months, out.c_str());
  return 0;
}
