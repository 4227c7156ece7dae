#pragma once
// The non-fiscal receipt window's lines and their printing. A line is "P:" and a comment,
// "L" and a separator type 1..3, or "B", a barcode type 1..5, ":" and the barcode data.
#include <string>
#include <vector>

namespace quorvex::fiscal {

class NonFiscalLines {
public:
    // Each adds one line and returns nullptr, or returns the message that refuses it.
    // A type of 0 means that none is chosen.
    const char* addComment(const std::string& text);
    const char* addSeparator(int separatorType);
    const char* addBarcode(int barcodeType, const std::string& data);
    void clear() { m_lines.clear(); }

    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

// Opens a non-fiscal receipt, prints every line and closes it, on the process's link; stops at
// the first line that fails, leaving the receipt open. Messages go through the process's
// dialogs. True when the receipt was closed.
bool printNonFiscalReceipt(const std::vector<std::string>& lines);
// Closes a non-fiscal receipt and says whether that succeeded.
bool closeNonFiscalReceipt();

} // namespace quorvex::fiscal
