// "Продать товар" and "Вернуть товар" against the emulated registrar.
#include "FiscalLinkFixture.h"

#include "fiscal/RegistrarStep.h"
#include "fiscal/SaleSequence.h"
#include "link/Operations.h"

namespace quorvex::fiscal::testing {
namespace {

namespace cmd = link::command;

constexpr const char* kBread = "PА12,1,10.00,9011,Хлеб";
constexpr const char* kDearBread = "PА12,1,1000000.00,9011,Хлеб";

SaleInput sale(const std::string& articleText, SaleDiscount discount = SaleDiscount::None,
               const std::string& discountValue = "-5.00")
{
    return SaleInput{true, articleText, 12, "1.000", discount, discountValue};
}

SaleInput returned(const std::string& articleText)
{
    SaleInput input = sale(articleText);
    input.sale = false;
    return input;
}

class SaleSequence : public FiscalLinkFixture {};

TEST_F(SaleSequence, SendsWhatTheArticleAndTheChoicesAsk)
{
    const struct {
        const char* name;
        bool known;
        SaleInput input;
        std::vector<std::string> sent;
    } cases[] = {
        {"unknown article is programmed first",
         false,
         sale(kBread),
         {"6B:R12", "6B:PА12,1,10.00,9011,Хлеб", "3A:12*1.000"}},
        {"known article is sold at once", true, sale(kBread), {"6B:R12", "3A:12*1.000"}},
        {"percentage", true, sale(kBread, SaleDiscount::Percent), {"6B:R12", "3A:12*1.000,-5.00"}},
        {"amount", true, sale(kBread, SaleDiscount::Amount), {"6B:R12", "3A:12*1.000;-5.00"}},
        {"dear article sold without warning", true, sale(kDearBread), {"6B:R12", "3A:12*1.000"}},
        {"dear article returned with the warning",
         true,
         returned(kDearBread),
         {"6B:R12", "50:", "23:Err01", "3A:-12*1.000"}},
    };
    for (const auto& c : cases) {
        SetUp();
        given(cmd::OpenFiscalReceipt, "1,9011,1");
        if (c.known)
            given(cmd::Articles, c.input.articleText);
        if (!c.input.sale)
            given(cmd::RegisterSale, "12");

        EXPECT_TRUE(runSaleSequence(c.input)) << c.name;

        EXPECT_EQ(requests(), c.sent) << c.name;
        EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{}) << c.name;
    }
    EXPECT_EQ(registrar().model().receipts().display().lower, "Err01");
}

TEST_F(SaleSequence, StopsWithItsMessageAndNeverWaitsForAnUnsentRequest)
{
    const std::string notSentSale = link::refusalMessage(link::Refusal::InvalidArguments);
    SaleInput noRow = sale(kBread);
    noRow.articleCode = -1;
    SaleInput negative = sale(kBread);
    negative.quantity = "-1";
    SaleInput typo = sale(kBread);
    typo.quantity = "1,5";
    const struct {
        const char* name;
        bool receiptOpen;
        SaleInput input;
        std::vector<std::string> sent;
        std::vector<std::string> messages;
    } cases[] = {
        {"empty article edit", true, sale(""), {}, {"Не выбран товар!"}},
        {"no row selected", true, noRow, {}, {"Не выбран товар!"}},
        {"refused quantity",
         true,
         negative,
         {"6B:R12", "6B:PА12,1,10.00,9011,Хлеб"},
         {notSentSale}},
        {"quantity not a number",
         true,
         typo,
         {"6B:R12", "6B:PА12,1,10.00,9011,Хлеб"},
         {"Ошибка преобразования в число: 1,5"}},
        {"price not a number",
         true,
         sale("PА12,1,x"),
         {"6B:R12"},
         {"Ошибка преобразования в число: x"}},
        {"registrar refuses the sale",
         false,
         sale(kBread),
         {"6B:R12", "6B:PА12,1,10.00,9011,Хлеб", "3A:12*1.000"},
         {"Команда не разрешена", "Ошибка продажи товара"}},
    };
    for (const auto& c : cases) {
        SetUp();
        m_dialogs->clear();
        if (c.receiptOpen)
            given(cmd::OpenFiscalReceipt, "1,9011,1");

        EXPECT_FALSE(runSaleSequence(c.input)) << c.name;

        EXPECT_EQ(requests(), c.sent) << c.name;
        EXPECT_EQ(m_dialogs->messages(), c.messages) << c.name;
    }
}

} // namespace
} // namespace quorvex::fiscal::testing
