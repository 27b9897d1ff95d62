// A stand-in for the helper library on Windows with the same two entry points and calling
// convention and answers a test can predict, for the tests of the program's loading and calling.
#include <windows.h>

#include <cstring>

#include "helper/twkd.h"

namespace {

bool fileThere(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

// 0 (sent) for a recipient with an '@', a subject and body, and an attachment that is either
// none or an existing file; 1 otherwise.
extern "C" TWKD_API int16_t TWKD_CALL SendMailOut(const char* recipient, const char* subject,
                                                  const char* body, const char* attachment) {
    const bool usable = std::strchr(recipient, '@') != nullptr && *subject != '\0' &&
                        *body != '\0' && (*attachment == '\0' || fileThere(attachment));
    return usable ? 0 : 1;
}

// 1 with "Stand-in <root>" for a removable drive; 0 for any other root. The root "probe" is
// answered by rewriting the root itself, so a caller can show it reads both strings back.
extern "C" TWKD_API int16_t TWKD_CALL GetDriveInfoByPath(char* root, char* buffer) {
    if (std::strcmp(root, "probe") == 0) {
        std::memcpy(root, "PROBE", 5);
        std::strcpy(buffer, "probed");
        return 1;
    }
    if (::GetDriveTypeA(root) != DRIVE_REMOVABLE) return 0;
    std::strcpy(buffer, "Stand-in ");
    std::strncat(buffer, root, 200);
    return 1;
}
