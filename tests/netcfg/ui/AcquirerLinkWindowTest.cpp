// Window "Параметры связи с эквайером" against the emulated registrar and files on disk.
#include "netcfg/ui/AcquirerLinkWindow.h"

#include "platform/qt/TypingLimit.h"
#include "tests/netcfg/ui/NetcfgWindowTest.h"
#include "tests/support/TestDirectory.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

namespace quorvex::ui::testing {
namespace {

constexpr int kWriteNetwork = 0x24;
const char* const kBoxes[] = {"staticIpEdit",           "subnetMaskEdit",      "gatewayEdit",
                              "destinationAddressEdit", "destinationPortEdit", "linkPeriodEdit",
                              "retryPeriodEdit"};
const QStringList kExampleTexts = {
    "192.168.1.10", "255.255.255.0", "192.168.1.1", "10.0.0.5", "8080", "60", "30"};

class AcquirerLinkWindowTest : public NetcfgWindowTest {
protected:
    void SetUp() override
    {
        NetcfgWindowTest::SetUp();
        m_dir = test_support::freshTestDirectory("quorvex-tform15");
        dhcp()->setChecked(true);
        type(QStringList(7, QStringLiteral("x")));
        open(m_form);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_dir);
        NetcfgWindowTest::TearDown();
    }

    void click(const char* button) { child<QPushButton>(m_form, button)->click(); }
    QCheckBox* dhcp() { return child<QCheckBox>(m_form, "dhcpBox"); }
    QStringList texts() const
    {
        QStringList shown;
        for (const char* name : kBoxes)
            shown << child<QLineEdit>(m_form, name)->text();
        return shown;
    }
    void type(const QStringList& shown)
    {
        for (int i = 0; i < shown.size(); ++i)
            child<QLineEdit>(m_form, kBoxes[i])->setText(shown[i]);
    }
    std::size_t sentRequests() const { return first().handledRequests().size(); }
    std::string path(const char* name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
    AcquirerLinkWindow m_form;
};

// Before the first showing every box held "x" and DHCP was on.
TEST_F(AcquirerLinkWindowTest, OnlyTheFirstActivationEmptiesTheRegistrarMembers)
{
    const bool dhcpAfterFirst = dhcp()->isChecked();
    const QStringList textsAfterFirst = texts();
    dhcp()->setChecked(true);
    type({"y"});

    m_form.hide();
    open(m_form);

    EXPECT_FALSE(dhcpAfterFirst);
    EXPECT_EQ(textsAfterFirst, (QStringList{"", "", "", "", "", "x", "x"}));
    EXPECT_TRUE(dhcp()->isChecked());
    EXPECT_EQ(texts(), (QStringList{"y", "", "", "", "", "x", "x"}));
}

TEST_F(AcquirerLinkWindowTest, ReadWriteAndReadBackTheSameSet)
{
    click("readButton");

    EXPECT_FALSE(dhcp()->isChecked());
    EXPECT_EQ(texts(), kExampleTexts);

    const QStringList edited = {"10.1.2.3", "255.255.0.0", "10.1.0.1", "172.16.0.9",
                                "443",      "5000",        "-1"};
    dhcp()->setChecked(true);
    type(edited);
    click("writeButton");
    type(QStringList(7, QString()));
    dhcp()->setChecked(false);
    click("readButton");

    EXPECT_EQ(first().handledRequests().at(1).command, kWriteNetwork);
    EXPECT_EQ(first().handledRequests().at(1).data,
              "1,0A010203,FFFF0000,0A010001,AC100009,BB01,8813,FFFF");
    EXPECT_TRUE(dhcp()->isChecked());
    EXPECT_EQ(texts(), (QStringList{"10.1.2.3", "255.255.0.0", "10.1.0.1", "172.16.0.9", "443",
                                    "5000", "65535"}));
    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>(3, cp1251("Успешно!")));
}

TEST_F(AcquirerLinkWindowTest, InvalidAnswerKeepsWhatWasReadAndStops)
{
    first().model().network().setNetworkFields(
        {"1", "C0A8010A", "FFFFFF00", "c0a80101", "0A000005", "901F", "3C00", "1E00"});
    type(QStringList(7, QStringLiteral("old")));

    click("readButton");

    EXPECT_TRUE(dhcp()->isChecked());
    EXPECT_EQ(texts(),
              (QStringList{"192.168.1.10", "255.255.255.0", "old", "old", "old", "old", "old"}));
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251(
                  "Информация переданная регистратором неверна. Чтение данных остановлено.")});
}

