#include <sys/stat.h>

#include "helper/mail_settings.h"

namespace twkd {

std::string mailSettingsFile(const platform::Roots& roots) {
    return platform::joinPath(platform::joinPath(roots.configDir, "Brindle"), "twkd.ini");
}

bool isReadableByOthers(const std::string& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && (status.st_mode & S_IROTH) != 0;
}

}  // namespace twkd
