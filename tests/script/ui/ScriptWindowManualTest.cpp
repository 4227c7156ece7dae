// Script window, manual command group: the code box, "Выполнить", "Повторить команду" and
// "В список", on one and on two emulated registrars.
#include "ScriptWindowTestFixture.h"

#include "link/ui/ExchangeMonitor.h"
#include "script/ui/ScriptWindowHost.h"
#include "tests/support/qt/CaptionFit.h"

#include <QKeyEvent>
#include <QLabel>

namespace quorvex::ui::testing {
namespace {

class ScriptWindowManual : public ScriptWindowFixture {
protected:
    void SetUp() override
    {
        ScriptWindowFixture::SetUp();
        m_form->refreshOnActivation();
    }

    void send(const QString& code, const QString& data)
    {
        typeCode(code);
        edit("dataEdit")->setText(data);
        button("executeButton")->click();
    }

    QStringList reportTexts() const
    {
        QStringList texts;
        for (const script::ReportLine& line : m_report.lines())
            texts << platform::fromCp1251(line.text);
        return texts;
    }
};

TEST_F(ScriptWindowManual, TwoCharactersEnableSendAndSetTheCode)
{
    typeCode(QStringLiteral("4"));
    EXPECT_FALSE(button("executeButton")->isEnabled());

    typeCode(QStringLiteral("4a"));
    EXPECT_TRUE(button("executeButton")->isEnabled());
    EXPECT_EQ(m_form->currentCommandCode(), 74);

    typeCode(QStringLiteral("4"));
    EXPECT_FALSE(button("executeButton")->isEnabled());
    EXPECT_EQ(m_form->currentCommandCode(), 74);
    EXPECT_TRUE(m_dialogs->messages().empty());
}

TEST_F(ScriptWindowManual, ABadDigitWarnsOnceAndTheCodeStaysPartial)
{
    const std::string warning = cp1251("Неверный код команды!");

    typeCode(QStringLiteral("4g"));
    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{warning});
    EXPECT_EQ(m_form->currentCommandCode(), 64);
    EXPECT_TRUE(button("executeButton")->isEnabled());

    // The partial code is what goes out.
    m_dialogs->clear();
    typeCode(QStringLiteral("4g"));
    button("executeButton")->click();
    ASSERT_FALSE(first().handledRequests().empty());
    EXPECT_EQ(first().handledRequests().back().command, 0x40);
}

TEST_F(ScriptWindowManual, EnterInTheCodeBoxMovesToTheDataBoxAndSendsNothing)
{
    m_form->show();
    m_form->activateWindow();
    QApplication::processEvents();
    typeCode(QStringLiteral("0F"));
    edit("codeEdit")->setFocus();
    ASSERT_TRUE(edit("codeEdit")->hasFocus());

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit("codeEdit"), &enter);

    EXPECT_TRUE(edit("dataEdit")->hasFocus());
    EXPECT_TRUE(first().handledRequests().empty());
    EXPECT_TRUE(m_form->isVisible());
    m_form->hide();
}

TEST_F(ScriptWindowManual, SendShowsTheExchangeAndStatusAndKeepsTheFields)
{
    first().setAnswerData(0x4A, "1,22,333");

    send(QStringLiteral("4A"), QStringLiteral("Данные"));

    ASSERT_FALSE(first().handledRequests().empty());
    EXPECT_EQ(first().handledRequests().back().command, 0x4A);
    EXPECT_EQ(first().handledRequests().back().data, cp1251("Данные"));
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("PC: ")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("FP: ")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("1,22,333")));
    // Control bytes show as their control pictures: ENQ before the checksum, ETX at the end.
    EXPECT_TRUE(lines[1].contains(QChar(0x2405))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2403))) << lines[1].toStdString();
    EXPECT_EQ(edit("statusEdit")->text(), QStringLiteral("00 00 00 00 00 3A "));
    EXPECT_EQ(m_form->results().first.count, 3);
    EXPECT_EQ(m_form->results().first.texts[2], "333");
    child<platform::LineMemo>("messageMemo")->select(1, 1);
    test_support::saveScreenshot(*m_form, QStringLiteral("ScriptWindow"));
    EXPECT_TRUE(m_dialogs->messages().empty());
}

