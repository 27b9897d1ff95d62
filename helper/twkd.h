#pragma once

// The helper library's C interface. Strings are NUL-terminated 8-bit text in the system code
// page. Results are 16-bit: SendMailOut answers 0 when the server accepted the message;
// GetDriveInfoByPath answers 1 when it wrote a description into buffer (255 bytes of text room
// plus the terminating NUL).
#include <stdint.h>

#if defined(_WIN32)
#define TWKD_API __declspec(dllexport)
#define TWKD_CALL __stdcall
#else
#define TWKD_API __attribute__((visibility("default")))
#define TWKD_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

TWKD_API int16_t TWKD_CALL SendMailOut(const char* recipient, const char* subject, const char* body,
                                       const char* attachment);
TWKD_API int16_t TWKD_CALL GetDriveInfoByPath(char* root, char* buffer);
// Why the calling thread's last SendMailOut did not send: libcurl's or the mail program's own
// words among it, never a password, the subject or the body. Writes it NUL-terminated into
// buffer, cut to fit size bytes, and answers its whole length in bytes; 0 after a success.
TWKD_API int32_t TWKD_CALL GetMailOutReason(char* buffer, int32_t size);

#ifdef __cplusplus
}
#endif
