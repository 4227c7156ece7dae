// Script window, manual command group: the code box, "Выполнить", "Повторить команду" and
// "В список", on one and on two emulated registrars.
#include "TForm7TestFixture.h"

#include "link/ui/ExchangeMonitor.h"
#include "script/ui/TForm7Host.h"
#include "tests/support/qt/CaptionFit.h"

#include <QKeyEvent>
#include <QLabel>

namespace quorvex::ui::testing {
namespace {

class TForm7Manual : public TForm7Fixture {
protected:
    void SetUp() override
    {
        TForm7Fixture::SetUp();
        m_form->FormActivate();
    }

    void send(const QString& code, const QString& data)
    {
        typeCode(code);
        edit("Edit3")->setText(data);
        button("Button2")->click();
    }

    QStringList reportTexts() const
    {
        QStringList texts;
        for (const script::ReportLine& line : m_report.lines())
            texts << platform::fromCp1251(line.text);
        return texts;
    }
};

TEST_F(TForm7Manual, TwoCharactersEnableSendAndSetTheCode)
{
    typeCode(QStringLiteral("4"));
    EXPECT_FALSE(button("Button2")->isEnabled());

    typeCode(QStringLiteral("4a"));
    EXPECT_TRUE(button("Button2")->isEnabled());
    EXPECT_EQ(m_form->currentCommandCode(), 74);

    typeCode(QStringLiteral("4"));
    EXPECT_FALSE(button("Button2")->isEnabled());
    EXPECT_EQ(m_form->currentCommandCode(), 74);
    EXPECT_TRUE(m_dialogs->messages().empty());
}

TEST_F(TForm7Manual, ABadDigitWarnsOnceAndTheCodeStaysPartial)
{
    const std::string warning = cp1251("Неверный код команды!");

    typeCode(QStringLiteral("4g"));
    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{warning});
    EXPECT_EQ(m_form->currentCommandCode(), 64);
    EXPECT_TRUE(button("Button2")->isEnabled());

    // The partial code is what goes out.
    m_dialogs->clear();
    typeCode(QStringLiteral("4g"));
    button("Button2")->click();
    ASSERT_FALSE(first().handledRequests().empty());
    EXPECT_EQ(first().handledRequests().back().command, 0x40);
}

TEST_F(TForm7Manual, EnterInTheCodeBoxMovesToTheDataBoxAndSendsNothing)
{
    m_form->show();
    m_form->activateWindow();
    QApplication::processEvents();
    typeCode(QStringLiteral("0F"));
    edit("Edit1")->setFocus();
    ASSERT_TRUE(edit("Edit1")->hasFocus());

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit("Edit1"), &enter);

    EXPECT_TRUE(edit("Edit3")->hasFocus());
    EXPECT_TRUE(first().handledRequests().empty());
    EXPECT_TRUE(m_form->isVisible());
    m_form->hide();
}

TEST_F(TForm7Manual, SendShowsTheExchangeAndStatusAndKeepsTheFields)
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
    EXPECT_EQ(edit("Edit6")->text(), QStringLiteral("00 00 00 00 00 3A "));
    EXPECT_EQ(m_form->results().first.count, 3);
    EXPECT_EQ(m_form->results().first.texts[2], "333");
    child<platform::LineMemo>("Memo1")->select(1, 1);
    test_support::saveScreenshot(*m_form, QStringLiteral("TForm7"));
    EXPECT_TRUE(m_dialogs->messages().empty());
}

TEST_F(TForm7Manual, ScriptsAndManualCommandsShareOneResultList)
{
    first().setAnswerData(0x4A, "1,22,333");
    send(QStringLiteral("4A"), QStringLiteral("X"));
    first().setAnswerData(0x4A, "9");
    openScript(writeScript("one.txt", {"4A"}));

    button("Button6")->click();

    EXPECT_EQ(m_form->results().first.count, 1);
    EXPECT_EQ(m_form->results().first.texts[0], "9");
}

TEST_F(TForm7Manual, NoOutputKeepsTheMemoEmptyButUpdatesTheStatus)
{
    checkBox("CheckBox2")->setChecked(true);
    first().faults().statusBits[2] = 0x01; // any status bit, so the status text is not all zero

    send(QStringLiteral("4A"), QStringLiteral("W"));

    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_EQ(edit("Edit6")->text(), QStringLiteral("00 00 01 00 00 3A "));
}

