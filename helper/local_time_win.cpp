#include "helper/local_time.h"

namespace twkd {

std::tm localTime(std::time_t when) {
    std::tm local{};
    ::localtime_s(&local, &when);
    return local;
}

}  // namespace twkd
