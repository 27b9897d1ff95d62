#pragma once

#include <QLoggingCategory>

#include "platform/reasons.h"

namespace twk {

Q_DECLARE_LOGGING_CATEGORY(lcMail)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcReports)
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)

// The program's reasons as warnings of its logging categories (tarnwick.mail, tarnwick.settings,
// tarnwick.reports, tarnwick.update), so QT_LOGGING_RULES can silence them, and those warnings
// into the system's log (the journal). Other messages keep Qt's own handling. For the program's
// lifetime: one at a time.
class QtJournal : public platform::ReasonSink {
public:
    QtJournal();
    ~QtJournal() override;
    QtJournal(const QtJournal&) = delete;
    QtJournal& operator=(const QtJournal&) = delete;

    void write(platform::ReasonTopic topic, const std::string& reason) override;
};

}  // namespace twk
