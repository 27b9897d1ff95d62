#include "support/system_text.h"

namespace twk::test {

std::string systemText(const std::string& utf8) { return utf8; }

}  // namespace twk::test
