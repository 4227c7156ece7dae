// The non-fiscal receipt window: its choices, composing through the controls, printing. The
// composing and printing rules themselves are tested without the window.
#include "FiscalWindowFixture.h"

#include "fiscal/ui/TForm6.h"

#include <QPlainTextEdit>

namespace quorvex::ui::test {
namespace {

class TForm6Test : public FormFixture<TForm6> {
protected:
    QStringList items(const char* combo) const
    {
        QStringList texts;
        for (int i = 0; i < child<QComboBox>(combo)->count(); ++i)
            texts << child<QComboBox>(combo)->itemText(i);
        return texts;
    }
};

TEST_F(TForm6Test, ChoicesStartEmptyWithTheirExactTexts)
{
    EXPECT_EQ(child<QComboBox>("ComboBox1")->currentIndex(), -1);
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentIndex(), -1);
    EXPECT_EQ(items("ComboBox1"), QStringList({"36 символов \"-\"", "36 символов \"=\"",
                                               "18 символов \"-\" чередующихся с \" \" "}));
    EXPECT_EQ(items("ComboBox2"), QStringList({"EAN8. Данные 7 байтов.", "EAN13. Данные 12 байтов.",
                                               "Code 128. Длина от 22 до 42 симв.",
                                               "ITF (Interleaved 2 of 5) - только цифры",
                                               "ITF (Interleaved 2 of 5) + - только цифры "}));
    EXPECT_EQ(child<QPushButton>("Button1")->text(), "Добавить коментарий");
    EXPECT_EQ(child<QLineEdit>("Edit2")->maxLength(), 34);
    EXPECT_EQ(child<QLineEdit>("Edit2")->toolTip(), "до 34 символов");
}

TEST_F(TForm6Test, ComposedLinesShowSurviveReopeningAndPrint)
{
    type("Edit2", "Спасибо");
    click("Button1");
    child<QComboBox>("ComboBox1")->setCurrentIndex(1);
    click("Button2");
    child<QComboBox>("ComboBox2")->setCurrentIndex(0);
    type("Edit1", "1234567");
    click("Button3");
    m_form->show();
    m_form->hide();
    m_form->show();

    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "P:Спасибо\nL2\nB1:1234567");
    click("Button4");

    EXPECT_EQ(requests(), (std::vector<std::string>{"26:", cp1251("2A:Спасибо"), "5D:2",
                                                    "58:11234567", "27:"}));
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Нефискальный чек - успешно")});
    EXPECT_EQ(m_form->lines().size(), 3u);

    click("Button6");
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "");
    EXPECT_TRUE(m_form->lines().empty());
}

TEST_F(TForm6Test, RefusedLineIsToldAndNotShown)
{
    click("Button2");

    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{cp1251("Выберите тип разделительной линии!")});
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "");
}

} // namespace
} // namespace quorvex::ui::test
