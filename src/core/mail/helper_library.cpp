#include "core/mail/helper_library.h"

#include <algorithm>
#include <vector>

#include "helper/twkd.h"
#include "platform/dynamic_library.h"
#include "platform/roots.h"

namespace twk {
namespace {

using SendMailOutFn = decltype(&::SendMailOut);
using GetDriveInfoByPathFn = decltype(&::GetDriveInfoByPath);

constexpr size_t kDriveBufferChars = 255;

}  // namespace

LoadedHelperLibrary::LoadedHelperLibrary(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

LoadedHelperLibrary::~LoadedHelperLibrary() = default;

void* LoadedHelperLibrary::symbol(const char* name) {
    if (!library_) {
        library_ = std::make_unique<platform::DynamicLibrary>(
            platform::joinPath(programFolder_, platform::DynamicLibrary::fileName("twkd")));
    }
    return library_->symbol(name);
}

std::int16_t LoadedHelperLibrary::SendMailOut(const std::string& recipient,
                                              const std::string& subject, const std::string& body,
                                              const std::string& attachment) {
    auto send = reinterpret_cast<SendMailOutFn>(symbol("SendMailOut"));
    if (!send) return kFailed;
    return send(recipient.c_str(), subject.c_str(), body.c_str(), attachment.c_str());
}

std::int16_t LoadedHelperLibrary::GetDriveInfoByPath(std::string& root, std::string& buffer) {
    auto describe = reinterpret_cast<GetDriveInfoByPathFn>(symbol("GetDriveInfoByPath"));
    if (!describe) return kFailed;
    // The library may write into both strings: hand it copies with room and read them back.
    std::vector<char> rootCopy(root.begin(), root.end());
    rootCopy.push_back('\0');
    std::vector<char> bufferCopy(buffer.begin(), buffer.end());
    bufferCopy.resize(std::max(bufferCopy.size(), kDriveBufferChars), ' ');
    bufferCopy.push_back('\0');
    std::int16_t result = describe(rootCopy.data(), bufferCopy.data());
    root.assign(rootCopy.data(), rootCopy.size() - 1);
    buffer.assign(bufferCopy.data(), bufferCopy.size() - 1);
    return result;
}

}  // namespace twk
