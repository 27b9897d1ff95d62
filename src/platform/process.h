#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Linux only. Starts argv[0] (an absolute path) with the rest as its arguments and this
// process's environment, gives it input on its standard input, closes that and waits for it to
// end. Answers its exit status, or nothing when it could not be started or was ended by a
// signal.
std::optional<int> runProgram(const std::vector<std::string>& argv, const std::string& input);

}  // namespace platform
