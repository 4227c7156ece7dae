// A whole fiscal receipt and a non-fiscal one, run by quorvex-run against quorvex-emu on a
// pseudo-terminal; the emulator's receipt printout shows both in its journal.
#include "QuorvexRunTool.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"
#include "tests/support/ScopedRuntimeDirectory.h"

#include <gtest/gtest.h>

namespace quorvex::script::testing {
namespace {

TEST(ReceiptScriptEndToEnd, FiscalAndNonFiscalReceiptsReachTheJournal)
{
    test_support::ScopedRuntimeDirectory runtime("quorvex-receipt-runtime-");
    const std::string emulatorErrors = writeTextFile("emu-err.txt", "");
    quorvex::testing::PtyEmulatorProcess emulator(QUORVEX_EMU_PATH, {"--show-receipts"},
                                                  runtime.path().string(), emulatorErrors);
    ASSERT_FALSE(emulator.devicePath().empty());
    const std::string script =
        writeTextFile("receipt.txt", joinLines({"3000001,9011,00001,I", "6BPА12,1,10.00,9011,Хлеб",
                                                "6BPБ13,2,5.50,9011,Молоко", "3A12*2.000,-10.00",
                                                "3A13*1.000", "3300", "35\tP30.00", "38", "26",
                                                "2AСпасибо за покупку", "5D1", "27"}));

    const ToolResult result = runTool("--port " + emulator.devicePath() + " " + script);
    emulator.stop();

    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.err, utf8(u8"Конец файла!\n"));
    EXPECT_NE(result.out.find("2350,1800,550,0,0,0"), std::string::npos) << "the subtotal";
    const std::string printed = readFile(emulatorErrors);
    std::size_t at = 0;
    for (const char8_t* expected :
         {u8"--- receipt ---", u8"КАССОВЫЙ ЧЕК", u8"  2.000 x 10.00 = 20.00 А",
          u8"  СКИДКА 10.00% = -2.00", u8"ИТОГ 23.50", u8"НАЛИЧНЫМИ 30.00", u8"СДАЧА 6.50",
          u8"ДОКУМЕНТ 1 ", u8"--- receipt ---", u8"НЕФИСКАЛЬНЫЙ ЧЕК", u8"Спасибо за покупку",
          u8"------------------------------------", u8"ДОКУМЕНТ 2 "}) {
        at = printed.find(utf8(expected), at);
        ASSERT_NE(at, std::string::npos) << utf8(expected) << " in\n" << printed;
    }
}

} // namespace
} // namespace quorvex::script::testing
