#include <windows.h>

#include "platform/dynamic_library.h"

namespace platform {

DynamicLibrary::DynamicLibrary(const std::string& path) : handle_(::LoadLibraryA(path.c_str())) {}

DynamicLibrary::~DynamicLibrary() {
    if (handle_) ::FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::symbol(const char* name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string DynamicLibrary::fileName(const std::string& name) { return name + ".dll"; }

}  // namespace platform
