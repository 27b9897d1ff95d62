// Saves the settings over and over, each save a new generation, until it is killed. Each
// generation writes every value with the same marker so a reader can tell a mix; generations
// count up from FIRST_GENERATION (default 0), so a reader can also tell an older store.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/settings/main_op.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: settings_writer CONFIG_DIR [FIRST_GENERATION]\n");
        return 2;
    }
    const long long first = argc > 2 ? std::atoll(argv[2]) : 0;
    twk::MainOp settings(twk::Regedit::RootKey(argv[1]), "/opt/tarnwick");
    for (long long generation = first;; ++generation) {
        const std::string marker = std::to_string(generation);
        for (std::string* value :
             {&settings.lang, &settings.isSaveReport, &settings.DirRep, &settings.DirQuar,
              &settings.isStartWind, &settings.isSendRep, &settings.Recip, &settings.Shed,
              &settings.Time, &settings.EW, &settings.EM, &settings.isGuard}) {
            // Long values make a torn write more likely to show.
            *value = marker + std::string(200, 'x') + marker;
        }
        if (!settings.Save()) return 1;
    }
}
