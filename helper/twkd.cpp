// The C entry points: thin wrappers over the machine's roots that never let an exception cross
// the boundary.
#include "twkd.h"

#include <algorithm>
#include <cstring>

#include "helper/drive_description.h"
#include "helper/machine_roots.h"
#include "helper/send_mail.h"

extern "C" {

TWKD_API int16_t TWKD_CALL SendMailOut(const char* recipient, const char* subject, const char* body,
                                       const char* attachment) {
    if (!recipient || !subject || !body || !attachment)
        return twkd::failedBecause(twkd::kMailBadArgument, "a text was missing");
    try {
        const platform::Roots roots = twkd::machineRoots();
        return twkd::sendMail(twkd::readMailSettings(roots),
                              {recipient, subject, body, attachment});
    } catch (...) {
        return twkd::failedBecause(twkd::kMailNotDelivered, "the attempt failed unexpectedly");
    }
}

TWKD_API int32_t TWKD_CALL GetMailOutReason(char* buffer, int32_t size) {
    const std::string& reason = twkd::lastMailReason();
    if (buffer && size > 0) {
        const std::size_t copied = std::min(reason.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(buffer, reason.data(), copied);
        buffer[copied] = '\0';
    }
    return static_cast<int32_t>(reason.size());
}

TWKD_API int16_t TWKD_CALL GetDriveInfoByPath(char* root, char* buffer) {
    try {
        return twkd::writeDriveInfo(twkd::machineRoots(), root, buffer);
    } catch (...) {
        return 0;
    }
}
}
