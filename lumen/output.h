// Printing the system's texts on a terminal.
#pragma once

#include <cstdio>
#include <string>

// The text with its CR LF line breaks turned into LF.
std::string TerminalText(const std::string& text);
// Line ends typed on a terminal (LF) as the system stores them (CR LF).
std::string StoredText(const std::string& text);
// The control characters of text made visible, so that a text cannot move
// the cursor or command the terminal: tab and line feed stay; every other
// C0 character becomes caret notation ("^[" for ESC, "^M" for a lone CR),
// DEL becomes "^?" and a C1 character (U+0080..U+009F in UTF-8) becomes
// U+FFFD.
std::string VisibleControls(const std::string& text);
// TerminalText(text), with VisibleControls applied when stream is a terminal.
std::string TextFor(std::FILE* stream, const std::string& text);
// Writes TextFor(stream, text) and a line end unless it already ends in one.
void PrintText(const std::string& text, std::FILE* stream = stdout);

class CNoteStore;
// The notes files the store could not read, on standard error.
void ReportReadFailures(CNoteStore& store);
