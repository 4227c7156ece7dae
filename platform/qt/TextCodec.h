#pragma once
// Windows-1251 <-> QString, at the widget and terminal boundary (Qt's ICU-backed codecs).
#include <QString>
#include <string>

namespace quorvex::platform {

QString fromCp1251(const std::string& bytes);
std::string toCp1251(const QString& text);

// For showing protocol bytes in a widget: as fromCp1251, but every control byte below 0x20
// becomes its visible control picture (U+2400 + byte: SOH as U+2401, ETX as U+2403). Only the
// display changes; logs and files keep the bytes.
QString fromCp1251Visible(const std::string& bytes);
// The bytes a text shown by fromCp1251Visible stands for: control pictures back to their bytes.
std::string toCp1251FromVisible(const QString& text);

} // namespace quorvex::platform

namespace quorvex::platform {

// File paths are bytes in the file system's own encoding (UTF-8 on Linux, Windows-1251 on a
// Russian Windows), which is what the file dialogs return; these convert them for display.
QString fromFileName(const std::string& path);
std::string toFileName(const QString& path);

} // namespace quorvex::platform
