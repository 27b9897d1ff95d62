#pragma once

#include <string>
#include <vector>

namespace platform {

// True exactly when a folder exists at path (a trailing separator is allowed).
bool dirExists(const std::string& path);
// True when a regular file exists at path and can be opened for reading.
bool fileExists(const std::string& path);
// Names of the files (not folders) directly in dir, hidden files left out, in ascending byte
// order. ok is false when the folder could not be read.
std::vector<std::string> listFiles(const std::string& dir, bool* ok = nullptr);
// Creates one folder level; true when it exists afterwards.
bool makeDir(const std::string& path);
bool removeFile(const std::string& path);
#ifndef _WIN32
// Replaces file with content (mode 0644) through a new file in the same folder, renamed over it
// when whole: readers see the old or the new file, and on failure the old one stays and no
// temporary file is left. One writer of a file at a time (callers hold a lock); temporary files
// of a killed writer are removed.
bool replaceFile(const std::string& file, const std::string& content);
#endif
// The user's documents folder, for dialogs to start in.
std::string documentsFolder();

}  // namespace platform
