#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/block_device.h"
#include "platform/strings.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDevicePrefix = "/dev/";

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// The kernel writes blanks, tabs, line ends and backslashes of mount fields as \ooo.
std::string decodeMountField(const std::string& field) {
    std::string decoded;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            decoded += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                         (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Callers of this layer expect answers, not exceptions: every file-system query here uses
// the error-code forms.
fs::path resolved(const fs::path& path) {
    std::error_code error;
    fs::path result = fs::canonical(path, error);
    return error ? fs::path() : result;
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The device node inside <dev> for a mount source such as "/dev/disk/by-uuid/..".
fs::path deviceNode(const Roots& roots, const std::string& source) {
    return fs::path(roots.devDir) / source.substr(std::string(kDevicePrefix).size());
}

// The device's sysfs folder: by kernel name under class/block, or by device number under
// dev/block when the node is a real block device (mapper names and other aliases).
fs::path sysfsFolder(const Roots& roots, const fs::path& node) {
    fs::path target = resolved(node);
    std::string name = (target.empty() ? node : target).filename().string();
    if (isPlainName(name)) {
        fs::path byName = resolved(fs::path(roots.sysDir) / "class" / "block" / name);
        if (isFolder(byName)) return byName;
    }
    struct stat info {};
    if (::stat(node.c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) return {};
    std::string number =
        std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev));
    fs::path byNumber = resolved(fs::path(roots.sysDir) / "dev" / "block" / number);
    return isFolder(byNumber) ? byNumber : fs::path();
}

}  // namespace

std::vector<MountEntry> readMounts(const Roots& roots) {
    std::vector<MountEntry> mounts;
    std::ifstream in(joinPath(joinPath(roots.procDir, "self"), "mounts"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string source, mountPoint;
        if (fields >> source >> mountPoint)
            mounts.push_back({decodeMountField(source), decodeMountField(mountPoint)});
    }
    return mounts;
}

std::optional<MountEntry> mountAt(const Roots& roots, const std::string& root) {
    const std::string wanted = withoutTrailingSeparator(root);
    std::optional<MountEntry> found;
    for (auto& mount : readMounts(roots))
        if (!wanted.empty() && mount.mountPoint == wanted) found = std::move(mount);
    return found;
}

bool isDeviceMount(const MountEntry& mount) {
    return mount.source.rfind(kDevicePrefix, 0) == 0 &&
           mount.source.size() > std::string(kDevicePrefix).size();
}

std::optional<BlockDevice> blockDeviceAt(const Roots& roots, const std::string& root) {
    auto mount = mountAt(roots, root);
    if (!mount || !isDeviceMount(*mount)) return std::nullopt;
    fs::path folder = sysfsFolder(roots, deviceNode(roots, mount->source));
    if (folder.empty()) return std::nullopt;
    // A partition's folder sits inside its disk's folder.
    std::error_code error;
    fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
    return BlockDevice{folder.filename().string(), folder.string(), disk.filename().string(),
                       disk.string()};
}

bool onUsbBus(const Roots& roots, const BlockDevice& device) {
    std::string sys = resolved(roots.sysDir).string();
    std::string path = device.diskSysPath;
    if (!sys.empty() && path.rfind(sys, 0) == 0) path = path.substr(sys.size());
    return path.find("/usb") != std::string::npos;
}

std::string readAttribute(const std::string& folder, const std::string& name) {
    std::ifstream in(joinPath(folder, name));
    std::string line;
    std::getline(in, line);
    return trim(line);
}

}  // namespace platform
