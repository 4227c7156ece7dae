// Window "Z-Отчет".
#include "FiscalWindowFixture.h"

#include "fiscal/ui/ZReportWindow.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QPushButton>

namespace quorvex::ui::test {
namespace {

// Records each message with the number of requests the registrar had received when it showed.
class ObservingDialogs final : public platform::Dialogs {
public:
    void showMessage(const std::string& text) override
    {
        shown.emplace_back(platform::fromCp1251(text),
                           emulator::processRegistrar(1).handledRequests().size());
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

    std::vector<std::pair<QString, std::size_t>> shown;
};

class ZReportWindowTest : public FiscalWindowTest {
protected:
    void TearDown() override
    {
        platform::setDialogs(&*m_dialogs);
        FiscalWindowTest::TearDown();
    }

    ZReportWindow m_form;
    ObservingDialogs m_observer;
};

TEST_F(ZReportWindowTest, ZReportThenItsMessageThenTheDeletionWhateverTheOutcome)
{
    using Shown = std::vector<std::pair<QString, std::size_t>>;
    struct Case {
        const char* name;
        bool deleteArticles;
        bool silent;
        std::vector<std::string> commands;
        Shown shown;
    };
    const Case cases[] = {
        {"report only", false, false, {"45"}, {{QStringLiteral("Z-Отчет - успешно"), 1}}},
        {"with deletion", true, false, {"45", "6B"}, {{QStringLiteral("Z-Отчет - успешно"), 1}}},
        {"deletion after a failed report",
         true,
         true,
         {"45", "6B"},
         {{QStringLiteral("Таймаут"), 1},
          {QStringLiteral("Ошибка Z-Отчета"), 1},
          {QStringLiteral("Таймаут"), 2}}},
    };
    for (const Case& c : cases) {
        test_support::resetEmulatedRegistrars();
        registrar().faults().silent = c.silent;
        m_observer.shown.clear();
        platform::setDialogs(&m_observer);
        child<QCheckBox>(m_form, "deleteArticlesBox")->setChecked(c.deleteArticles);

        child<QPushButton>(m_form, "runButton")->click();

        std::vector<std::string> commands;
        for (const std::string& request : requests())
            commands.push_back(request.substr(0, 2));
        EXPECT_EQ(commands, c.commands) << c.name;
        EXPECT_EQ(m_observer.shown, c.shown) << c.name;
    }
    EXPECT_EQ(requests(), (std::vector<std::string>{"45:9011,0", "6B:DA,9011"}));
}

TEST_F(ZReportWindowTest, StartsWithoutDeletion)
{
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Z-Отчет"));
    EXPECT_FALSE(child<QCheckBox>(m_form, "deleteArticlesBox")->isChecked());
    EXPECT_EQ(child<QCheckBox>(m_form, "deleteArticlesBox")->text(),
              QStringLiteral("с удалением артикулов"));
}

} // namespace
} // namespace quorvex::ui::test