TEST_F(ScriptWindowManual, ScriptsAndManualCommandsShareOneResultList)
{
    first().setAnswerData(0x4A, "1,22,333");
    send(QStringLiteral("4A"), QStringLiteral("X"));
    first().setAnswerData(0x4A, "9");
    openScript(writeScript("one.txt", {"4A"}));

    button("runButton")->click();

    EXPECT_EQ(m_form->results().first.count, 1);
    EXPECT_EQ(m_form->results().first.texts[0], "9");
}

TEST_F(ScriptWindowManual, NoOutputKeepsTheMemoEmptyButUpdatesTheStatus)
{
    checkBox("noOutputBox")->setChecked(true);
    first().faults().statusBits[2] = 0x01; // any status bit, so the status text is not all zero

    send(QStringLiteral("4A"), QStringLiteral("W"));

    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_EQ(edit("statusEdit")->text(), QStringLiteral("00 00 01 00 00 3A "));
}

TEST_F(ScriptWindowManual, AFirstRegistrarTimeoutTouchesNoDisplay)
{
    edit("statusEdit")->setText(QStringLiteral("old"));
    first().faults().silent = true;

    send(QStringLiteral("0F"), QString());

    EXPECT_EQ(m_dialogs->lastMessage(), timeoutMessage());
    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_EQ(edit("statusEdit")->text(), QStringLiteral("old"));
    EXPECT_EQ(m_form->results().first.count, 0);
    EXPECT_TRUE(button("executeButton")->isEnabled());
}

TEST_F(ScriptWindowManual, SendingWithoutAnOpenPortIsNotSentNotAStaleAnswer)
{
    send(QStringLiteral("4A"), QStringLiteral("X"));
    link::CloseFirstPort();
    button("clearMessagesButton")->click();
    m_dialogs->clear();

    send(QStringLiteral("4A"), QString());

    EXPECT_EQ(m_dialogs->lastMessage(), link::refusalMessage(link::Refusal::PortClosed));
    EXPECT_TRUE(memoLines().isEmpty());
}

// The memo keeps the last lines only; a notice under it, where it never scrolls away, says that
// it drops older ones, and names the exchange log only when the log is written.
TEST_F(ScriptWindowManual, MemoKeepsItsLastLinesAndANoticeSaysItDropsTheRest)
{
    ScriptWindowHost& host = m_form->host();
    const auto* notice = m_form->findChild<QLabel*>(QStringLiteral("droppedLinesNotice"));
    ASSERT_NE(notice, nullptr);
    for (const bool logged : {true, false}) {
        link::SetLogName(logged ? "exchange.log" : "");
        button("clearMessagesButton")->click(); // "Очистить сообщения"
        EXPECT_FALSE(notice->isVisibleTo(m_form.get()));

        for (int i = 0; i <= ScriptWindowHost::kMemoLineLimit; ++i)
            host.addMemoLine(std::to_string(i));
        host.flush();

        const QStringList lines = memoLines();
        ASSERT_EQ(lines.size(), ScriptWindowHost::kMemoLineLimit);
        EXPECT_EQ(lines.back(), QString::number(ScriptWindowHost::kMemoLineLimit));
        EXPECT_TRUE(notice->isVisibleTo(m_form.get()));
        EXPECT_TRUE(
            notice->text().startsWith(QStringLiteral("Окно хранит последние 100000 строк")));
        EXPECT_EQ(notice->text().contains(QStringLiteral("журнал обмена")), logged)
            << notice->text().toStdString();
    }
    test_support::expectCaptionFits(*notice, notice->text());
    test_support::saveScreenshot(*m_form, QStringLiteral("ScriptWindow-dropped-lines"));
}

