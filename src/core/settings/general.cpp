#include "core/settings/general.h"

#include "platform/files.h"

namespace twk::General {

VbBool DirExists(const std::string& path) { return toVb(platform::dirExists(path)); }

VbBool FileExists(const std::string& path) { return toVb(platform::fileExists(path)); }

}  // namespace twk::General
