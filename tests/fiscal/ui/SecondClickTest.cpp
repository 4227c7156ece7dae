// A second click while the first one's message box is still open never repeats the operation.
#include "FiscalWindowFixture.h"

#include "fiscal/ui/TForm2.h"
#include "fiscal/ui/TForm3.h"
#include "platform/Dialogs.h"

#include <QPushButton>

#include <functional>
#include <memory>

namespace quorvex::ui::test {
namespace {

// A message box that stays open long enough for the operator to click again: the click runs
// inside showMessage, as it would in the box's own event loop.
class ClickingDialogs final : public platform::Dialogs {
public:
    void showMessage(const std::string& text) override
    {
        shown.push_back(platform::fromCp1251(text));
        if (std::exchange(clickAgain, false) && button != nullptr)
            button->click();
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

    QPushButton* button = nullptr;
    bool clickAgain = true;
    QStringList shown;
};

class SecondClickTest : public FiscalWindowTest {
protected:
    void TearDown() override
    {
        platform::setDialogs(&*m_dialogs);
        FiscalWindowTest::TearDown();
    }
};

TEST_F(SecondClickTest, ZReportAndServiceCashRunOncePerOperatorIntent)
{
    const struct {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> window;
        std::string request;
        QString message;
    } cases[] = {
        {"Z report", [] { return std::make_unique<TForm3>(); }, "45:9011,0",
         QStringLiteral("Z-Отчет - успешно")},
        {"service cash", [] { return std::make_unique<TForm2>(); }, "46:100.00",
         QStringLiteral("Служебный внос/вынос - успешно")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::resetEmulatedRegistrars();
        const std::unique_ptr<QWidget> window = c.window();
        ClickingDialogs dialogs;
        dialogs.button = child<QPushButton>(*window, "Button1");
        platform::setDialogs(&dialogs);

        dialogs.button->click();
        EXPECT_FALSE(dialogs.clickAgain) << "the second click came while the box was open";
        dialogs.button->click(); // the box is closed: a new intent runs again

        EXPECT_EQ(requests(), (std::vector<std::string>{c.request, c.request}));
        EXPECT_EQ(dialogs.shown, QStringList(2, c.message));
        platform::setDialogs(&*m_dialogs);
    }
}

} // namespace
} // namespace quorvex::ui::test
