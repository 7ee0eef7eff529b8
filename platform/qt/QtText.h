#pragma once
// UTF-16 text between the toolkit-free code and Qt.

#include <QString>
#include <string>
#include <string_view>

namespace tavrel::ui::qt {

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace tavrel::ui::qt
