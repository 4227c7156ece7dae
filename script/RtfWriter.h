#pragma once
// Writes report lines as an RTF 1 document in code page 1251: one paragraph per line, with
// its colour, bold, italic and shown height. Every byte outside printable ASCII is written as \'xx,
// and '\', '{', '}' are escaped, so the file itself is plain ASCII.
#include "script/ReportDocument.h"

#include <string>
#include <system_error>
#include <vector>

namespace quorvex::script {

std::string toRtf(const std::vector<ReportLine>& lines);

// Replaces the file by toRtf(lines), whole or not at all; the error says why it was not.
[[nodiscard]] std::error_code saveRtf(const std::string& fileName,
                                      const std::vector<ReportLine>& lines);

// RTF font size (half points) for a height in pixels at 96 dpi, and back.
int halfPointsForPixels(int heightPx);
int pixelsForHalfPoints(int halfPoints);

} // namespace quorvex::script
