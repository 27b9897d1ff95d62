#include <windows.h>

#include "platform/text.h"

namespace platform {

size_t characterCount(const std::string& text) {
    // One byte per character in the ANSI code page, two for the lead and trail bytes of a
    // double-byte code page.
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i, ++count) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size()) ++i;
    }
    return count;
}

}  // namespace platform
