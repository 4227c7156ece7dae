// Window "Состояние модема" against the emulated registrar.
#include "netcfg/ui/ModemStateWindow.h"

#include "tests/netcfg/ui/NetcfgWindowTest.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace quorvex::ui::testing {
namespace {

constexpr int kModemState = 0x6C;
const char* const kFlagBoxes[] = {"samFaultBox",
                                  "memoryCardFaultBox",
                                  "blockedUndeliveredBox",
                                  "idDevSetBox",
                                  "technicalRegistrationBox",
                                  "personalisedBox",
                                  "ethernetConnectedBox",
                                  "dataToSendBox"};

class ModemStateWindowTest : public NetcfgWindowTest {
protected:
    void askReport() { child<QPushButton>(m_form, "reportButton")->click(); }
    QString edit(const char* name) const { return child<QLineEdit>(m_form, name)->text(); }
    bool statusEnabled() const { return child<QPushButton>(m_form, "statusButton")->isEnabled(); }

    // The flag boxes' states as a byte, bit i from the box the window shows bit i in.
    int shownState() const
    {
        int state = 0;
        for (int bit = 0; bit < 8; ++bit)
            state |= child<QCheckBox>(m_form, kFlagBoxes[bit])->isChecked() ? 1 << bit : 0;
        return state;
    }

    ModemStateWindow m_form;
};

TEST_F(ModemStateWindowTest, EachStateBitChecksItsOwnBox)
{
    for (int bit = 0; bit < 8; ++bit) {
        first().model().network().setModemState(static_cast<std::uint8_t>(1 << bit));

        askReport();

        for (int box = 0; box < 8; ++box)
            EXPECT_EQ(child<QCheckBox>(m_form, kFlagBoxes[box])->isChecked(), box == bit)
                << "bit " << bit << ", " << kFlagBoxes[box];
    }
}

TEST_F(ModemStateWindowTest, ReportShowsTheFieldsAndSendsThePrintFlag)
{
    first().model().network().setModemStateField("A5");
    first().model().network().modemTimes() = {"01.02.26", "03:04", "05.06.26", "07:08"};

    askReport();
    child<QCheckBox>(m_form, "printBox")->setChecked(true);
    askReport();

    const auto& requests = first().handledRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].command, kModemState);
    EXPECT_EQ(requests[0].data, "0");
    EXPECT_EQ(requests[1].data, "1");
    EXPECT_EQ(first().model().state().journal.size(), 1u);
    EXPECT_EQ(shownState(), 0xA5);
    EXPECT_EQ(edit("undeliveredDateEdit"), QStringLiteral("01.02.26"));
    EXPECT_EQ(edit("undeliveredTimeEdit"), QStringLiteral("03:04"));
    EXPECT_EQ(edit("personalisationDateEdit"), QStringLiteral("05.06.26"));
    EXPECT_EQ(edit("personalisationTimeEdit"), QStringLiteral("07:08"));
    EXPECT_TRUE(statusEnabled());
    EXPECT_TRUE(m_dialogs->messages().empty());
}

TEST_F(ModemStateWindowTest, TimeoutChangesNothingAndSelectsTheFirstRegistrar)
{
    second().faults().silent = true;
    link::UseSecondPort(1);

    askReport(); // before any report

    EXPECT_FALSE(statusEnabled());
    EXPECT_FALSE(link::processLink().secondPortSelected());
    EXPECT_EQ(m_dialogs->messages(),
              (std::vector<std::string>{cp1251("Таймаут"),
                                        cp1251("Ошибка выполнения команды. Таймаут")}));

    first().model().network().setModemState(0x0C);
    askReport();
    first().faults().silent = true;
    askReport();

    EXPECT_EQ(shownState(), 0x0C);
    EXPECT_EQ(edit("personalisationDateEdit"), QStringLiteral("01.12.26"));
    EXPECT_TRUE(statusEnabled());
}

TEST_F(ModemStateWindowTest, AnErrorStatusStillFillsTheWindow)
{
    first().faults().statusBits = {0x01, 0, 0, 0, 0, 0};
    first().model().network().setModemState(0xFF);

    askReport();

    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{cp1251("Синтаксическая ошибка")});
    EXPECT_EQ(shownState(), 0xFF);
    EXPECT_TRUE(statusEnabled());
}

TEST_F(ModemStateWindowTest, ReportRefusedBeforeSendingChangesNothing)
{
    serial::PortRegistry noPorts;
    link::Link neverOpened(noPorts);
    ModemStateWindow form(nullptr, &neverOpened);
    link::resultState().copy.Fields[0] = "FF"; // an earlier answer is no answer to this request

    child<QPushButton>(form, "reportButton")->click();

    EXPECT_FALSE(child<QCheckBox>(form, "samFaultBox")->isChecked());
    EXPECT_FALSE(child<QPushButton>(form, "statusButton")->isEnabled());
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{link::refusalMessage(link::Refusal::NotIdle)});
}

TEST_F(ModemStateWindowTest, StatusButtonOpensTheStatusWindow)
{
    QDialog status;
    bool shown = false;
    m_form.setStatusWindow(&status);
    askReport();
    QTimer::singleShot(0, [&] {
        shown = status.isVisible();
        status.reject();
    });

    child<QPushButton>(m_form, "statusButton")->click();

    EXPECT_TRUE(shown);
}

TEST_F(ModemStateWindowTest, CaptionsAreExactAndShowFully)
{
    open(m_form);

    const auto* first = child<QLabel>(m_form, "undeliveredDateLabel");
    const auto* second = child<QLabel>(m_form, "undeliveredTimeLabel");
    EXPECT_EQ(first->text(),
              QStringLiteral("Дата формирования  первого \nнедоставленного документа:"));
    EXPECT_EQ(second->text(),
              QStringLiteral("Время формирования  первого \nнедоставленного документа:"));
    EXPECT_EQ(child<QGroupBox>(m_form, "reportGroup")->title(),
              QStringLiteral("Отчет состояния модема"));
    EXPECT_TRUE(m_form.windowFlags().testFlag(Qt::Tool));
    for (const QLabel* label : m_form.findChildren<QLabel*>()) {
        expectCaptionFits(*label, label->text());
        EXPECT_GE(label->height(), label->fontMetrics().lineSpacing() *
                                       static_cast<int>(label->text().count('\n') + 1))
            << label->objectName().toStdString();
    }
    for (const QCheckBox* box : m_form.findChildren<QCheckBox*>()) {
        expectCaptionFits(*box, box->text());
        EXPECT_TRUE(box->isEnabled()) << box->objectName().toStdString();
    }
    for (const QPushButton* button : m_form.findChildren<QPushButton*>())
        expectCaptionFits(*button, button->text());
    for (const char* name : {"undeliveredDateEdit", "undeliveredTimeEdit",
                             "personalisationDateEdit", "personalisationTimeEdit"})
        EXPECT_TRUE(child<QLineEdit>(m_form, name)->isReadOnly()) << name;
}

} // namespace
} // namespace quorvex::ui::testing
