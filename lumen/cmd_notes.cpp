// lumen notes, lumen notes set.
#include "lumen/args.h"
#include "lumen/commands.h"
#include "lumen/output.h"
#include "orrery/notes/note_store.h"

#include <cstdio>

namespace {

// Each line of text indented, so the headings stand out.
void PrintIndented(const std::string& text) {
  const std::string plain = TerminalText(text);
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

// Moves the store to date; Failure when the notes of its year cannot be
// kept safely.
void MoveTo(CNoteStore& store, const CDateTime& date) {
  store.SetDate(date);
  if (store.SaveFailed()) throw Failure("the notes in '" + store.GetDirectory() + "' cannot be saved");
}

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
    throw Failure("the notes could not be saved in '" + store.GetDirectory() + "'");
  return 0;
}

int RunNotesSalvage(const CommandArgs& argv) {
  (void)Args(argv, {}, 2, 2);
  throw Failure("not available yet");
}
