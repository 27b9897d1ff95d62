// The C entry points: thin wrappers that take the machine's roots and configuration from the
// environment and never let an exception cross the boundary.
#include "twkd.h"

#include "helper/drive_description.h"
#include "helper/send_mail.h"

extern "C" {

TWKD_API int16_t TWKD_CALL SendMailOut(const char* recipient, const char* subject, const char* body,
                                       const char* attachment) {
    if (!recipient || !subject || !body || !attachment) return twkd::kMailBadArgument;
    try {
        const platform::Roots roots = platform::Roots::fromEnvironment();
        return twkd::sendMail(twkd::readMailSettings(roots),
                              {recipient, subject, body, attachment});
    } catch (...) {
        return twkd::kMailNotDelivered;
    }
}

TWKD_API int16_t TWKD_CALL GetDriveInfoByPath(char* root, char* buffer) {
    try {
        return twkd::writeDriveInfo(platform::Roots::fromEnvironment(), root, buffer);
    } catch (...) {
        return 0;
    }
}
}
