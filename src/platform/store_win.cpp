#include <windows.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/reasons.h"
#include "platform/store.h"

namespace platform {
namespace {

// A key handle closed on every path.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_) ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The value's type and bytes, asking for the size first so no length is ever cut. A value that
// grows between the two calls is asked for again.
bool queryValue(HKEY key, const std::string& name, DWORD& type, std::string& data) {
    DWORD size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    for (;;) {
        std::vector<BYTE> buffer(size + 1, 0);
        DWORD got = size;
        LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, buffer.data(), &got);
        if (result == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (result != ERROR_SUCCESS) return false;
        data.assign(reinterpret_cast<const char*>(buffer.data()), got);
        return true;
    }
}

RegValue toValue(DWORD type, std::string data) {
    if (type == REG_SZ) {
        // The stored text ends at its first NUL (the terminator, or an early one).
        data.resize(std::min(data.find('\0'), data.size()));
        return RegValue::string(std::move(data));
    }
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<char*>(&number));
        return RegValue::number(number);
    }
    return RegValue::other(type, std::move(data));
}

// Whether the stored text of name holds a letter that this system's code page lacks (written by
// a Unicode program, or under another code page), so that the program read it with question
// marks.
bool holdsLettersTheCodePageLacks(HKEY key, const std::string& name) {
    std::wstring wideName(name.size(), L'\0');
    wideName.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                              wideName.data(), static_cast<int>(wideName.size()))));
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || size < sizeof(wchar_t))
        return false;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (::RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return false;
    text.resize(std::min(text.find(L'\0'), text.size()));
    BOOL lost = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                          nullptr, 0, nullptr, &lost);
    return lost;
}

// Writing back the question-marked copy of such a text, unchanged, would lose it: it is kept.
bool wouldLoseStoredText(HKEY key, const std::string& name, const std::string& text) {
    DWORD type = 0;
    std::string seen;
    return queryValue(key, name, type, seen) && type == REG_SZ &&
           toValue(type, std::move(seen)).text == text && holdsLettersTheCodePageLacks(key, name);
}

bool setValue(HKEY key, const std::string& name, const RegValue& value) {
    switch (value.type) {
        case RegValue::Type::String:
            if (wouldLoseStoredText(key, name, value.text)) {
                logReason(ReasonTopic::Settings,
                          "the setting " + name +
                              " holds letters that this system's language for non-Unicode "
                              "programs lacks; it was kept as it was");
                return true;
            }
            // The text and its NUL: size = length + 1.
            return ::RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.text.c_str()),
                                    static_cast<DWORD>(value.text.size() + 1)) == ERROR_SUCCESS;
        case RegValue::Type::Dword: {
            const DWORD number = value.dword;
            return ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&number),
                                    sizeof number) == ERROR_SUCCESS;
        }
        case RegValue::Type::Other:
            break;
    }
    return ::RegSetValueExA(key, name.c_str(), 0, value.otherType,
                            reinterpret_cast<const BYTE*>(value.text.data()),
                            static_cast<DWORD>(value.text.size())) == ERROR_SUCCESS;
}

// The key path under HKEY_LOCAL_MACHINE, below the stand-in root key when there is one.
std::string fullPath(const std::string& base, const std::string& keyPath) {
    if (base.empty()) return keyPath;
    return keyPath.empty() ? base : base + "\\" + keyPath;
}

}  // namespace

const RegValue* findRegValue(const RegValues& values, const std::string& name) {
    for (const auto& [existing, value] : values)
        if (::lstrcmpiA(existing.c_str(), name.c_str()) == 0) return &value;
    return nullptr;
}

RegistryRoot::RegistryRoot(std::string base) : location_(std::move(base)) {}

void RegistryRoot::clearLeftovers(const std::string&) const {}

std::optional<RegValue> RegistryRoot::read(const std::string& keyPath,
                                           const std::string& name) const {
    OpenKey key;
    // Opening only: a missing key stays missing.
    if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, fullPath(location_, keyPath).c_str(), key.out()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    std::string data;
    if (!queryValue(key.get(), name, type, data)) return std::nullopt;
    return toValue(type, std::move(data));
}

RegValues RegistryRoot::readAll(const std::string& keyPath) const {
    RegValues values;
    OpenKey key;
    if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, fullPath(location_, keyPath).c_str(), key.out()) !=
        ERROR_SUCCESS)
        return values;
    DWORD longestName = 0;
    if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longestName, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::vector<char> name(longestName + 1);
    DWORD index = 0;
    for (;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        LONG result = ::RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, nullptr,
                                      nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {  // a longer name appeared meanwhile
            name.resize(name.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        const std::string valueName(name.data(), nameLength);
        DWORD type = 0;
        std::string data;
        if (queryValue(key.get(), valueName, type, data))
            values.emplace_back(valueName, toValue(type, std::move(data)));
        ++index;
    }
    return values;
}

bool RegistryRoot::update(const std::string& keyPath, const RegChange& change) const {
    // One mutex for every Tarnwick writer of the machine, in every session.
    const HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "Global\\Brindle.Tarnwick.SettingsStore");
    if (!mutex) return false;
    const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
    bool written = false;
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        const std::optional<RegValues> values = change(readAll(keyPath));
        written = values && write(keyPath, *values);
        ::ReleaseMutex(mutex);
    }
    ::CloseHandle(mutex);
    return written;
}

bool RegistryRoot::write(const std::string& keyPath, const RegValues& values) const {
    OpenKey key;
    const std::string path = fullPath(location_, keyPath);
    // Creates the key and every missing parent.
    const LONG created = ::RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), key.out());
    if (created != ERROR_SUCCESS) {
        logReason(ReasonTopic::Settings, "the registry key HKEY_LOCAL_MACHINE\\" + path +
                                             " could not be opened for writing (" +
                                             std::system_category().message(created) + ")");
        return false;
    }
    // The registry has no transaction across values: each is written on its own, and the
    // answer says whether all of them were.
    bool all = true;
    for (const auto& [name, value] : values) all = setValue(key.get(), name, value) && all;
    if (!all)
        logReason(ReasonTopic::Settings,
                  "some values of HKEY_LOCAL_MACHINE\\" + path + " could not be written");
    return all;
}

}  // namespace platform
