// Printing the system's texts on a terminal.
#pragma once

#include <cstdio>
#include <string>

// The text with its CR LF line breaks turned into LF.
std::string TerminalText(const std::string& text);
// Line ends typed on a terminal (LF) as the system stores them (CR LF).
std::string StoredText(const std::string& text);
// Writes TerminalText(text) and a line end unless it already ends in one.
void PrintText(const std::string& text, std::FILE* stream = stdout);
