#pragma once

#include <QTranslator>

namespace twk {

class LangOp;

// Qt's own texts (dialog buttons, the file dialog) in the language the captions are in, from the
// system's Qt translations.
class QtTranslations {
public:
    ~QtTranslations();
    // Replaces the translations in use by those of the captions' language; English, or a
    // language whose translations are not installed, leaves Qt's English.
    void follow(const LangOp& captions);

private:
    QTranslator translator_;
};

}  // namespace twk
