#pragma once

#include <sys/resource.h>

#include <string>

namespace twk::test {

// Lets a test fill the disk under a folder. For root the (empty) folder becomes a small file
// system of its own, which fill() fills to the last byte, so writes there fail with "no space
// left". Other users cannot mount: for them fill() sets this process's file-size limit to
// zero, so every write to a file fails the same way. Undone at destruction.
class FullDisk {
public:
    explicit FullDisk(std::string folder);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // False when neither way was open to this process; the test should then skip.
    bool active() const { return mounted_ || !root_; }
    // From here on, no write into the folder finds room.
    void fill();

private:
    std::string folder_;
    bool root_ = false;
    bool mounted_ = false;
    bool limited_ = false;
    rlimit savedLimit_{};
};

}  // namespace twk::test
