// Conversions between the system's UTF-8 texts and Qt's strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace merilon::qt {

inline QString toQt(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string fromQt(const QString& s) { return s.toStdString(); }

}  // namespace merilon::qt
