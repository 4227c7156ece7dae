#pragma once
// The shared result state kept by the result callbacks and read by every window.
#include "link/RetData.h"

#include <cstdint>
#include <string>

namespace quorvex::platform {
class Dialogs;
}

namespace quorvex::link {

struct ResultState {
    RetData copy;                    // the last RetData passed to a callback
    std::int32_t pendingAnswers = 0; // decremented by each callback
    std::int32_t errorCount = 0;     // incremented when a callback shows an error text

    // What both callbacks do: copy, count, show the first error text through the dialogs (or
    // the result's LineFault, when the line was lost).
    void takeResult(const RetData& result, platform::Dialogs& dialogs);
};

// The error text for the first of the twenty tested bits that is set, or nullptr.
const char* errorTextFor(std::uint32_t errorFlags);
// The texts of every tested bit that is set, in the order tested, each once, joined by ", ";
// empty when none is set.
std::string errorTextsFor(std::uint32_t errorFlags);

ResultState& resultState(); // the process's instance

// The callbacks handed to SendCommand and the typed operations (process instance, process
// dialogs). The status window passes PrinterResults, every other sender PrinterResultsx.
void PrinterResultsx(RetData& result);
void PrinterResults(RetData& result);

} // namespace quorvex::link
