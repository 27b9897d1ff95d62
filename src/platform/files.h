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
// The user's documents folder, for dialogs to start in.
std::string documentsFolder();

}  // namespace platform
