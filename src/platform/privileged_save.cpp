#include "platform/privileged_save.h"

#include "platform/reasons.h"

namespace platform {

void noteSettingsHelperStatus(int status) {
    switch (status) {
        case kHelperWritten:
            return;
        case kHelperRefused:
            logReason(ReasonTopic::Settings, "the settings helper refused the save request");
            return;
        case kHelperNotWritten:
            logReason(ReasonTopic::Settings, "the settings helper could not write the store");
            return;
        default:
            logReason(ReasonTopic::Settings,
                      "the settings helper ended with status " + std::to_string(status));
    }
}

}  // namespace platform