// The exchange monitor, open beside the window, shows the command the window sends.
TEST_F(ScriptWindowManual, ACommandSentHereAppearsInAnOpenExchangeMonitor)
{
    ExchangeMonitor monitor;
    monitor.open();

    send(QStringLiteral("4A"), QStringLiteral("W"));
    monitor.showPending();

    ASSERT_EQ(monitor.model().rowCount(), 1);
    EXPECT_TRUE(monitor.model().rowText(0).contains(QStringLiteral("\t1\t4A\t")))
        << monitor.model().rowText(0).toStdString();
    EXPECT_EQ(monitor.model().shownRow(0).summary.requestData, "W");
}

TEST_F(ScriptWindowManual, DifferingAnswersOfTwoRegistrarsAreReportedInTheManualFormat)
{
    connectSecond();
    first().setAnswerData(0x4A, "1,2,3");
    second().setAnswerData(0x4A, "1,2,4");

    send(QStringLiteral("4A"), QStringLiteral("X"));

    EXPECT_EQ(
        reportTexts(),
        (QStringList{QStringLiteral("Не совпадают значения результата, - параметр №2"),
                     QStringLiteral("Регистратор №1: 3"), QStringLiteral("Регистратор №2: 4")}));
}

TEST_F(ScriptWindowManual, ASecondRegistrarTimeoutKeepsTheFirstRegistrarsDisplay)
{
    connectSecond();
    second().faults().silent = true;
    first().setAnswerData(0x4A, "7");

    send(QStringLiteral("4A"), QString());

    // The link's callback names the error first, then the window's own message.
    EXPECT_EQ(m_dialogs->lastMessage(), timeoutMessage());
    ASSERT_EQ(memoLines().size(), 2);
    EXPECT_TRUE(memoLines()[1].contains(QStringLiteral("7")));
    EXPECT_EQ(edit("statusEdit")->text(), QStringLiteral("00 00 00 00 00 3A "));
    EXPECT_TRUE(m_report.lines().empty());
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(ScriptWindowManual, RepeatSendsTheSameFrameAgain)
{
    send(QStringLiteral("4A"), QStringLiteral("X"));
    edit("dataEdit")->setText(QStringLiteral("other"));

    button("repeatButton")->click();

    const auto& requests = first().handledRequests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_EQ(requests[1].sequence, requests[0].sequence);
    EXPECT_EQ(requests[1].data, "X");
    EXPECT_EQ(memoLines().size(), 4);
}

TEST_F(ScriptWindowManual, RepeatComparesWithTheSecondRegistrarsAnswerToTheBoxes)
{
    connectSecond();
    send(QStringLiteral("4A"), QStringLiteral("X"));
    m_report.clear();
    first().setAnswerData(0x4A, "1,2");
    second().setAnswerData(0x4A, "1,2,3");
    edit("dataEdit")->setText(QStringLiteral("Y"));

    button("repeatButton")->click();

    EXPECT_EQ(first().handledRequests().back().data, "X");
    EXPECT_EQ(second().handledRequests().back().data, "Y");
    EXPECT_EQ(reportTexts().size(), 3);
}

TEST_F(ScriptWindowManual, RepeatWithASilentRegistrarReportsTheTimeout)
{
    send(QStringLiteral("4A"), QStringLiteral("X"));
    first().faults().silent = true;
    m_dialogs->clear();

    button("repeatButton")->click();

    EXPECT_EQ(m_dialogs->lastMessage(), timeoutMessage());
    EXPECT_EQ(memoLines().size(), 2);
}

TEST_F(ScriptWindowManual, AddToListNotesCodeAndData)
{
    typeCode(QStringLiteral("4A"));
    edit("dataEdit")->setText(QStringLiteral("X"));

    button("addToListButton")->click();

    auto* list = child<QListWidget>("commandList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("4A->X"));
    EXPECT_TRUE(first().handledRequests().empty());
}

} // namespace
} // namespace quorvex::ui::testing
