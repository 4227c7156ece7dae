#pragma once
// Reads back the paragraphs of an RTF document such as toRtf() writes: text (Windows-1251,
// from \'xx escapes and plain characters) and the colour, bold, italic and height in force at
// the paragraph's end. Destinations such as the font table are skipped; the colour table is
// used. Meant for checking saved reports in tests, not for arbitrary documents.
#include "script/ReportDocument.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex::test_support {

// No value when the text is not an RTF group or its braces do not balance.
std::optional<std::vector<script::ReportLine>> readRtf(const std::string& rtf);

// The lines as the RTF file keeps them: heights limited to what is shown.
std::vector<script::ReportLine> shownLines(std::vector<script::ReportLine> lines);

} // namespace quorvex::test_support
