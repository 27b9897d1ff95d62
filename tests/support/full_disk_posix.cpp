#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <vector>

#include "support/full_disk.h"

namespace twk::test {
namespace {

constexpr const char* kSize = "size=256k";

}  // namespace

FullDisk::FullDisk(std::string folder) : folder_(std::move(folder)), root_(::geteuid() == 0) {
    if (root_) mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, kSize) == 0;
}

FullDisk::~FullDisk() {
    if (limited_) {
        ::setrlimit(RLIMIT_FSIZE, &savedLimit_);
        ::signal(SIGXFSZ, SIG_DFL);
    }
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void FullDisk::fill() {
    if (mounted_) {
        int fd = ::open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        std::vector<char> chunk(4096, 'f');
        // Big chunks first, then single bytes for what is left of the last page.
        for (size_t size : {chunk.size(), size_t{1}})
            while (fd >= 0 && ::write(fd, chunk.data(), size) > 0) {
            }
        if (fd >= 0) ::close(fd);
        return;
    }
    // A write beyond the limit fails with EFBIG instead of raising SIGXFSZ.
    ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &savedLimit_);
    rlimit none = savedLimit_;
    none.rlim_cur = 0;
    limited_ = ::setrlimit(RLIMIT_FSIZE, &none) == 0;
}

}  // namespace twk::test
