// Comparison window: the header built once per run from both registrars' diagnostic answers,
// lines appended through the process's report, and saving as RTF.
#include "script/ui/ComparisonWindow.h"

#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/qt/TextCodec.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/RtfReader.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace quorvex;

namespace {

std::string cp(const QString& text)
{
    return platform::toCp1251(text);
}

std::vector<std::string> textsOf(const script::ReportDocument& doc)
{
    std::vector<std::string> texts;
    for (const auto& line : doc.lines())
        texts.push_back(line.text);
    return texts;
}

class ComparisonWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();
        ASSERT_NO_FATAL_FAILURE(test_support::openEmulatedLink(
            QDir::temp().filePath("quorvex-form11.log").toStdString(), 19200, 9600));
        auto& s = link::session();
        s.firstPortText = "EMU1";
        s.firstSpeedText = "19200";
        s.secondPortText = "EMU2";
        s.secondSpeedText = "9600";
        s.secondConnected = true;
    }

    void TearDown() override { link::session().secondConnected = false; }

    platform::ScopedRecordingDialogs m_dialogs;
};

TEST_F(ComparisonWindowTest, HeaderShowsBothRegistrarsOnce)
{
    ui::ComparisonWindow form;

    form.writeHeaderOnce();
    form.writeHeaderOnce();

    const std::vector<std::string> expected{cp(QStringLiteral("Регистратор №1: ")),
                                            cp(QStringLiteral("Порт: EMU1, Скорость:19200")),
                                            cp(QStringLiteral("Версия: 5.00")),
                                            cp(QStringLiteral("Заводской номер: QV000001")),
                                            " ",
                                            cp(QStringLiteral("Регистратор №2: ")),
                                            cp(QStringLiteral("Порт: EMU2, Скорость:9600")),
                                            cp(QStringLiteral("Версия: 3.10")),
                                            cp(QStringLiteral("Заводской номер: QV000002")),
                                            " "};
    EXPECT_EQ(textsOf(form.document()), expected);
    for (const auto& line : form.document().lines())
        EXPECT_EQ(line.colour, script::kReportBlue);
    // The blank line is not raised; the line after it is.
    const auto& lines = form.document().lines();
    EXPECT_EQ(lines[4].heightPx, lines[3].heightPx);
    EXPECT_EQ(lines[5].heightPx, lines[4].heightPx + script::ReportDocument::kHeightStepPx);
    EXPECT_FALSE(link::processLink().secondPortSelected());
    EXPECT_TRUE(form.reportText().contains(QStringLiteral("Заводской номер: QV000002")));
}

TEST_F(ComparisonWindowTest, SilentFirstRegistrarIsReportedAndTheSecondStillAsked)
{
    emulator::processRegistrar(1).faults().silent = true;
    ui::ComparisonWindow form;

    form.writeHeaderOnce();

    const auto& lines = form.document().lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2].text, cp(QStringLiteral("Устройство не отвечает!")));
    EXPECT_EQ(lines[2].colour, script::kReportRed);
    EXPECT_EQ(lines[3].text, cp(QStringLiteral("Регистратор №2: ")));
    EXPECT_EQ(lines[3].colour, script::kReportRed); // the colour stays after a red line
    EXPECT_EQ(lines[5].text, cp(QStringLiteral("Версия: 3.10")));
    EXPECT_FALSE(m_dialogs->messages().empty()); // the callback's own time-out text
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

// Message boxes run a nested message loop; this double activates the window from inside it.
class ReenteringDialogs final : public platform::Dialogs {
public:
    std::function<void()> onMessage;
    void showMessage(const std::string&) override
    {
        if (onMessage)
            onMessage();
    }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> openFileName(const platform::FileDialogOptions&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> saveFileName(const platform::FileDialogOptions&) override
    {
        return std::nullopt;
    }
};

TEST_F(ComparisonWindowTest, ActivationInsideAHeaderMessageWritesNoSecondHeader)
{
    emulator::processRegistrar(1).faults().silent = true;
    ui::ComparisonWindow form;
    ReenteringDialogs dialogs;
    bool activated = false;
    dialogs.onMessage = [&] {
        if (!std::exchange(activated, true))
            form.writeHeaderOnce();
    };
    platform::setDialogs(&dialogs);

    form.writeHeaderOnce();

    platform::setDialogs(&*m_dialogs);
    EXPECT_EQ(form.document().lines().size(), 8u);
    EXPECT_EQ(emulator::processRegistrar(2).handledCommands().size(), 1u);
}

TEST_F(ComparisonWindowTest, WithoutSecondRegistrarTheReportStaysWithoutHeader)
{
    link::session().secondConnected = false;
    ui::ComparisonWindow form;
    form.writeHeaderOnce();
    link::session().secondConnected = true;

    form.writeHeaderOnce();
    script::comparisonReport().AppendReportLine("x", script::kReportRed);

    ASSERT_EQ(form.document().lines().size(), 1u);
    EXPECT_TRUE(form.reportBuilt());
    EXPECT_EQ(form.reportText(), QStringLiteral("x"));
    EXPECT_TRUE(emulator::processRegistrar(1).handledCommands().empty());
}

TEST_F(ComparisonWindowTest, SaveWritesRtfAndAsksBeforeReplacing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("отчёт.rtf"));
    const std::string fsPath = QFile::encodeName(path).toStdString();
    ui::ComparisonWindow form;
    form.writeHeaderOnce();

    m_dialogs->queueSaveFile(std::nullopt);
    form.saveAsRtf();
    EXPECT_FALSE(QFile::exists(path));

    m_dialogs->queueSaveFile(fsPath);
    form.saveAsRtf();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const auto lines = test_support::readRtf(written.readAll().toStdString());
    written.close();
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, test_support::shownLines(form.document().lines()));
    const auto& options = m_dialogs->calls().back().options;
    EXPECT_EQ(options.defaultExtension, "txt");
    EXPECT_EQ(options.filter, cp(QStringLiteral("Формат RTF (*.rtf)|*.RTF|Все  файлы (*.*)|*.*")));

    form.AppendReportLine("later", script::kReportRed);
    m_dialogs->queueSaveFile(fsPath);
    m_dialogs->queueAnswer(false);
    form.saveAsRtf();
    ASSERT_EQ(m_dialogs->questions(),
              std::vector<std::string>{cp(QStringLiteral("Файл существует - перезаписать?"))});
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_FALSE(written.readAll().contains("later"));
    written.close();

    m_dialogs->queueSaveFile(fsPath);
    m_dialogs->queueAnswer(true);
    form.saveAsRtf();
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("later"));
}

TEST_F(ComparisonWindowTest, SaveFailureIsReported)
{
    QTemporaryDir dir;
    ui::ComparisonWindow form;
    m_dialogs->queueSaveFile(QFile::encodeName(dir.filePath("missing/r.rtf")).toStdString());

    form.saveAsRtf();

    EXPECT_EQ(m_dialogs->messages().size(), 1u);
}

TEST(ComparisonWindowInstall, WindowIsTheProcessReportWhileItLives)
{
    const script::ComparisonReport* installed = nullptr;
    {
        ui::ComparisonWindow form;
        installed = &script::comparisonReport();
        script::comparisonReport().AppendReportLine("a", script::kReportRed);
        EXPECT_EQ(installed, static_cast<const script::ComparisonReport*>(&form));
        EXPECT_EQ(form.document().lines().size(), 1u);
    }
    EXPECT_NE(&script::comparisonReport(), installed);
}

} // namespace
