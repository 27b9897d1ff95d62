#include "support/python_peer.h"

namespace twk::test {

PythonPeer::PythonPeer(const std::string& script, const std::vector<std::string>& args) {
    std::vector<std::string> command = {"/usr/bin/python3", script};
    command.insert(command.end(), args.begin(), args.end());
    start(command);
    if (!running() && error_.empty()) error_ = script + " did not start";
}

PythonPeer::~PythonPeer() { stop(); }

}  // namespace twk::test
