// The menu item "Копия фискальных чеков по сквозным номерам": the registrar's version decides
// whether the receipt-copy window opens.
#include "AppFixture.h"

#include "fiscal/ui/ReceiptCopiesWindow.h"

#include <QApplication>
#include <QTimer>

namespace quorvex::ui::test {
namespace {

class ReceiptCopiesMenuTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_windows.receiptCopies = new ReceiptCopiesWindow(m_form.get());
        m_form->setWindows(m_windows);
    }

    // Triggers the item and returns the modal window it opened (closed again at once).
    QWidget* windowOpened()
    {
        QWidget* opened = nullptr;
        QTimer::singleShot(0, [&opened] {
            opened = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(opened))
                dialog->reject();
        });
        m_form->openReceiptCopies();
        QCoreApplication::processEvents();
        return opened;
    }

    AppWindows m_windows;
};

TEST_F(ReceiptCopiesMenuTest, OpensTheWindowOnlyForRegistrarsThatKeepCopies)
{
    const std::pair<const char*, bool> versions[] = {
        {"5.00", true}, {"4.01", true}, {"3.10", false}};
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    for (const auto& [version, opens] : versions) {
        emulator::processRegistrar(1).identity().softwareVersion = version;
        m_dialogs->clear();

        QWidget* opened = windowOpened();

        EXPECT_EQ(opened, opens ? static_cast<QWidget*>(m_windows.receiptCopies) : nullptr)
            << version;
        EXPECT_EQ(m_dialogs->messages().empty(), opens) << version;
        if (!opens) {
            EXPECT_EQ(message(0),
                      QStringLiteral("Функционал поддерживается только КСЕФ регистратором!"));
        }
    }
    const auto& sent = emulator::processRegistrar(1).handledRequests();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2].command, 0x4A);
    EXPECT_EQ(sent[sent.size() - 2].data, "W");
    EXPECT_EQ(sent.back().command, 0x5A);
    EXPECT_EQ(sent.back().data, "0");
}

TEST_F(ReceiptCopiesMenuTest, RegistrarThatDoesNotAnswerGetsNoWindow)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    emulator::processRegistrar(1).faults().silent = true;
    m_dialogs->clear();

    EXPECT_EQ(windowOpened(), nullptr);
    EXPECT_EQ(m_dialogs->messages().size(), 3u);
    EXPECT_EQ(message(1), QStringLiteral("Таймаут"));
    EXPECT_EQ(message(2), QStringLiteral("Ошибка обращения к регистратору!"));
}

} // namespace
} // namespace quorvex::ui::test
