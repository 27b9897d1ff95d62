#pragma once

#include <optional>
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

// Makes a file or folder unreadable for this thread until destruction: no permissions for
// anyone, and for root, whom permissions do not stop either, the capabilities that override
// them are dropped from the thread's effective set (and raised again afterwards).
class Unreadable {
public:
    explicit Unreadable(std::string path);
    ~Unreadable();
    Unreadable(const Unreadable&) = delete;
    Unreadable& operator=(const Unreadable&) = delete;

    // True when the path really cannot be opened for reading now; otherwise the test should
    // skip.
    bool active() const { return active_; }

private:
    std::string path_;
    std::optional<unsigned> oldMode_;  // given back at destruction
    bool capabilitiesDropped_ = false;
    bool active_ = false;
};

}  // namespace twk::test
