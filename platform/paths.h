// Paths of the running program and the separator rules of this platform.
#pragma once

#include <string>

inline constexpr char kPathSeparator = '/';
// What follows a program's name in its file name ("" here, ".EXE" elsewhere).
inline constexpr const char* kExeSuffix = "";

// The running executable's full path.
std::string GetModuleFileName();
// The path up to and including its last separator, or "" without one.
std::string PathDirectory(const std::string& path);
// What follows the last separator (the whole path without one).
std::string PathFileName(const std::string& path);
// The file name without its extension (the part from its last dot).
std::string PathFileTitle(const std::string& path);
