#include "platform/store.h"

#include "platform/files.h"

#include "platform/strings.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <sstream>

namespace platform {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> readQuoted(const std::string& s, size_t& pos) {
    if (pos >= s.size() || s[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '\\' && pos + 1 < s.size()) {
            out += s[++pos];
        } else if (c == '"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> parseHexBytes(const std::string& s) {
    std::string out;
    int high = -1;
    for (char c : s) {
        if (c == ',' || std::isspace(static_cast<unsigned char>(c)) || c == '\\') continue;
        int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            out += static_cast<char>(high * 16 + d);
            high = -1;
        }
    }
    if (high >= 0) return std::nullopt;
    return out;
}

std::string formatHexBytes(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i) out += ',';
        out += buf;
    }
    return out;
}

std::optional<RegValue> parseData(const std::string& data) {
    if (!data.empty() && data[0] == '"') {
        size_t pos = 0;
        auto text = readQuoted(data, pos);
        if (!text || !trim(data.substr(pos)).empty()) return std::nullopt;
        return RegValue::string(*text);
    }
    if (data.rfind("dword:", 0) == 0) {
        std::string digits = trim(data.substr(6));
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        std::uint32_t value = 0;
        for (char c : digits) {
            int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(d);
        }
        return RegValue::number(value);
    }
    if (data.rfind("hex(1):", 0) == 0) {
        auto bytes = parseHexBytes(data.substr(7));
        if (!bytes) return std::nullopt;
        if (!bytes->empty() && bytes->back() == '\0') bytes->pop_back();
        return RegValue::string(*bytes);
    }
    if (data.rfind("hex", 0) == 0) {
        size_t colon = data.find(':');
        if (colon == std::string::npos) return std::nullopt;
        auto bytes = parseHexBytes(data.substr(colon + 1));
        if (!bytes) return std::nullopt;
        return RegValue{RegValue::Type::Other, *bytes, 0};
    }
    return std::nullopt;
}

bool needsHexForm(const std::string& text) {
    for (char c : text)
        if (c == '\n' || c == '\r' || c == '\0') return true;
    return false;
}

std::string formatData(const RegValue& value) {
    char buf[16];
    switch (value.type) {
        case RegValue::Type::Dword:
            std::snprintf(buf, sizeof buf, "dword:%08x", value.dword);
            return buf;
        case RegValue::Type::Other:
            return "hex:" + formatHexBytes(value.text);
        case RegValue::Type::String:
            break;
    }
    if (needsHexForm(value.text)) return "hex(1):" + formatHexBytes(value.text + '\0');
    return quote(value.text);
}

enum class KeyFileRead { Read, Missing, Failed };

// The whole key file. A file that exists but cannot be read whole is Failed, never Missing:
// a write must not replace values it could not read.
KeyFileRead readKeyFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? KeyFileRead::Missing : KeyFileRead::Failed;
    char chunk[16384];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0 ? KeyFileRead::Read : KeyFileRead::Failed;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

bool makeParents(const std::string& filePath) {
    for (size_t slash = filePath.find('/', 1); slash != std::string::npos;
         slash = filePath.find('/', slash + 1)) {
        std::string dir = filePath.substr(0, slash);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT, 0644)) {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

void setValue(RegValues& values, const std::string& name, const RegValue& value) {
    if (const RegValue* existing = findRegValue(values, name))
        *const_cast<RegValue*>(existing) = value;
    else
        values.emplace_back(name, value);
}

}  // namespace

const RegValue* findRegValue(const RegValues& values, const std::string& name) {
    for (const auto& [existing, value] : values)
        if (equalsNoCase(existing, name)) return &value;
    return nullptr;
}

RegValues parseRegistryText(const std::string& text) {
    RegValues values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '[' || line[0] == ';' || line == kHeader) continue;
        size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else {
            auto quoted = readQuoted(line, pos);
            if (!quoted) continue;
            name = *quoted;
        }
        std::string rest = trim(line.substr(pos));
        if (rest.empty() || rest[0] != '=') continue;
        auto value = parseData(trim(rest.substr(1)));
        if (!value) continue;
        setValue(values, name, *value);
    }
    return values;
}

std::string formatRegistryText(const std::string& keyPath, const RegValues& values) {
    std::string out = std::string(kHeader) + "\n\n[HKEY_LOCAL_MACHINE\\" + keyPath + "]\n";
    for (const auto& [name, value] : values) {
        out += (name.empty() ? std::string("@") : quote(name)) + "=" + formatData(value) + "\n";
    }
    return out;
}

RegistryRoot::RegistryRoot(std::string configDir)
    : location_(std::move(configDir) + "/registry/HKEY_LOCAL_MACHINE") {}

std::string RegistryRoot::keyFile(const std::string& keyPath) const {
    std::string relative;
    for (char c : keyPath) relative += (c == '\\') ? '/' : c;
    while (!relative.empty() && relative.back() == '/') relative.pop_back();
    return location_ + "/" + relative + ".reg";
}

RegValues RegistryRoot::readAll(const std::string& keyPath) const {
    std::string text;
    if (readKeyFile(keyFile(keyPath), text) != KeyFileRead::Read) return {};
    return parseRegistryText(text);
}

std::optional<RegValue> RegistryRoot::read(const std::string& keyPath,
                                           const std::string& name) const {
    RegValues values = readAll(keyPath);
    if (const RegValue* value = findRegValue(values, name)) return *value;
    return std::nullopt;
}

bool RegistryRoot::write(const std::string& keyPath, const RegValues& values) const {
    return update(keyPath, [&](const RegValues&) { return values; });
}

bool RegistryRoot::update(const std::string& keyPath, const RegChange& change) const {
    std::string file = keyFile(keyPath);
    if (!makeParents(file)) return false;
    FileLock lock(file + ".lock");
    if (!lock.held()) return false;
    std::string text;
    const KeyFileRead stored = readKeyFile(file, text);
    if (stored == KeyFileRead::Failed) return false;
    RegValues merged = stored == KeyFileRead::Read ? parseRegistryText(text) : RegValues{};
    const std::optional<RegValues> values = change(merged);
    if (!values) return false;
    for (const auto& [name, value] : *values) setValue(merged, name, value);
    return replaceFile(file, formatRegistryText(keyPath, merged));
}

}  // namespace platform
