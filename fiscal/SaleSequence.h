#pragma once
// "Продать товар" and "Вернуть товар" of the sales window: read the article, warn about a
// return above 999999.99, program the article when the registrar does not know it, then
// register the sale or the return with its discount.
#include <string>

namespace quorvex::fiscal {

enum class SaleDiscount { None, Percent, Amount };

struct SaleInput {
    bool sale = true;        // "Продать товар"; false for "Вернуть товар"
    std::string articleText; // the article edit, Windows-1251
    int articleCode = -1;    // the selected article code; -1 when no row was selected
    std::string quantity;    // the quantity edit
    SaleDiscount discount = SaleDiscount::None;
    std::string discountValue; // the discount value edit
};

// Runs the sequence on the process's link; every message goes through the process's dialogs.
// True when the sale or return was registered.
bool runSaleSequence(const SaleInput& input);

} // namespace quorvex::fiscal
