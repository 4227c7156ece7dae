// One intent, one document: a second click while the first one's message box is still open, and
// a double click or a double Space on a sales button against a slow registrar, each run the
// operation once.
#include "FiscalWindowFixture.h"

#include "emulator/EmulatedLine.h"
#include "fiscal/ui/SalesWindow.h"
#include "fiscal/ui/ServiceCashWindow.h"
#include "fiscal/ui/ZReportWindow.h"
#include "link/Operations.h"
#include "platform/Dialogs.h"
#include "platform/qt/OneClickAtATime.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>

#include <algorithm>
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
        {"Z report", [] { return std::make_unique<ZReportWindow>(); }, "45:9011,0",
         QStringLiteral("Z-Отчет - успешно")},
        {"service cash", [] { return std::make_unique<ServiceCashWindow>(); }, "46:100.00",
         QStringLiteral("Служебный внос/вынос - успешно")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::resetEmulatedRegistrars();
        const std::unique_ptr<QWidget> window = c.window();
        ClickingDialogs dialogs;
        dialogs.button = child<QPushButton>(*window, "runButton");
        platform::setDialogs(&dialogs);

        dialogs.button->click();
        EXPECT_FALSE(dialogs.clickAgain) << "the second click came while the box was open";
        dialogs.button->click(); // the box is closed: a new intent runs again

        EXPECT_EQ(requests(), (std::vector<std::string>{c.request, c.request}));
        EXPECT_EQ(dialogs.shown, QStringList(2, c.message));
        platform::setDialogs(&*m_dialogs);
    }
}

// EMU1 taking 100 ms to answer each request. Halfway through the first answer the operator's
// second click or key press happens: it waits in the event queue, as the window system's input
// does while an exchange holds the event loop.
class SlowLine final : public serial::SerialLine {
public:
    SlowLine(std::unique_ptr<serial::SerialLine> line, std::function<void()>& meanwhile)
        : m_line(std::move(line)), m_meanwhile(meanwhile)
    {
    }
    bool flush() override { return m_line->flush(); }
    bool purge() override { return m_line->purge(); }
    bool write(const std::uint8_t* data, std::size_t size) override
    {
        const bool written = m_line->write(data, size);
        QThread::msleep(50);
        if (auto meanwhile = std::exchange(m_meanwhile, nullptr))
            meanwhile();
        QThread::msleep(50);
        return written;
    }
    serial::ReadResult readByte() override { return m_line->readByte(); }
    void clearError() override { m_line->clearError(); }
    bool close() override { return m_line->close(); }

private:
    std::unique_ptr<serial::SerialLine> m_line;
    std::function<void()>& m_meanwhile;
};

// The operator's input, stamped as the window system stamps it: milliseconds of its own clock,
// from a base of its own. A later base stands for a minute passed since the last input.
class Operator {
public:
    Operator(QPushButton& button, qint64 stampBase) : m_button(button), m_stampBase(stampBase) {}

    enum class Twice { Click, Space };

    // The first press and release, delivered at once.
    void first(Twice how) const
    {
        for (QInputEvent* event : events(how, false)) {
            QCoreApplication::sendEvent(&m_button, event);
            delete event;
        }
    }
    // The second one, queued until the event loop runs again.
    void second(Twice how) const
    {
        for (QInputEvent* event : events(how, true))
            QCoreApplication::postEvent(&m_button, event);
    }

private:
    std::vector<QInputEvent*> events(Twice how, bool second) const
    {
        const auto stamp = static_cast<quint64>(platform::inputGate().nowMs() + m_stampBase);
        std::vector<QInputEvent*> events;
        if (how == Twice::Space) {
            events.push_back(new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
            events.push_back(new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
        } else {
            events.push_back(mouse(QEvent::MouseButtonPress, Qt::LeftButton));
            if (second)
                events.push_back(mouse(QEvent::MouseButtonDblClick, Qt::LeftButton));
            events.push_back(mouse(QEvent::MouseButtonRelease, Qt::NoButton));
        }
        for (QInputEvent* event : events)
            event->setTimestamp(stamp);
        return events;
    }
    QMouseEvent* mouse(QEvent::Type type, Qt::MouseButtons buttons) const
    {
        const QPointF at = QRectF(m_button.rect()).center();
        return new QMouseEvent(type, at, m_button.mapToGlobal(at), Qt::LeftButton, buttons,
                               Qt::NoModifier);
    }

    QPushButton& m_button;
    qint64 m_stampBase;
};

class SlowRegistrarTest : public FormFixture<SalesWindow> {
protected:
    void SetUp() override
    {
        FormFixture<SalesWindow>::SetUp();
        serial::portRegistry().addVirtualPort("SLOW1", [this](const std::string&, int) {
            return std::unique_ptr<serial::SerialLine>(new SlowLine(
                emulator::makeEmulatedLine(emulator::processRegistrar(1)), m_meanwhile));
        });
        ASSERT_NE(link::OpenFirstPort("SLOW1", 19200), -1);
    }
    void TearDown() override
    {
        (void)link::OpenFirstPort("EMU1", 19200);
        serial::portRegistry().removeVirtualPort("SLOW1");
        FormFixture<SalesWindow>::TearDown();
    }

    std::function<void()> m_meanwhile;
};

TEST_F(SlowRegistrarTest, ADoubleClickOrADoubleSpaceSendsOneRequest)
{
    namespace cmd = link::command;
    const std::string goods = cp1251("А;12;1;12.50;Хлеб;\n");
    const struct {
        const char* button;
        std::function<void()> given;
        int command;
    } buttons[] = {
        {"openReceiptButton", [] {}, cmd::OpenFiscalReceipt}, // "Открыть чек"
        {"sellButton", [] { given(cmd::OpenFiscalReceipt, "1,9011,1"); }, cmd::RegisterSale},
        {"payButton",
         [] {
             given(cmd::OpenFiscalReceipt, "1,9011,1");
             given(cmd::Articles, cp1251("PА12,1,12.50,9011,Хлеб"));
             given(cmd::RegisterSale, "12");
         },
         cmd::Total}, // "Оплатить"
    };
    m_form->show();
    ASSERT_TRUE(m_form->loadArticleFile(writeFile("goods.art", goods)));
    qint64 stampBase = 5'000'000;
    for (const auto& b : buttons) {
        for (const Operator::Twice how : {Operator::Twice::Click, Operator::Twice::Space}) {
            test_support::resetEmulatedRegistrars();
            b.given();
            m_form->selectArticle(1, 1);
            stampBase += 60'000;
            const Operator input(*child<QPushButton>(b.button), stampBase);
            m_meanwhile = [&input, how] { input.second(how); };

            input.first(how);
            QCoreApplication::sendPostedEvents();

            const auto& handled = registrar().handledRequests();
            EXPECT_EQ(std::count_if(handled.begin(), handled.end(),
                                    [&](const auto& r) { return r.command == b.command; }),
                      1)
                << b.button << (how == Operator::Twice::Space ? " Space" : " click");
            EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{});
        }
    }
}

} // namespace
} // namespace quorvex::ui::test
