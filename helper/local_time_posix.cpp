#include "helper/local_time.h"

namespace twkd {

std::tm localTime(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    return local;
}

}  // namespace twkd
