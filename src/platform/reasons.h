#pragma once

#include <string>

namespace platform {

// Why something the user was only told failed, for an administrator to read later: written to
// the system's log, never shown. A reason never holds a password or a message's text.
enum class ReasonTopic { Mail, Settings, Reports, Update };

// The name a topic is filed under ("tarnwick.mail").
const char* reasonCategory(ReasonTopic topic);

// Where reasons go; the program installs one at start (Qt: its logging categories; Win32: the
// debugger output). Called from any thread.
class ReasonSink {
public:
    virtual ~ReasonSink() = default;
    virtual void write(ReasonTopic topic, const std::string& reason) = 0;
};

// Installs sink for the rest of the process; none (the default) drops reasons.
void setReasonSink(ReasonSink* sink);
void logReason(ReasonTopic topic, const std::string& reason);

// Writes one line "category: reason" to the system's log. Linux: the journal, under the
// identifier "tarnwick", or standard error when that is a terminal or no journal runs. Windows:
// the debugger output, and standard error when the process has one.
void writeSystemLog(const std::string& category, const std::string& reason);

// A sink straight into the system's log, for programs without a toolkit of their own.
class SystemLogSink : public ReasonSink {
public:
    void write(ReasonTopic topic, const std::string& reason) override {
        writeSystemLog(reasonCategory(topic), reason);
    }
};

}  // namespace platform
