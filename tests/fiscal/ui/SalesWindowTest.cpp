// The sales window: the article file on opening, the grid, row selection and what each control
// sends. The sale sequence itself is tested without the window.
#include "FiscalWindowFixture.h"

#include "fiscal/ui/SalesWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>

#include <functional>

namespace quorvex::ui::test {
namespace {

class SalesWindowTest : public FormFixture<SalesWindow> {
protected:
    // Activates the window with the dialog answering `path`, or cancelled.
    void activateWith(std::optional<std::string> path)
    {
        m_dialogs->queueOpenFile(std::move(path));
        m_form->resetAndLoadArticles();
    }

    std::string status() const
    {
        return child<QStatusBar>("fileStatusBar")->currentMessage().toStdString();
    }

    void clickLabel(const char* name) const
    {
        const QPointF at(2, 2);
        QMouseEvent release(QEvent::MouseButtonRelease, at, child<QLabel>(name)->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(child<QLabel>(name), &release);
    }

    void selectRow(int row) const
    {
        QTableView* grid = child<QTableView>("articleTable");
        grid->setCurrentIndex(grid->model()->index(row - 1, 3)); // as a click selects it
    }

    // A mouse click on a data row, as the operator makes it.
    void clickRow(int row) const
    {
        QTableView* grid = child<QTableView>("articleTable");
        const QPointF at = grid->visualRect(grid->model()->index(row - 1, 3)).center();
        const QPointF global = grid->viewport()->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(grid->viewport(), &press);
        QCoreApplication::sendEvent(grid->viewport(), &release);
    }

    const std::string kGoods =
        cp1251("А;12;1;12.50;Хлеб;\nБ;13;2;5.50;Молоко;\nВ;x;1;1.00;Ошибка;\n");
};

TEST_F(SalesWindowTest, OpeningOffersTheArticleFileAndFillsTheGrid)
{
    const std::string path = writeFile("goods.art", kGoods);

    activateWith(path);

    const platform::DialogCall& dialog = m_dialogs->calls().at(0);
    EXPECT_EQ(dialog.kind, platform::DialogCall::Kind::OpenFile);
    EXPECT_EQ(dialog.options.defaultExtension, "ART");
    EXPECT_NE(dialog.options.filter.find("*.art"), std::string::npos);
    EXPECT_EQ(dialog.options.initialDirectory, std::filesystem::current_path().string());
    const std::vector<std::string> header = {"",
                                             cp1251("Налог"),
                                             cp1251("PLU код"),
                                             cp1251("Товар. грп."),
                                             cp1251("Цена"),
                                             cp1251("Имя товара")};
    const std::vector<std::string> row2 = {"2", cp1251("Б"), "13", "2", "5.50", cp1251("Молоко")};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(m_form->cell(column, 0), header[column]);
        EXPECT_EQ(m_form->cell(column, 2), row2[column]);
    }
    EXPECT_EQ(m_form->cell(0, 4), "");
    EXPECT_EQ(m_form->selectedArticleCode(), -1);
    EXPECT_EQ(status(), path);
    EXPECT_EQ(child<QTableView>("articleTable")->model()->rowCount(), SalesWindow::kGridRows - 1);
    EXPECT_EQ(child<QTableView>("articleTable")->columnWidth(5), 119);
}

TEST_F(SalesWindowTest, FileDialogComesOncePerOpeningNotOnReturnsToTheWindow)
{
    m_form->show();
    QCoreApplication::processEvents();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_form.get(), &activate);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dialogs->calls().size(), 1u);

    m_form->hide();
    m_form->show();
    QCoreApplication::processEvents();

    EXPECT_EQ(m_dialogs->calls().size(), 2u);
}

TEST_F(SalesWindowTest, ShorterFileKeepsLaterRowsAndCancelOrBadFileKeepsAll)
{
    activateWith(writeFile("long.art", kGoods));
    activateWith(writeFile("short.art", cp1251("Г;20;3;2.00;Соль;\n")));
    const std::string shortStatus = status();

    activateWith(std::nullopt);
    activateWith((m_dir / "missing.art").string());

    EXPECT_EQ(m_form->cell(5, 1), cp1251("Соль"));
    EXPECT_EQ(m_form->cell(5, 2), cp1251("Молоко"));
    EXPECT_EQ(m_form->cell(0, 3), "3");
    EXPECT_EQ(status(), shortStatus);
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Не удалось открыть файл артикулов: ") +
                                       (m_dir / "missing.art").string()});
}

TEST_F(SalesWindowTest, RowsBeyondTheGridAreNamedInTheStatusBar)
{
    std::string lines;
    for (int i = 1; i <= SalesWindow::kGridRows + 1; ++i)
        lines += cp1251("А;") + std::to_string(i) + ";1;1.00;x;\n";

    activateWith(writeFile("many.art", lines));

    EXPECT_EQ(m_form->cell(1 + 1, SalesWindow::kGridRows - 1),
              std::to_string(SalesWindow::kGridRows - 1));
    EXPECT_NE(status().find(QStringLiteral("не вошло строк: 2").toStdString()), std::string::npos);
}

