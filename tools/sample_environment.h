#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/app/app_context.h"
#include "core/protection/drive_panel.h"
#include "pages/app/tray_backend.h"

namespace twk::tools {

// A few removable drives with the names people give them.
class SampleDrives : public DriveSource {
public:
    explicit SampleDrives(int count);
    std::vector<std::string> roots() override;
    platform::DriveType type(const std::string& root) override;

private:
    std::vector<std::string> roots_;
};

// A program environment for pictures and demonstrations: a private settings store, sample
// reports, sample drives, and services that never block.
class SampleEnvironment {
public:
    explicit SampleEnvironment(const std::string& language);
    ~SampleEnvironment();

    AppContext& context() { return *context_; }
    TrayBackend& tray() { return *tray_; }

private:
    class Services;
    QTemporaryDir folder_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<TrayBackend> tray_;
};

}  // namespace twk::tools
