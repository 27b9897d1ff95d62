#include "platform/reasons.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<ReasonSink*> installedSink{nullptr};

}  // namespace

const char* reasonCategory(ReasonTopic topic) {
    switch (topic) {
        case ReasonTopic::Mail:
            return "tarnwick.mail";
        case ReasonTopic::Settings:
            return "tarnwick.settings";
        case ReasonTopic::Reports:
            return "tarnwick.reports";
        case ReasonTopic::Update:
            return "tarnwick.update";
    }
    return "tarnwick";
}

void setReasonSink(ReasonSink* sink) { installedSink.store(sink); }

void logReason(ReasonTopic topic, const std::string& reason) {
    if (ReasonSink* sink = installedSink.load()) sink->write(topic, reason);
}

}  // namespace platform
