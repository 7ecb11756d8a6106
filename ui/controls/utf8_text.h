#pragma once

// Paths and names travel through core and the platform as UTF-8; the windows show QStrings.

#include <QString>

#include <string>
#include <string_view>

namespace ui {

inline QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toUtf8(const QString& text) {
    return text.toStdString();
}

} // namespace ui
