#include <fstream>
#include <sstream>

#include "platform/profile_string.h"

namespace platform {

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& file, size_t maxChars) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream buffer;
    buffer << in.rdbuf();
    std::string value = profileStringFromText(section, key, buffer.str());
    if (value.size() > maxChars) value.resize(maxChars);
    return value;
}

}  // namespace platform
