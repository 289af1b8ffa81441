// Reading and writing one notes file (twelve months, no header).
#pragma once

#include "orrery/notes/notes_folder.h"
#include "orrery/notes/use_note.h"
#include "platform/file.h"

#include <string>

// What reading a notes file found.
enum class NotesRead {
  read,     // the twelve months
  missing,  // no file of that name
  damaged,  // something is there but it does not read as notes
  failed,   // the system refused (out of descriptors, an I/O error)
};

// Reads notes from path through handle, which stays open (shared for reading
// and writing) when they read. Otherwise the handle is closed and the notes
// are emptied. identity, when given, receives the identity of the file read
// (of what the path names when nothing was read).
NotesRead ReadNotesFile(CFile& handle, const std::string& path, CUseNote& notes,
                        FileIdentity* identity = nullptr);

// ReadNotesFile, true when the notes read.
bool LoadNotesFile(CFile& handle, const std::string& path, CUseNote& notes);

// Writes notes to path. The months go to a temporary file in the same folder,
// which is flushed to disk and renamed over the old file, so the old content
// stays whole until the new one is complete. Where no temporary file can be
// made, the file is written in place (created if missing, not truncated).
// An existing file that cannot be opened for writing is not replaced.
// On failure the notes stay modified and the result is false.
bool SaveNotesFile(const std::string& path, CUseNote& notes);

// Writes notes into the new file path, never replacing one that exists
// (nor one that appears meanwhile). False with error set otherwise.
bool WriteNewNotesFile(const std::string& path, CUseNote& notes, std::string* error);

// Reads the months of path one after another into notes while they read
// whole; the months from the first that does not are left empty. The count
// of months read, or -1 when the file cannot be opened or read (error says
// why).
int SalvageNotesFile(const std::string& path, CUseNote& notes, std::string* error);
