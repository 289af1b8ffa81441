// Reading and writing one notes file (twelve months, no header).
#pragma once

#include "orrery/notes/use_note.h"
#include "platform/file.h"

#include <string>

// Reads notes from path through handle, which stays open (shared for reading
// and writing) on success. On any error the handle is closed, the notes are
// emptied and the result is false.
bool LoadNotesFile(CFile& handle, const std::string& path, CUseNote& notes);

// Writes notes to path. The months go to a temporary file in the same folder,
// which is flushed to disk and renamed over the old file, so the old content
// stays whole until the new one is complete. Where no temporary file can be
// made, the file is written in place (created if missing, not truncated).
// An existing file that cannot be opened for writing is not replaced.
// On failure the notes stay modified and the result is false.
bool SaveNotesFile(const std::string& path, CUseNote& notes);
