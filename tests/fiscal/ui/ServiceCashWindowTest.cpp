// Window "Служебный внос/вынос".
#include "FiscalWindowFixture.h"

#include "fiscal/ui/ServiceCashWindow.h"
#include "fiscal/ui/WindowMessages.h"
#include "link/Link.h"
#include "platform/qt/TextCodec.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace quorvex::ui::test {
namespace {

class ServiceCashWindowTest : public FiscalWindowTest {
protected:
    void run(const QString& amount, int kind)
    {
        child<QLineEdit>(m_form, "amountEdit")->setText(amount);
        child<QComboBox>(m_form, "kindCombo")->setCurrentIndex(kind);
        child<QPushButton>(m_form, "runButton")->click();
    }

    ServiceCashWindow m_form;
};

TEST_F(ServiceCashWindowTest, StartsAsCashInOfOneHundredAndEveryOpeningChoosesCashIn)
{
    auto* kind = child<QComboBox>(m_form, "kindCombo");
    kind->setCurrentIndex(1);

    m_form.show();

    EXPECT_EQ(kind->currentText(), QStringLiteral("Служебный внос"));
    EXPECT_EQ(kind->itemText(1), QStringLiteral("Служебный вынос"));
    EXPECT_EQ(child<QLineEdit>(m_form, "amountEdit")->text(), QStringLiteral("100.00"));
    EXPECT_EQ(child<QLineEdit>(m_form, "amountEdit")->toolTip(),
              QStringLiteral("Положительное число - сумма вноса/выноса"));
}

TEST_F(ServiceCashWindowTest, CashInThenCashOutSendTheAmountAndItsNegation)
{
    run(QStringLiteral("100"), 0);
    run(QStringLiteral("100.00"), 1);

    EXPECT_EQ(requests(), (std::vector<std::string>{"46:100.00", "46:-100.00"}));
    EXPECT_EQ(messages(), QStringList(2, QStringLiteral("Служебный внос/вынос - успешно")));
    EXPECT_EQ(device().cashInDrawerHundredths, 0);
}

TEST_F(ServiceCashWindowTest, IncorrectAmountsSendNothing)
{
    const std::pair<const char*, QString> cases[] = {
        {"abc", QStringLiteral("Некорректная сумма для вноса/выноса \n   исправьте!!!")},
        {"-5", QStringLiteral("Некорректная сумма для вноса/выноса\n   исправьте!!!")},
    };
    for (const auto& [amount, message] : cases) {
        m_dialogs->clear();

        run(QString::fromLatin1(amount), 0);

        EXPECT_EQ(messages(), QStringList{message}) << amount;
    }
    EXPECT_TRUE(requests().empty());
}

TEST_F(ServiceCashWindowTest, FailuresAreToldApartFromAmountsThatCannotBeSent)
{
    run(QStringLiteral("5"), 1);     // more than the empty drawer holds
    run(QStringLiteral("1e200"), 0); // too long for a request

    EXPECT_EQ(messages(),
              (QStringList{
                  QStringLiteral("Команда не разрешена"), QStringLiteral("Ошибка "),
                  platform::fromCp1251(link::refusalMessage(link::processLink().lastRefusal()))}));
    EXPECT_EQ(requests().size(), 1u);
}

} // namespace
} // namespace quorvex::ui::test
