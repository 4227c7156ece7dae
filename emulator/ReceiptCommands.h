#pragma once
// Emulated registrar commands: fiscal, return and non-fiscal receipts, articles, sales, payment,
// printing and the customer display. What each command takes, changes and answers is listed in
// emulator/COMMANDS.md.
#include "emulator/DeviceState.h"
#include "emulator/ReceiptMath.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::emulator {

// The customer display: two rows of at most kDisplayWidth characters.
struct DisplayRows {
    std::string upper;
    std::string lower;
    bool operator==(const DisplayRows&) const = default;
};
constexpr int kDisplayWidth = 20;

// One sale, or one correction (negative quantity and amount), of the open receipt.
struct ReceiptLine {
    int code = 0;
    int taxIndex = 0;
    int goodsGroup = 0;
    std::int64_t quantityThousandths = 0;
    std::int64_t amountHundredths = 0; // after its own discount
    bool corrected = false;            // a later correction has taken this sale back
};

// The fiscal or return receipt being run.
struct ReceiptInProgress {
    int operatorNumber = 0;
    std::vector<ReceiptLine> lines;
    TaxSums taxSums{}; // the lines with every discount so far
    std::int64_t paidHundredths = 0;
    std::int64_t cashHundredths = 0; // the part of paidHundredths paid in cash (letter P)
    bool paidInFull = false;
};

// True while a fiscal or a return receipt is open.
[[nodiscard]] bool salesReceiptOpen(const DeviceState& state);

class ReceiptCommands {
public:
    using ReceiptListener = std::function<void(const std::vector<std::string>& printed)>;
    using DisplayListener = std::function<void(const DisplayRows& rows)>;

    // The answer to a command of this family; nullopt for a command it does not know.
    [[nodiscard]] std::optional<ModelAnswer> handle(int command, const std::string& data,
                                                    DeviceState& state);

    [[nodiscard]] const DisplayRows& display() const { return m_display; }
    // The lines printed by the last receipt that ended (closed or cancelled), of any kind.
    [[nodiscard]] const std::vector<std::string>& lastReceipt() const { return m_lastReceipt; }
    // The lines printed so far by the receipt open now; empty when none is.
    [[nodiscard]] const std::vector<std::string>& printing() const { return m_printing; }
    [[nodiscard]] const ReceiptInProgress& receipt() const { return m_receipt; }
    [[nodiscard]] int beeps() const { return m_beeps; }

    // Called with the printed lines each time a receipt ends, and with the rows each time the
    // display changes.
    void setReceiptListener(ReceiptListener listener) { m_onReceipt = std::move(listener); }
    void setDisplayListener(DisplayListener listener) { m_onDisplay = std::move(listener); }

private:
    // Fiscal and return receipts (ReceiptCommands.cpp).
    ModelAnswer openReceipt(const std::string& data, DeviceState& state, OpenReceipt kind);
    ModelAnswer registerSale(const std::string& data, DeviceState& state);
    // Takes back the latest sale of the article with this quantity, its discount included.
    ModelAnswer correctSale(int code, const Article& article, std::int64_t quantityThousandths);
    ModelAnswer subtotal(const std::string& data, DeviceState& state);
    ModelAnswer groupDiscount(const std::string& data, DeviceState& state);
    ModelAnswer total(const std::string& data, DeviceState& state);
    ModelAnswer closeReceipt(DeviceState& state);
    ModelAnswer cancelReceipt(DeviceState& state);
    ModelAnswer transactionStatus(const std::string& data, const DeviceState& state) const;
    // Adds the discount on `base` to the receipt and leaves its paper line in `line`; the
    // refusal bits when it cannot be applied.
    std::optional<StatusBits> applyDiscount(const TaxSums& base, const Discount& discount,
                                            std::string& line);
    [[nodiscard]] std::string subtotalAnswer() const;
    void countIntoDay(DeviceState& state, bool isReturn) const;

    // Articles (ArticleCommands.cpp).
    ModelAnswer articles(const std::string& data, DeviceState& state) const;

    // Paper, non-fiscal receipts and the display (ReceiptPrinting.cpp).
    ModelAnswer printText(const std::string& data, const DeviceState& state, bool fiscal);
    ModelAnswer openNonFiscal(DeviceState& state);
    ModelAnswer closeNonFiscal(DeviceState& state);
    ModelAnswer separatorLine(const std::string& data, const DeviceState& state);
    ModelAnswer barcode(const std::string& data, const DeviceState& state);
    ModelAnswer showOnDisplay(int command, const std::string& data, const DeviceState& state);
    void setDisplay(DisplayRows rows);
    // Ends the receipt open now: the lines become the last receipt and go to the listener.
    void finishPrinting();
    // Records the receipt open now in the journal, ends it and answers the document number.
    ModelAnswer recordAndFinish(DeviceState& state, DocumentKind kind);

    ReceiptInProgress m_receipt;
    std::vector<std::string> m_printing;
    std::vector<std::string> m_lastReceipt;
    DisplayRows m_display;
    int m_beeps = 0;
    ReceiptListener m_onReceipt;
    DisplayListener m_onDisplay;
};

} // namespace quorvex::emulator
