#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/app/app_context.h"
#include "pages/app/tray_backend.h"

namespace twk::tools {

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
