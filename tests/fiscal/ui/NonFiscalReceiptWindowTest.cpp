// The non-fiscal receipt window: its choices, composing through the controls, printing. The
// composing and printing rules themselves are tested without the window.
#include "FiscalWindowFixture.h"

#include "fiscal/ui/NonFiscalReceiptWindow.h"

#include <QPlainTextEdit>

namespace quorvex::ui::test {
namespace {

class NonFiscalReceiptWindowTest : public FormFixture<NonFiscalReceiptWindow> {
protected:
    QStringList items(const char* combo) const
    {
        QStringList texts;
        for (int i = 0; i < child<QComboBox>(combo)->count(); ++i)
            texts << child<QComboBox>(combo)->itemText(i);
        return texts;
    }
};

TEST_F(NonFiscalReceiptWindowTest, ChoicesStartEmptyWithTheirExactTexts)
{
    EXPECT_EQ(child<QComboBox>("separatorCombo")->currentIndex(), -1);
    EXPECT_EQ(child<QComboBox>("barcodeTypeCombo")->currentIndex(), -1);
    EXPECT_EQ(items("separatorCombo"), QStringList({"36 символов \"-\"", "36 символов \"=\"",
                                                    "18 символов \"-\" чередующихся с \" \" "}));
    EXPECT_EQ(
        items("barcodeTypeCombo"),
        QStringList({"EAN8. Данные 7 байтов.", "EAN13. Данные 12 байтов.",
                     "Code 128. Длина от 22 до 42 симв.", "ITF (Interleaved 2 of 5) - только цифры",
                     "ITF (Interleaved 2 of 5) + - только цифры "}));
    EXPECT_EQ(child<QPushButton>("addCommentButton")->text(), "Добавить коментарий");
    EXPECT_EQ(child<QLineEdit>("commentEdit")->maxLength(), 34);
    EXPECT_EQ(child<QLineEdit>("commentEdit")->toolTip(), "до 34 символов");
}

TEST_F(NonFiscalReceiptWindowTest, ComposedLinesShowSurviveReopeningAndPrint)
{
    type("commentEdit", "Спасибо");
    click("addCommentButton");
    child<QComboBox>("separatorCombo")->setCurrentIndex(1);
    click("addSeparatorButton");
    child<QComboBox>("barcodeTypeCombo")->setCurrentIndex(0);
    type("barcodeEdit", "1234567");
    click("addBarcodeButton");
    m_form->show();
    m_form->hide();
    m_form->show();

    EXPECT_EQ(child<QPlainTextEdit>("linesMemo")->toPlainText(), "P:Спасибо\nL2\nB1:1234567");
    click("printButton");

    EXPECT_EQ(requests(), (std::vector<std::string>{"26:", cp1251("2A:Спасибо"), "5D:2",
                                                    "58:11234567", "27:"}));
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Нефискальный чек - успешно")});
    EXPECT_EQ(m_form->lines().size(), 3u);

    click("clearButton");
    EXPECT_EQ(child<QPlainTextEdit>("linesMemo")->toPlainText(), "");
    EXPECT_TRUE(m_form->lines().empty());
}

TEST_F(NonFiscalReceiptWindowTest, RefusedLineIsToldAndNotShown)
{
    click("addSeparatorButton");

    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Выберите тип разделительной линии!")});
    EXPECT_EQ(child<QPlainTextEdit>("linesMemo")->toPlainText(), "");
}

} // namespace
} // namespace quorvex::ui::test
