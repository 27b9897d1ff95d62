#pragma once

#include <string>

namespace platform {

// A shared library loaded by path and kept loaded until destruction.
class DynamicLibrary {
public:
    explicit DynamicLibrary(const std::string& path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    // The exported symbol, or null.
    void* symbol(const char* name) const;

    // The file name of a library called name on this platform ("libname.so").
    static std::string fileName(const std::string& name);

private:
    void* handle_ = nullptr;
};

}  // namespace platform
