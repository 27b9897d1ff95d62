// Drives described by the system: vendor and product from the storage query, the volume's size
// and label from the file system.
#include <windows.h>
#include <winioctl.h>

#include <cstring>

#include "helper/drive_description.h"
#include "platform/strings.h"

namespace twkd {
namespace {

constexpr DWORD kAnswerBytes = 1024;

bool isDriveRoot(const std::string& root) {
    return root.size() == 3 && root[0] >= 'A' && root[0] <= 'Z' && root[1] == ':' &&
           root[2] == '\\';
}

// A NUL-terminated text at offset within the answer's first size bytes; blanks pad them.
std::string answerText(const char* answer, DWORD size, DWORD offset) {
    if (offset == 0 || offset >= size) return {};
    const char* text = answer + offset;
    return platform::trim(std::string(text, strnlen(text, size - offset)));
}

// Vendor and product as the drive reports them; false when the system has no such device.
bool queryProduct(const std::string& root, DriveFacts& facts) {
    // No access asked for: the query needs none, so no administrator rights either.
    const std::string device = "\\\\.\\" + root.substr(0, 2);
    HANDLE handle = ::CreateFileA(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    alignas(STORAGE_DEVICE_DESCRIPTOR) char answer[kAnswerBytes] = {};
    DWORD size = 0;
    const bool answered = ::DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query,
                                            sizeof query, answer, sizeof answer, &size, nullptr);
    ::CloseHandle(handle);
    if (!answered || size < sizeof(STORAGE_DEVICE_DESCRIPTOR)) return false;
    const auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(answer);
    facts.vendor = answerText(answer, size, descriptor->VendorIdOffset);
    facts.model = answerText(answer, size, descriptor->ProductIdOffset);
    return true;
}

void queryVolume(const std::string& root, DriveFacts& facts) {
    ULARGE_INTEGER total{};
    if (::GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr) && total.QuadPart > 0)
        facts.bytes = total.QuadPart;
    char label[MAX_PATH + 1] = {};
    if (::GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                                nullptr, 0))
        facts.label = label;
}

}  // namespace

std::optional<std::string> describeDrive(const platform::Roots&, const std::string& root) {
    if (!isDriveRoot(root)) return std::nullopt;
    // A card reader without a card must not make the system ask to insert one.
    DWORD previousMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    DriveFacts facts;
    const bool described = queryProduct(root, facts);
    if (described) queryVolume(root, facts);
    ::SetThreadErrorMode(previousMode, nullptr);
    if (!described) return std::nullopt;
    facts.fallbackName = root.substr(0, 2);
    return composeDescription(facts);
}

}  // namespace twkd