TEST_F(TForm7Manual, AFirstRegistrarTimeoutTouchesNoDisplay)
{
    edit("Edit6")->setText(QStringLiteral("old"));
    first().faults().silent = true;

    send(QStringLiteral("0F"), QString());

    EXPECT_EQ(m_dialogs->lastMessage(), timeoutMessage());
    EXPECT_TRUE(memoLines().isEmpty());
    EXPECT_EQ(edit("Edit6")->text(), QStringLiteral("old"));
    EXPECT_EQ(m_form->results().first.count, 0);
    EXPECT_TRUE(button("Button2")->isEnabled());
}

TEST_F(TForm7Manual, SendingWithoutAnOpenPortIsNotSentNotAStaleAnswer)
{
    send(QStringLiteral("4A"), QStringLiteral("X"));
    link::CloseFirstPort();
    button("Button4")->click();
    m_dialogs->clear();

    send(QStringLiteral("4A"), QString());

    EXPECT_EQ(m_dialogs->lastMessage(), link::refusalMessage(link::Refusal::PortClosed));
    EXPECT_TRUE(memoLines().isEmpty());
}

// The memo keeps the last lines only; a notice under it, where it never scrolls away, says that
// it drops older ones, and names the exchange log only when the log is written.
TEST_F(TForm7Manual, MemoKeepsItsLastLinesAndANoticeSaysItDropsTheRest)
{
    ScriptWindowHost& host = m_form->host();
    const auto* notice = m_form->findChild<QLabel*>(QStringLiteral("droppedLinesNotice"));
    ASSERT_NE(notice, nullptr);
    for (const bool logged : {true, false}) {
        link::SetLogName(logged ? "exchange.log" : "");
        button("Button4")->click(); // "Очистить сообщения"
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
    test_support::saveScreenshot(*m_form, QStringLiteral("TForm7-dropped-lines"));
}

// The exchange monitor, open beside the window, shows the command the window sends.
TEST_F(TForm7Manual, ACommandSentHereAppearsInAnOpenExchangeMonitor)
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

TEST_F(TForm7Manual, DifferingAnswersOfTwoRegistrarsAreReportedInTheManualFormat)
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

TEST_F(TForm7Manual, ASecondRegistrarTimeoutKeepsTheFirstRegistrarsDisplay)
{
    connectSecond();
    second().faults().silent = true;
    first().setAnswerData(0x4A, "7");

    send(QStringLiteral("4A"), QString());

    // The link's callback names the error first, then the window's own message.
    EXPECT_EQ(m_dialogs->lastMessage(), timeoutMessage());
    ASSERT_EQ(memoLines().size(), 2);
    EXPECT_TRUE(memoLines()[1].contains(QStringLiteral("7")));
    EXPECT_EQ(edit("Edit6")->text(), QStringLiteral("00 00 00 00 00 3A "));
    EXPECT_TRUE(m_report.lines().empty());
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(TForm7Manual, RepeatSendsTheSameFrameAgain)
{
    send(QStringLiteral("4A"), QStringLiteral("X"));
    edit("Edit3")->setText(QStringLiteral("other"));

    button("Button9")->click();

    const auto& requests = first().handledRequests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_EQ(requests[1].sequence, requests[0].sequence);
    EXPECT_EQ(requests[1].data, "X");
    EXPECT_EQ(memoLines().size(), 4);
}

TEST_F(TForm7Manual, RepeatComparesWithTheSecondRegistrarsAnswerToTheBoxes)
{
    connectSecond();
    send(QStringLiteral("4A"), QStringLiteral("X"));
    m_report.clear();
    first().setAnswerData(0x4A, "1,2");
    second().setAnswerData(0x4A, "1,2,3");
    edit("Edit3")->setText(QStringLiteral("Y"));

    button("Button9")->click();

    EXPECT_EQ(first().handledRequests().back().data, "X");
    EXPECT_EQ(second().handledRequests().back().data, "Y");
    EXPECT_EQ(reportTexts().size(), 3);
}

TEST_F(TForm7Manual, RepeatWithASilentRegistrarReportsTheTimeout)
{
    send(QStringLiteral("4A"), QStringLiteral("X"));
    first().faults().silent = true;
    m_dialogs->clear();

    button("Button9")->click();

    EXPECT_EQ(m_dialogs->lastMessage(), timeoutMessage());
    EXPECT_EQ(memoLines().size(), 2);
}

TEST_F(TForm7Manual, AddToListNotesCodeAndData)
{
    typeCode(QStringLiteral("4A"));
    edit("Edit3")->setText(QStringLiteral("X"));

    button("Button3")->click();

    auto* list = child<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("4A->X"));
    EXPECT_TRUE(first().handledRequests().empty());
}

} // namespace
} // namespace quorvex::ui::testing
