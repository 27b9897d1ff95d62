#include "pages/app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "core/i18n/lang_op.h"
#include "pages/app/qt_text.h"

namespace twk {

QtTranslations::~QtTranslations() { QCoreApplication::removeTranslator(&translator_); }

void QtTranslations::follow(const LangOp& captions) {
    QCoreApplication::removeTranslator(&translator_);
    if (captions.lfm_locale.empty()) return;
    if (translator_.load(QStringLiteral("qtbase_") + qs(captions.lfm_locale),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator_);
}

}  // namespace twk
