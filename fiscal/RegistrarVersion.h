#pragma once
// Which registrars keep copies of their receipts, by the first field of the diagnostic answer.
#include <string>

namespace quorvex::fiscal {

// True when the field holds "5.00", "4.00" or "4.01" anywhere in it.
[[nodiscard]] bool keepsReceiptCopies(const std::string& firstDiagnosticField);

} // namespace quorvex::fiscal
