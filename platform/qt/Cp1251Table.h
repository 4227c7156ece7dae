#pragma once
// Table-based Windows-1251 conversion: the fallback where Qt has no "windows-1251" codec, and
// the reference the codec is checked against.
#include <QString>
#include <string>

namespace quorvex::platform {

QString fromCp1251ByTable(const std::string& bytes);
// Characters without a Windows-1251 byte become '?'.
std::string toCp1251ByTable(const QString& text);

} // namespace quorvex::platform
