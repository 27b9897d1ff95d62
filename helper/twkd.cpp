// The C entry points: thin wrappers over the machine's roots that never let an exception cross
// the boundary.
#include "twkd.h"

#include "helper/drive_description.h"
#include "helper/machine_roots.h"
#include "helper/send_mail.h"

extern "C" {

TWKD_API int16_t TWKD_CALL SendMailOut(const char* recipient, const char* subject, const char* body,
                                       const char* attachment) {
    if (!recipient || !subject || !body || !attachment) return twkd::kMailBadArgument;
    try {
        const platform::Roots roots = twkd::machineRoots();
        return twkd::sendMail(twkd::readMailSettings(roots),
                              {recipient, subject, body, attachment});
    } catch (...) {
        return twkd::kMailNotDelivered;
    }
}

TWKD_API int16_t TWKD_CALL GetDriveInfoByPath(char* root, char* buffer) {
    try {
        return twkd::writeDriveInfo(twkd::machineRoots(), root, buffer);
    } catch (...) {
        return 0;
    }
}
}
