#pragma once

#include <string>

namespace platform {

// Reads one key of an INI file with the platform's rules (Windows: GetPrivateProfileStringA
// itself; Linux: our reader keeping the same rules): section and key names without regard
// to case, blanks around the value dropped, one pair of enclosing double quotes dropped, lines
// starting with ';' are comments, the first matching section and key win. The result is cut to
// maxChars bytes; a missing file, section or key gives empty text.
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& file, size_t maxChars);

// Our reader's lookup over text already in memory.
std::string profileStringFromText(const std::string& section, const std::string& key,
                                  const std::string& text);

}  // namespace platform
