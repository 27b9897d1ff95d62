// Plugs a drive in and pulls it out as the system's mount manager does: the volume's letter goes
// (its device printed) or is given back, and every program is told with WM_DEVICECHANGE.
// Usage: drive_letter.exe take LETTER          prints the device the letter stood for
//        drive_letter.exe give LETTER DEVICE
#include <windows.h>
// dbt.h needs the types of windows.h.
#include <dbt.h>

#include <cstdio>
#include <cstring>

namespace {

bool announce(WPARAM event, char letter) {
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = DWORD{1} << (letter - 'A');
    DWORD recipients = BSM_APPLICATIONS;
    return ::BroadcastSystemMessageA(BSF_FORCEIFHUNG | BSF_QUERY, &recipients, WM_DEVICECHANGE,
                                     event, reinterpret_cast<LPARAM>(&volume)) > 0;
}

int failed(const char* what) {
    std::fprintf(stderr, "drive_letter: %s failed (%lu)\n", what, ::GetLastError());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool take = argc == 3 && std::strcmp(argv[1], "take") == 0;
    const bool give = argc == 4 && std::strcmp(argv[1], "give") == 0;
    const char letter = argc >= 3 ? static_cast<char>(argv[2][0] & ~0x20) : '\0';
    if ((!take && !give) || letter < 'A' || letter > 'Z') {
        std::fprintf(stderr, "usage: drive_letter.exe take LETTER | give LETTER DEVICE\n");
        return 2;
    }
    const char name[] = {letter, ':', '\0'};
    if (give) {
        if (!::DefineDosDeviceA(DDD_RAW_TARGET_PATH, name, argv[3]))
            return failed("giving the letter");
        return announce(DBT_DEVICEARRIVAL, letter) ? 0 : failed("the broadcast");
    }
    char device[MAX_PATH] = {};
    if (!::QueryDosDeviceA(name, device, sizeof device))
        return failed("finding the letter's device");
    if (!::DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH | DDD_EXACT_MATCH_ON_REMOVE,
                            name, device))
        return failed("taking the letter");
    std::printf("%s\n", device);
    return announce(DBT_DEVICEREMOVECOMPLETE, letter) ? 0 : failed("the broadcast");
}
