#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/fake_machine.h"

namespace twk::test {
namespace {

namespace fs = std::filesystem;

void writeAttribute(const std::string& folder, const std::string& name, const std::string& value) {
    if (!value.empty()) writeFile(folder + "/" + name, value + "\n");
}

void link(const std::string& target, const std::string& at) {
    fs::create_directories(fs::path(at).parent_path());
    fs::create_symlink(target, at);
}

std::string escaped(const std::string& text, bool (*keep)(unsigned char), const char* format) {
    std::string out;
    for (unsigned char c : text) {
        if (keep(c)) {
            out += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, format, c);
            out += code;
        }
    }
    return out;
}

bool keptInMounts(unsigned char c) { return c != ' ' && c != '\t' && c != '\n' && c != '\\'; }
bool keptInLinks(unsigned char c) { return c > ' ' && c != '/' && c != '\\' && c != 0x7F; }

}  // namespace

FakeMachine::FakeMachine() {
    fs::create_directories(path("proc/self"));
    fs::create_directories(path("sys/class/block"));
    fs::create_directories(path("dev"));
    writeFile(path("proc/self/mounts"), "");
}

platform::Roots FakeMachine::roots() const {
    platform::Roots roots;
    roots.configDir = path("etc");
    roots.procDir = path("proc");
    roots.sysDir = path("sys");
    roots.devDir = path("dev");
    return roots;
}

void FakeMachine::addDisk(const FakeDisk& disk) {
    const std::string block = "devices/" + disk.devicePath + "/block/" + disk.name;
    const std::string folder = path("sys/" + block);
    writeAttribute(folder, "size", std::to_string(disk.sectors));
    writeAttribute(folder, "removable", disk.removable ? "1" : "0");
    const std::string device = path("sys/devices/" + disk.devicePath);
    writeAttribute(device, "vendor", disk.vendor);
    writeAttribute(device, "model", disk.model);
    writeAttribute(device, "type", disk.cardType);
    writeAttribute(device, "name", disk.cardName);
    link("../..", folder + "/device");
    link("../../" + block, path("sys/class/block/" + disk.name));
    writeFile(path("dev/" + disk.name), "");
    diskFolders_[disk.name] = block;
}

void FakeMachine::addPartition(const std::string& disk, const std::string& name,
                               std::uint64_t sectors) {
    const std::string block = diskFolders_.at(disk) + "/" + name;
    writeAttribute(path("sys/" + block), "size", std::to_string(sectors));
    writeAttribute(path("sys/" + block), "partition", "1");
    link("../../" + block, path("sys/class/block/" + name));
    writeFile(path("dev/" + name), "");
    partitions_[disk].push_back(name);
}

void FakeMachine::mount(const std::string& source, const std::string& mountPoint,
                        const std::string& type) {
    std::ofstream out(path("proc/self/mounts"), std::ios::app);
    out << escaped(source, keptInMounts, "\\%03o") << ' '
        << escaped(mountPoint, keptInMounts, "\\%03o") << ' ' << type << " rw,relatime 0 0\n";
}

void FakeMachine::label(const std::string& device, const std::string& label) {
    link("../../" + device, path("dev/disk/by-label/" + escaped(label, keptInLinks, "\\x%02x")));
}

void FakeMachine::addUsbStick(const std::string& name) {
    addDisk({name, std::string(kUsbDevicePath) + "/" + name, true, "SanDisk", "Cruzer Blade", "",
             "", 30031872});
    addPartition(name, name + "1", 30029824);
}

void FakeMachine::plugUsbStick(const std::string& name, const std::string& mountPoint) {
    addUsbStick(name);
    mount("/dev/" + name + "1", mountPoint);
}

void FakeMachine::pullOut(const std::string& disk) {
    std::vector<std::string> names = partitions_[disk];
    names.push_back(disk);
    for (const std::string& name : names) {
        fs::remove(path("sys/class/block/" + name));
        fs::remove(path("dev/" + name));
    }
    fs::remove_all(path("sys/" + diskFolders_.at(disk)));
    diskFolders_.erase(disk);
    partitions_.erase(disk);
}

}  // namespace twk::test