// The time-out message and the return to the first registrar are the modem window's test.
TEST_F(AcquirerLinkWindowTest, TimeoutLeavesTheBoxes)
{
    second().faults().silent = true;
    link::UseSecondPort(1);
    type(QStringList(7, QStringLiteral("1")));

    click("readButton");

    EXPECT_EQ(texts(), QStringList(7, QStringLiteral("1")));
    EXPECT_EQ(m_dialogs->messages().size(), 2u);
}

TEST_F(AcquirerLinkWindowTest, RegistrarRefusingTheWriteIsNoSuccess)
{
    type(kExampleTexts);
    child<QLineEdit>(m_form, "destinationAddressEdit")
        ->setText(QStringLiteral("10.0.1")); // sent as 0A0001

    click("writeButton");

    EXPECT_EQ(first().handledRequests().at(0).data,
              "0,C0A8010A,FFFFFF00,C0A80101,0A0001,901F,3C00,1E00");
    EXPECT_EQ(m_dialogs->messages(),
              (std::vector<std::string>{cp1251("Синтаксическая ошибка"),
                                        cp1251("Настройки сети не установлены. Ошибка!")}));
}

TEST_F(AcquirerLinkWindowTest, AddressWithMoreThanThreeDotsIsRefusedUnsent)
{
    type(kExampleTexts);
    child<QLineEdit>(m_form, "destinationAddressEdit")->setText(QStringLiteral("10.0.0.5.1"));

    click("writeButton");

    EXPECT_EQ(sentRequests(), 0u);
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Некорректный IP-адрес. Ошибка!")});
}

TEST_F(AcquirerLinkWindowTest, SaveAsksBeforeOverwritingAndLoadRestoresTheSet)
{
    const std::string file = path("net.txt");
    std::ofstream(file) << "keep";
    dhcp()->setChecked(true);
    type(kExampleTexts);
    m_dialogs->queueSaveFile(file);
    m_dialogs->queueAnswer(false);
    m_dialogs->queueSaveFile(file);
    m_dialogs->queueAnswer(true);

    click("saveButton");
    const std::string refused{std::istreambuf_iterator<char>(std::ifstream(file).rdbuf()), {}};
    click("saveButton");
    dhcp()->setChecked(false);
    type(QStringList(7, QString()));
    m_dialogs->queueOpenFile(file);
    click("loadButton");

    EXPECT_EQ(refused, "keep");
    EXPECT_TRUE(dhcp()->isChecked());
    EXPECT_EQ(texts(), kExampleTexts);
    EXPECT_EQ(m_dialogs->questions(),
              std::vector<std::string>(2, cp1251("Файл уже существует, перезаписать?")));
    EXPECT_EQ(m_dialogs->messages(),
              (std::vector<std::string>{cp1251("Операция прервана!"), cp1251("Успешно!"),
                                        cp1251("Успешно!")}));
    const auto& calls = m_dialogs->calls();
    const auto openCall = std::find_if(calls.begin(), calls.end(), [](const auto& call) {
        return call.kind == platform::DialogCall::Kind::OpenFile;
    });
    ASSERT_NE(openCall, calls.end());
    const auto saveDialog = calls.at(0).options;
    const auto openDialog = openCall->options;
    EXPECT_EQ(saveDialog.title, cp1251("Запись параметров связи в файл"));
    EXPECT_EQ(openDialog.title, cp1251("Чтение параметров связи из файла"));
    for (const auto& options : {saveDialog, openDialog}) {
        EXPECT_EQ(options.filter, "Text files (*.txt)|*.TXT|All files (*.*)|*.*");
        EXPECT_EQ(options.defaultExtension, "TXT");
    }
}

