#include "support/scoped_env.h"

#include <cstdlib>

namespace twk::test {
namespace {

void setVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value.c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

void unsetVariable(const std::string& name) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), "");  // an empty value removes the variable there
#else
    ::unsetenv(name.c_str());
#endif
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) {
        hadValue_ = true;
        oldValue_ = old;
    }
    setVariable(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (hadValue_)
        setVariable(name_, oldValue_);
    else
        unsetVariable(name_);
}

}  // namespace twk::test
