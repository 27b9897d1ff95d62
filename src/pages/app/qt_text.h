#pragma once

#include <QColor>
#include <QString>
#include <string>

#include "core/app/colors.h"

namespace twk {

// The core keeps 8-bit text in the system code page; widgets take QString.
inline QString qs(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string local8(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
// The bytes a widget's text stands for when the widget was filled with qs(original): original
// itself while the text is unchanged, so that bytes that are no text in the system code page
// (a Latin-1 byte on a UTF-8 system) survive being shown and taken back; otherwise the text's
// own bytes.
inline std::string local8Kept(const QString& text, const std::string& original) {
    return text == qs(original) ? original : local8(text);
}

inline QColor toQColor(ColorRef color) {
    return QColor(redOf(color), greenOf(color), blueOf(color));
}
inline ColorRef toColorRef(const QColor& color) {
    return rgb(color.red(), color.green(), color.blue());
}

}  // namespace twk
