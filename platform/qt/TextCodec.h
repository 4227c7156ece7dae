#pragma once
// Windows-1251 <-> QString, at the widget and terminal boundary (Qt's ICU-backed codecs).
#include <QString>
#include <string>

namespace quorvex::platform {

QString fromCp1251(const std::string& bytes);
std::string toCp1251(const QString& text);

}  // namespace quorvex::platform
