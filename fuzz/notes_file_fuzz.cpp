// Notes year files: any bytes read as the twelve months or as a damaged
// file that leaves the notes empty; notes read save and read back the same,
// and salvaging finds every month of a file that reads.
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"
#include "orrery/notes/notes_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteScratch("Year2024.scd", data, size);
  CFile handle;
  CUseNote notes;
  notes.SetDayText("kept only when the file reads", 3);
  const NotesRead result = ReadNotesFile(handle, path, notes);
  FUZZ_CHECK(result == NotesRead::read || result == NotesRead::damaged);

  CUseNote salvaged;
  std::string error;
  const int months = SalvageNotesFile(path, salvaged, &error);
  FUZZ_CHECK(months >= 0 && months <= 12);
  if (result != NotesRead::read) {
    FUZZ_CHECK(!handle.IsOpen());
    FUZZ_CHECK(notes.IsEmpty() && !notes.IsModified());
    FUZZ_CHECK(months < 12);
    return 0;
  }
  FUZZ_CHECK(handle.IsOpen());
  FUZZ_CHECK(!notes.IsModified());
  FUZZ_CHECK(months == 12 && salvaged.SameDays(notes));
  handle.Close();

  const std::string copy = ScratchDir() + "Annual.scd";
  FUZZ_CHECK(SaveNotesFile(copy, notes));
  CUseNote back;
  CFile other;
  FUZZ_CHECK(ReadNotesFile(other, copy, back) == NotesRead::read);
  FUZZ_CHECK(back.SameDays(notes));
  return 0;
}
