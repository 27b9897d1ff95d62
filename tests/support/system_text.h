#pragma once

#include <string>

namespace twk::test {

// Text (given in UTF-8, as the sources are) in the system code page the program works in:
// unchanged on Linux, whose code page is UTF-8; in the ANSI code page on Windows, where a
// character the code page lacks becomes '?'. One character stays one character either way.
std::string systemText(const std::string& utf8);

}  // namespace twk::test
