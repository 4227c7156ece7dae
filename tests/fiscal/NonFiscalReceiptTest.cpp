// Composing and printing the non-fiscal receipt.
#include "FiscalLinkFixture.h"

#include "fiscal/NonFiscalReceipt.h"

namespace quorvex::fiscal::testing {
namespace {

TEST(NonFiscalLines, ComposingRules)
{
    const std::string code128(42, 'Z');
    const struct {
        const char* name;
        std::function<const char*(NonFiscalLines&)> add;
        const char* refusal; // nullptr: appended as `line`
        std::string line;
    } cases[] = {
        {"comment", [](auto& l) { return l.addComment("Привет "); }, nullptr, "P:Привет "},
        {"empty comment", [](auto& l) { return l.addComment(""); }, nullptr, "P:"},
        {"separator", [](auto& l) { return l.addSeparator(2); }, nullptr, "L2"},
        {"second separator in a row", [](auto& l) { return l.addSeparator(1); },
         "Не разрешается несколько разделительных линий подряд!", ""},
        {"barcode after a separator", [](auto& l) { return l.addBarcode(1, "ABCDEFG"); }, nullptr,
         "B1:ABCDEFG"},
        {"no separator type", [](auto& l) { return l.addSeparator(0); },
         "Выберите тип разделительной линии!", ""},
        {"no barcode type", [](auto& l) { return l.addBarcode(0, "1"); }, "Выберите тип штрихкода!",
         ""},
        {"EAN8 of 8", [](auto& l) { return l.addBarcode(1, "12345678"); },
         "Превышение допустимой длины для штрихкода!", ""},
        {"EAN13 of 13", [](auto& l) { return l.addBarcode(2, "0123456789012"); },
         "Превышение допустимой длины для штрихкода!", ""},
        {"Code 128 of 43", [=](auto& l) { return l.addBarcode(3, code128 + "Z"); },
         "Превышение допустимой длины для штрихкода!", ""},
        {"Code 128 of 42", [=](auto& l) { return l.addBarcode(3, code128); }, nullptr,
         "B3:" + code128},
        {"ITF without limit", [](auto& l) { return l.addBarcode(5, std::string(80, 'x')); },
         nullptr, "B5:" + std::string(80, 'x')},
        {"separator after a barcode", [](auto& l) { return l.addSeparator(3); }, nullptr, "L3"},
    };
    NonFiscalLines lines;
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        const char* refusal = c.add(lines);

        EXPECT_STREQ(refusal, c.refusal) << c.name;
        if (c.refusal == nullptr)
            expected.push_back(c.line);
        EXPECT_EQ(lines.lines(), expected) << c.name;
    }
    lines.clear();
    EXPECT_TRUE(lines.lines().empty());
}

class NonFiscalPrinting : public FiscalLinkFixture {};

TEST_F(NonFiscalPrinting, EmptyListOpensAndCloses)
{
    EXPECT_TRUE(printNonFiscalReceipt({}));

    EXPECT_EQ(requests(), (std::vector<std::string>{"26:", "27:"}));
    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{"Нефискальный чек - успешно"});
}

TEST_F(NonFiscalPrinting, EachLineGoesWithItsOperation)
{
    EXPECT_TRUE(printNonFiscalReceipt({"P:Спасибо", "L1", "B2:012345678901", "X?"}));

    EXPECT_EQ(requests(),
              (std::vector<std::string>{"26:", "2A:Спасибо", "5D:1", "58:2012345678901", "27:"}));
    EXPECT_EQ(registrar().model().state().journal.size(), 1u);
}

TEST_F(NonFiscalPrinting, FailingLineStopsThePrintWithTheReceiptOpen)
{
    EXPECT_FALSE(printNonFiscalReceipt({"P:one", "B2:ABC", "P:three"}));

    EXPECT_EQ(requests(), (std::vector<std::string>{"26:", "2A:one", "58:2ABC"}));
    EXPECT_EQ(m_dialogs->messages(),
              (std::vector<std::string>{"Синтаксическая ошибка", "Ошибка печати штрихкода"}));
    EXPECT_EQ(registrar().model().state().openReceipt, emulator::OpenReceipt::NonFiscal);

    m_dialogs->clear();
    EXPECT_TRUE(closeNonFiscalReceipt());
    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{"Нефискальный чек - успешно"});
    EXPECT_EQ(registrar().model().state().openReceipt, emulator::OpenReceipt::None);
}

TEST_F(NonFiscalPrinting, ClosingWithoutAnOpenReceiptFails)
{
    EXPECT_FALSE(closeNonFiscalReceipt());

    EXPECT_EQ(
        m_dialogs->messages(),
        (std::vector<std::string>{"Команда не разрешена", "Ошибка закрытия нефискального чека"}));
}

} // namespace
} // namespace quorvex::fiscal::testing
