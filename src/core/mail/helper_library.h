#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class DynamicLibrary;
}

namespace twk {

// The outside helper library: sends every e-mail and describes removable drives. Every caller
// goes through this interface; tests script it.
class HelperLibrary {
public:
    virtual ~HelperLibrary() = default;
    // 0 means sent; any other value means not sent. An empty attachment means none.
    virtual std::int16_t SendMailOut(const std::string& recipient, const std::string& subject,
                                     const std::string& body, const std::string& attachment) = 0;
    // buffer is 255 spaces on entry; on success (1) its text up to the first NUL describes the
    // drive. The library may rewrite both strings.
    virtual std::int16_t GetDriveInfoByPath(std::string& root, std::string& buffer) = 0;
};

// The real library, loaded by name from the program folder on first use. A missing library or
// symbol answers like a failed call. Why a send failed goes to the journal.
class LoadedHelperLibrary : public HelperLibrary {
public:
    explicit LoadedHelperLibrary(std::string programFolder);
    ~LoadedHelperLibrary() override;

    std::int16_t SendMailOut(const std::string& recipient, const std::string& subject,
                             const std::string& body, const std::string& attachment) override;
    std::int16_t GetDriveInfoByPath(std::string& root, std::string& buffer) override;

    static constexpr std::int16_t kFailed = -1;

private:
    std::string libraryPath() const;
    void* symbol(const char* name);
    std::string mailOutReason();

    std::string programFolder_;
    std::unique_ptr<platform::DynamicLibrary> library_;
};

}  // namespace twk