TEST_F(SalesWindowTest, SelectingARowBuildsTheArticleTextAndKeepsTheLastGoodCode)
{
    activateWith(writeFile("goods.art", kGoods));
    type("passwordEdit", "1234");

    selectRow(2);
    EXPECT_EQ(text("articleEdit"), "PБ13,2,5.50,1234,Молоко");
    EXPECT_EQ(m_form->selectedArticleCode(), 13);

    selectRow(3);
    EXPECT_EQ(text("articleEdit"), "PВx,1,1.00,1234,Ошибка");
    EXPECT_EQ(m_form->selectedArticleCode(), 13);
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Ошибка преобразования в число: x")});
}

// Every click on a data row selects it, also the row that is already highlighted: after the
// window is opened again (the selection is forgotten) and after the password changed. A click
// that changes the row builds the text once.
TEST_F(SalesWindowTest, ClickOnTheHighlightedRowSelectsItAgain)
{
    m_form->show();
    activateWith(writeFile("goods.art", kGoods));
    clickRow(3);
    clickRow(2);
    EXPECT_EQ(m_dialogs->messages().size(), 1u) << "the bad code of row 3 is told once";

    type("passwordEdit", "4321");
    clickRow(2);
    EXPECT_EQ(text("articleEdit"), "PБ13,2,5.50,4321,Молоко");

    activateWith(std::nullopt); // opened again, the file dialog cancelled
    ASSERT_EQ(m_form->selectedArticleCode(), -1);
    clickRow(2);
    EXPECT_EQ(m_form->selectedArticleCode(), 13);
}

// The message box for a row whose code is not a number takes the mouse release; the arrow keys
// still select rows and build their article texts afterwards.
TEST_F(SalesWindowTest, KeysSelectRowsAfterTheBoxOfABadCodeTookTheMouseRelease)
{
    m_form->show();
    activateWith(writeFile("goods.art", kGoods));
    QTableView* grid = child<QTableView>("articleTable");
    const QPointF at = grid->visualRect(grid->model()->index(2, 3)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &press); // row 3; no release follows
    ASSERT_EQ(m_dialogs->messages().size(), 1u);

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(grid, &up);

    EXPECT_EQ(text("articleEdit"), "PБ13,2,5.50,9011,Молоко");
    EXPECT_EQ(m_form->selectedArticleCode(), 13);
}

TEST_F(SalesWindowTest, WholeReceiptByHand)
{
    activateWith(writeFile("goods.art", kGoods));
    selectRow(1);

    click("openReceiptButton");
    click("sellButton");
    click("transactionButton");
    click("subtotalButton");
    clickLabel("receiptSum");
    child<QComboBox>("paymentTypeCombo")->setCurrentIndex(3);
    click("payButton");
    click("closeReceiptButton");

    EXPECT_EQ(requests(),
              (std::vector<std::string>{"30:00001,9011,00001,I", "6B:R12",
                                        cp1251("6B:PА12,1,12.50,9011,Хлеб"), "3A:12*1.000",
                                        "4C:", "33:00", "35:\tD12.50", "38:"}));
    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{});
    EXPECT_EQ(text("transactionSum"), "12.50");
    EXPECT_EQ(text("receiptSum"), "12.50");
    EXPECT_EQ(text("paymentEdit"), "12.50");
    EXPECT_EQ(text("paymentFirstField"), "R");
    EXPECT_EQ(text("paymentSecondField"), "0");
    EXPECT_EQ(registrar().model().state().journal.size(), 1u);
}

TEST_F(SalesWindowTest, ControlsChooseWhatEachButtonSends)
{
    using Setup = std::function<void()>;
    const auto none = [] {};
    const struct {
        const char* name;
        Setup setup;
        const char* button;
        std::string sent;
    } cases[] = {
        {"return receipt", [this] { child<QCheckBox>("returnReceiptBox")->setChecked(true); },
         "openReceiptButton", "55:00001,9011,00001,I"},
        {"comment", none, "printCommentButton", "36:Comment for printing"},
        {"upper row", none, "displayButton", "2F:Comment for printing"},
        {"clear display", [this] { child<QComboBox>("displayCombo")->setCurrentIndex(0); },
         "displayButton", "21:"},
        {"lower row", [this] { child<QComboBox>("displayCombo")->setCurrentIndex(2); },
         "displayButton", "23:Comment for printing"},
        {"date and time", [this] { child<QComboBox>("displayCombo")->setCurrentIndex(3); },
         "displayButton", "3F:"},
        {"EAN-13", none, "barcodeButton", "58:2012345678901"},
        {"subtotal amount", none, "subtotalAmountButton", "33:11;-5.00"},
        {"subtotal percentage", none, "subtotalPercentButton", "33:11,-5.00"},
        {"tax group percentage", [this] { child<QComboBox>("taxGroupCombo")->setCurrentIndex(1); },
         "taxGroupButton", cp1251("3B:TБ,11,-5.00")},
        {"goods group amount", [this] { child<QRadioButton>("groupAmount")->setChecked(true); },
         "goodsGroupButton", "3B:G1,11;-5.00"},
        {"cancel", none, "cancelReceiptButton", "39:"},
    };
    for (const auto& c : cases) {
        SetUp();
        m_form->resetAndLoadArticles();
        c.setup();

        click(c.button);

        EXPECT_EQ(requests(), std::vector<std::string>{c.sent}) << c.name;
    }
}

} // namespace
} // namespace quorvex::ui::test
