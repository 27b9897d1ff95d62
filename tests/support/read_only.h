#pragma once

#include <string>

namespace twk::test {

// Makes a folder unwritable for this process until destruction: by permissions for an ordinary
// user, by a read-only bind mount for root (whom permissions do not stop).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False when the machine allowed neither way; the test should then skip and say so.
    bool active() const { return active_; }

private:
    std::string path_;
    bool mounted_ = false;
    bool active_ = false;
};

}  // namespace twk::test
