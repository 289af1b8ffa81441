// The user's notes: the dated notes of one year and the annual notes, both
// kept at one current date, loaded from and saved to the personal directory.
#pragma once

#include "orrery/notes/notes_file.h"
#include "orrery/notes/notes_folder.h"
#include "orrery/notes/use_note.h"
#include "platform/datetime.h"
#include "platform/file.h"

#include <cstdint>
#include <string>
#include <vector>

class CNoteStore {
public:
  // Today; finds the personal directory and loads this year's and the annual file.
  CNoteStore();
  // Saves what is modified (see SaveChanges) and closes the files.
  virtual ~CNoteStore();
  CNoteStore(const CNoteStore&) = delete;
  CNoteStore& operator=(const CNoteStore&) = delete;

  // Moves to date. Into another year it saves modified dated notes first and
  // then loads the new year, returning whether that file loaded. When that
  // save fails nothing changes and the result is false (see SaveFailed):
  // unsaved notes are never replaced. An invalid date returns false.
  bool SetDate(const CDateTime& date);
  CDateTime GetDate() const { return m_date; }

  std::string GetDatedText() const { return m_dated.GetDayText(); }
  void SetDatedText(const std::string& text) { m_dated.SetDayText(text); }
  std::string GetAnnualText() const { return m_annual.GetDayText(); }
  void SetAnnualText(const std::string& text) { m_annual.SetDayText(text); }
  // The remind-in-advance flag: OR of both kinds when read, set in both.
  int GetRemind() const;
  void SetRemind(int value);

  // "And Don't Forget..." and the flagged notes of the next five days, or "".
  // The store is back on its date afterwards.
  std::string GetReminders();

  // The days of a month (1..12) that have dated notes, annual notes or the
  // remind flag: bit d - 1 for day d. Another year than the store's is read
  // from its file aside; the store's date and year stay as they are.
  uint32_t GetMarkedDays(int year, int month) const;

  // "Schedule"/"Path", or the executable's directory (then written there),
  // with a trailing separator. "" (no notes folder) when the per-user
  // profile exists but cannot be read.
  std::string GetPersonalDirectory();
  // Saves modified notes into the old directory, then loads both kinds from
  // path and records it. When a save fails, or path is empty, nothing
  // changes and the result is false.
  bool SetPersonalDirectory(const std::string& path);
  std::string GetDirectory() const { return m_directory; }

  // Saves each kind that is modified; false when a save failed (the notes
  // then stay in memory, still modified). The program calls it before exit
  // to tell the user.
  //
  // A save writes only the days this store changed (texts and remind flags,
  // of each kind) over the file as it is on disk now, keeping every other
  // day as another writer left it; a day changed by both keeps the later
  // save's. The read, the merge and the rename happen under the notes
  // folder's lock. Afterwards the store holds the merged year. A file there
  // that cannot be read is moved aside first (see TakeDamageReports) and the
  // store's whole copy is written.
  bool SaveChanges();
  // Forgets the changes not saved yet, so that nothing more is written (not
  // at destruction either): for a caller that has reported a failed save.
  void DiscardChanges();
  // The latest save of either kind failed and has not succeeded since.
  bool SaveFailed() const { return m_yearSaveFailed || m_annualSaveFailed; }

  bool LoadYearFile();
  bool LoadAnnualFile();
  bool SaveYearFile();
  bool SaveAnnualFile();

  // A notes file that existed but could not be read, moved aside before a
  // save wrote in its place.
  struct Damage {
    std::string file;    // the notes file's path
    std::string keptAs;  // where its bytes are now
  };
  // The files moved aside since the last call; each is reported once.
  std::vector<Damage> TakeDamageReports();
  // A notes file that is there but could not be read when the store loaded
  // it: something else than a file (a folder, a pipe), a file the user may
  // not read, or a read the system refused. Its notes read as none. (A file
  // that reads but holds no notes is told at the save, see Damage.)
  struct ReadFailure {
    std::string file;    // the notes file's path
    std::string reason;  // "it is a folder", "Permission denied", ...
  };
  // The files that failed to read since the last call, each once.
  std::vector<ReadFailure> TakeReadFailures();

  // Re-reads each kind whose file changed on disk since it was last read or
  // saved, keeping this store's unsaved changes over what is there now.
  // True when what the store holds changed.
  bool Refresh();
  // Whether dir holds notes files (a year file or the annual file).
  static bool HasNotesFiles(const std::string& dir);
  // SetPersonalDirectory, moving the notes files of the current folder into
  // path first. None is overwritten: when path holds one of the same name,
  // or a move fails, nothing changes, error says why and the result is false.
  bool MovePersonalDirectory(const std::string& path, std::string* error);
  // Without a readable profile there is no notes folder and nothing is saved.
  bool HasDirectory() const { return !m_directory.empty(); }

  // "Year%.4d.scd" of year; "" for a year below 1.
  static std::string YearFileName(int year);
  static std::string AnnualFileName();

private:
  // A notes file as this store last read or saved it.
  struct Seen {
    FileIdentity identity;
    bool readable = true;  // its content is what the store read or wrote
  };
  bool LoadKind(const std::string& path, CFile& handle, CUseNote& notes, Seen& seen);
  bool SaveKind(const std::string& path, CFile& handle, CUseNote& notes, Seen& seen);
  bool RefreshKind(const std::string& path, CFile& handle, CUseNote& notes, Seen& seen);
  static bool IsYearFileName(const std::string& name);

  std::string YearPath(int year) const;
  // Reads a year's dated notes into notes without touching the store's own;
  // an unreadable file gives no notes.
  void ReadYearAside(int year, CUseNote& notes) const;
  std::string AnnualPath() const;

  CDateTime m_date;
  CFile m_yearFile;
  CUseNote m_dated;
  CFile m_annualFile;
  CUseNote m_annual;
  std::string m_directory;
  Seen m_yearSeen;
  Seen m_annualSeen;
  std::vector<Damage> m_damage;
  // Noted by const readers of other years too.
  mutable std::vector<ReadFailure> m_readFailures;
  void NoteReadResult(const std::string& path, NotesRead result) const;
  bool m_yearSaveFailed = false;
  bool m_annualSaveFailed = false;
};
