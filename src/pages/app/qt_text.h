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

inline QColor toQColor(ColorRef color) { return QColor(redOf(color), greenOf(color), blueOf(color)); }
inline ColorRef toColorRef(const QColor& color) {
    return rgb(color.red(), color.green(), color.blue());
}

}  // namespace twk
