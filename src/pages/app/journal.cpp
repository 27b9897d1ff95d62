#include "pages/app/journal.h"

#include <cstring>

namespace twk {

Q_LOGGING_CATEGORY(lcMail, platform::reasonCategory(platform::ReasonTopic::Mail))
Q_LOGGING_CATEGORY(lcSettings, platform::reasonCategory(platform::ReasonTopic::Settings))
Q_LOGGING_CATEGORY(lcReports, platform::reasonCategory(platform::ReasonTopic::Reports))
Q_LOGGING_CATEGORY(lcUpdate, platform::reasonCategory(platform::ReasonTopic::Update))

namespace {

QtMessageHandler qtHandler = nullptr;

const QLoggingCategory& categoryOf(platform::ReasonTopic topic) {
    switch (topic) {
        case platform::ReasonTopic::Mail:
            return lcMail();
        case platform::ReasonTopic::Settings:
            return lcSettings();
        case platform::ReasonTopic::Reports:
            return lcReports();
        case platform::ReasonTopic::Update:
            return lcUpdate();
    }
    return lcSettings();
}

bool isOwnCategory(const char* category) {
    return category && std::strncmp(category, "tarnwick.", 9) == 0;
}

// Qt's own switch for sending every message to standard error holds for these too.
bool forcedToStandardError() {
    static const bool forced = qEnvironmentVariableIntValue("QT_FORCE_STDERR_LOGGING") != 0;
    return forced;
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (isOwnCategory(context.category) && !forcedToStandardError())
        platform::writeSystemLog(context.category, message.toUtf8().toStdString());
    else if (qtHandler)
        qtHandler(type, context, message);
}

}  // namespace

QtJournal::QtJournal() {
    qtHandler = qInstallMessageHandler(handleMessage);
    platform::setReasonSink(this);
}

QtJournal::~QtJournal() {
    platform::setReasonSink(nullptr);
    qInstallMessageHandler(qtHandler);
}

void QtJournal::write(platform::ReasonTopic topic, const std::string& reason) {
    qCWarning(categoryOf(topic)).noquote() << QString::fromLocal8Bit(reason);
}

}  // namespace twk
