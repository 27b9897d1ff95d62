#include "platform/profile_string.h"

#include "platform/strings.h"

#include <cctype>
#include <sstream>

namespace platform {
namespace {

std::string unquote(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::string profileStringFromText(const std::string& section, const std::string& key,
                                  const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool inSection = false;
    bool sectionSeen = false;
    while (std::getline(lines, line)) {
        std::string trimmed = trim(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        if (trimmed[0] == '[') {
            size_t close = trimmed.find(']');
            std::string name = trim(trimmed.substr(1, close == std::string::npos ? std::string::npos
                                                                                   : close - 1));
            // Only the first section of a name counts.
            if (inSection) return {};
            inSection = !sectionSeen && equalsNoCase(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        size_t equals = trimmed.find('=');
        if (equals == std::string::npos) continue;
        if (equalsNoCase(trim(trimmed.substr(0, equals)), key))
            return unquote(trim(trimmed.substr(equals + 1)));
    }
    return {};
}

}  // namespace platform
