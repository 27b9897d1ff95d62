#pragma once

#include <string>

namespace twk::test {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of name inside the folder; '/' in name stands for the platform's separator, so
    // the result matches paths the program joins itself.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Writes bytes to path, creating missing folders; returns path.
std::string writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);

}  // namespace twk::test
