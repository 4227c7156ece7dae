#pragma once
// Window "Продажи": runs a fiscal or return receipt by hand. Articles come from an article file
// chosen on every opening; each button sends its operations and reports a failure.
#include "link/Exchange.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace Ui {
class TForm5;
}

namespace quorvex::ui {

class ArticleGrid;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kGridRows = 11500; // the header row included

    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    // Each opening: the default choices, no article selected, the headers, the file dialog.
    void FormActivate();
    // Fills the grid from the article file; on failure the grid stays as it was and the operator
    // is told. Rows the grid has no room for are named in the status bar.
    bool loadArticleFile(const std::string& path);
    // The grid's cell, row 0 being the header row; Windows-1251.
    [[nodiscard]] const std::string& cell(int column, int row) const;
    // Selecting any cell of a row builds its article text and takes its code.
    void StringGrid1SelectCell(int column, int row);
    [[nodiscard]] int selectedArticleCode() const { return m_selectedCode; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void setUpGrid();

    void Button1Click();  // "Открыть чек"
    void Button2Click();  // "Печать комментария"
    void Button3Click();  // "Вывод на индикатор"
    void Button4Click();  // "Штрих-код EAN-13"
    void Button5Click();  // "Продать товар"
    void Button6Click();  // "Вернуть товар"
    void Button7Click();  // "Подсумма"
    void Button8Click();  // subtotal "количественная"
    void Button9Click();  // subtotal "процентная"
    void Button10Click(); // "с налоговой группы"
    void Button11Click(); // "с товарной группы"
    void Button12Click(); // "Оплатить"
    void Button13Click(); // "Закрыть чек"
    void Button14Click(); // "Аннулирование всего чека"
    void Button15Click(); // "Транзакция"
    void Label5Click();
    void Label13Click();

    void sell(bool sale);
    // The number typed into an edit, or the conversion error shown and nullopt.
    std::optional<double> numberIn(const QLineEdit* edit) const;
    std::optional<int> integerIn(const QLineEdit* edit) const;
    // Runs one operation as every button does; true when it was answered without error.
    bool send(const link::Operation& operation, const char* failureMessage) const;
    // Shows an answer field of hundredths as money in the label.
    void showMoney(QLabel* label, const std::string& field) const;

    std::unique_ptr<Ui::TForm5> m_ui;
    ArticleGrid* m_grid = nullptr;
    int m_selectedCode = -1;
    bool m_gridPressed = false; // a mouse button is down on the grid
};

} // namespace quorvex::ui
