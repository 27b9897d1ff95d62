#include <dlfcn.h>

#include "platform/dynamic_library.h"

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path)
    : handle_(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

DynamicLibrary::~DynamicLibrary() {
    if (handle_) ::dlclose(handle_);
}

void* DynamicLibrary::symbol(const char* name) const {
    return handle_ ? ::dlsym(handle_, name) : nullptr;
}

std::string DynamicLibrary::fileName(const std::string& name) { return "lib" + name + ".so"; }

}  // namespace platform
