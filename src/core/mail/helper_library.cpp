#include "core/mail/helper_library.h"

#include <algorithm>
#include <vector>

#include "helper/twkd.h"
#include "platform/dynamic_library.h"
#include "platform/reasons.h"
#include "platform/roots.h"

namespace twk {
namespace {

using SendMailOutFn = decltype(&::SendMailOut);
using GetDriveInfoByPathFn = decltype(&::GetDriveInfoByPath);
using GetMailOutReasonFn = decltype(&::GetMailOutReason);

constexpr size_t kDriveBufferChars = 255;
constexpr std::int32_t kReasonBytes = 4096;

// The recipient names which mail it was; subject and body, the user's own words, stay out.
std::string notSentReason(const std::string& recipient, std::int16_t answer,
                          const std::string& why) {
    std::string text =
        "mail to " + recipient + " not sent: the helper library answered " + std::to_string(answer);
    if (!why.empty()) text += ": " + why;
    return text;
}

}  // namespace

LoadedHelperLibrary::LoadedHelperLibrary(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

LoadedHelperLibrary::~LoadedHelperLibrary() = default;

std::string LoadedHelperLibrary::libraryPath() const {
    return platform::joinPath(programFolder_, platform::DynamicLibrary::fileName("twkd"));
}

void* LoadedHelperLibrary::symbol(const char* name) {
    if (!library_) library_ = std::make_unique<platform::DynamicLibrary>(libraryPath());
    return library_->symbol(name);
}

// What the helper library says about its last failed send, or nothing when it cannot say.
std::string LoadedHelperLibrary::mailOutReason() {
    auto reason = reinterpret_cast<GetMailOutReasonFn>(symbol("GetMailOutReason"));
    if (!reason) return {};
    std::vector<char> text(kReasonBytes, '\0');
    reason(text.data(), kReasonBytes);
    return text.data();
}

std::int16_t LoadedHelperLibrary::SendMailOut(const std::string& recipient,
                                              const std::string& subject, const std::string& body,
                                              const std::string& attachment) {
    auto send = reinterpret_cast<SendMailOutFn>(symbol("SendMailOut"));
    if (!send) {
        platform::logReason(platform::ReasonTopic::Mail,
                            "mail to " + recipient + " not sent: the helper library " +
                                libraryPath() + " could not be loaded");
        return kFailed;
    }
    const std::int16_t answer =
        send(recipient.c_str(), subject.c_str(), body.c_str(), attachment.c_str());
    if (answer != 0)
        platform::logReason(platform::ReasonTopic::Mail,
                            notSentReason(recipient, answer, mailOutReason()));
    return answer;
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