// Values set by the program are never cut to the typing limits: an over-long value loaded from a
// file shows whole and is refused on writing; typing stops at the limit.
TEST_F(AcquirerLinkWindowTest, LoadedValuesShowWholeAndOnlyTypingIsLimited)
{
    const std::string file = path("long.txt");
    type(kExampleTexts);
    m_dialogs->queueSaveFile(file);
    click("saveButton");
    std::string saved{std::istreambuf_iterator<char>(std::ifstream(file).rdbuf()), {}};
    saved.replace(saved.find("8080"), 4, "1234567");
    saved.replace(saved.find("10.0.0.5"), 8, "192.168.100.1000");
    std::ofstream(file, std::ios::binary) << saved;
    type(QStringList(7, QString()));
    m_dialogs->queueOpenFile(file);
    click("loadButton");
    ASSERT_EQ(texts().at(3), QStringLiteral("192.168.100.1000"));
    ASSERT_EQ(texts().at(4), QStringLiteral("1234567"));
    test_support::saveScreenshot(m_form, QStringLiteral("AcquirerLinkWindow-long-values"));
    child<QLineEdit>(m_form, "destinationAddressEdit")->setText(QStringLiteral("10.0.0.5"));

    click("writeButton");

    EXPECT_EQ(sentRequests(), 0u);
    EXPECT_EQ(m_dialogs->messages().back(), cp1251("Некорректный номер порта. Ошибка!"));

    QLineEdit* port = child<QLineEdit>(m_form, "destinationPortEdit");
    const auto typeKey = [port](Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(port, &press);
    };
    port->end(false);
    typeKey(Qt::Key_Backspace, QString());
    EXPECT_EQ(port->text(), QStringLiteral("123456")) << "shortening is always allowed";
    port->setText(QStringLiteral("1234"));
    port->end(false);
    typeKey(Qt::Key_5, QStringLiteral("5"));
    typeKey(Qt::Key_6, QStringLiteral("6"));
    EXPECT_EQ(port->text(), QStringLiteral("12345"));
}

TEST_F(AcquirerLinkWindowTest, NoFileOrAnUnreadableOneChangesNothing)
{
    type(kExampleTexts);
    m_dialogs->queueOpenFile(path("absent.txt"));

    click("saveButton");
    click("loadButton");
    click("loadButton");

    EXPECT_EQ(texts(), kExampleTexts);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir));
    EXPECT_EQ(m_dialogs->messages(),
              (std::vector<std::string>{
                  cp1251("Файл не выбран. Ошибка."),
                  platform::toCp1251(QStringLiteral("Невозможно открыть файл ") +
                                     QString::fromStdString(path("absent.txt"))),
                  cp1251("Файл не выбран. Ошибка."),
              }));
}

TEST_F(AcquirerLinkWindowTest, BoxesHaveTheirHintsLimitsAndRoomForTheirCaptions)
{
    const struct {
        const char* box;
        int maxLength;
        const char* hint;
    } boxes[] = {
        {"staticIpEdit", 15, "Формат - адрес IP"},
        {"subnetMaskEdit", 15, "Формат - адрес IP"},
        {"gatewayEdit", 15, "Формат - адрес IP"},
        {"destinationAddressEdit", 15, "Формат - адрес IP"},
        {"destinationPortEdit", 5, "Формат - число"},
        {"linkPeriodEdit", 5, "В минутах, не более 1440"},
        {"retryPeriodEdit", 5, "В секундах, не более 3600"},
    };
    for (const auto& b : boxes) {
        const QLineEdit* edit = child<QLineEdit>(m_form, b.box);
        EXPECT_EQ(platform::typingLimit(*edit), b.maxLength) << b.box;
        EXPECT_EQ(edit->toolTip(), QString::fromUtf8(b.hint)) << b.box;
    }
    for (const QLabel* label : m_form.findChildren<QLabel*>())
        expectCaptionFits(*label, label->text());
    for (const QPushButton* button : m_form.findChildren<QPushButton*>())
        expectCaptionFits(*button, button->text());
}

} // namespace
} // namespace quorvex::ui::testing
