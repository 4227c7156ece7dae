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
class SalesWindow;
}

namespace quorvex::ui {

class ArticleGrid;

class SalesWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kGridRows = 11500; // the header row included

    explicit SalesWindow(QWidget* parent = nullptr);
    ~SalesWindow() override;

    // Each opening: the default choices, no article selected, the headers, the file dialog.
    void resetAndLoadArticles();
    // Fills the grid from the article file; on failure the grid stays as it was and the operator
    // is told. Rows the grid has no room for are named in the status bar.
    bool loadArticleFile(const std::string& path);
    // The grid's cell, row 0 being the header row; Windows-1251.
    [[nodiscard]] const std::string& cell(int column, int row) const;
    // Selecting any cell of a row builds its article text and takes its code.
    void selectArticle(int column, int row);
    [[nodiscard]] int selectedArticleCode() const { return m_selectedCode; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void setUpGrid();

    void openReceipt();             // "Открыть чек"
    void printComment();            // "Печать комментария"
    void showOnDisplay();           // "Вывод на индикатор"
    void printBarcode();            // "Штрих-код EAN-13"
    void sellArticle();             // "Продать товар"
    void returnArticle();           // "Вернуть товар"
    void querySubtotal();           // "Подсумма"
    void subtotalAmountDiscount();  // subtotal "количественная"
    void subtotalPercentDiscount(); // subtotal "процентная"
    void taxGroupDiscount();        // "с налоговой группы"
    void goodsGroupDiscount();      // "с товарной группы"
    void pay();                     // "Оплатить"
    void closeReceipt();            // "Закрыть чек"
    void cancelReceipt();           // "Аннулирование всего чека"
    void queryTransaction();        // "Транзакция"
    void takeReceiptSum();
    void takeTransactionSum();

    void sell(bool sale);
    // The number typed into an edit, or the conversion error shown and nullopt.
    std::optional<double> numberIn(const QLineEdit* edit) const;
    std::optional<int> integerIn(const QLineEdit* edit) const;
    // Runs one operation as every button does; true when it was answered without error.
    bool send(const link::Operation& operation, const char* failureMessage) const;
    // Shows an answer field of hundredths as money in the label.
    void showMoney(QLabel* label, const std::string& field) const;

    std::unique_ptr<Ui::SalesWindow> m_ui;
    ArticleGrid* m_grid = nullptr;
    int m_selectedCode = -1;
    bool m_gridPressed = false; // a mouse button is down on the grid
};

} // namespace quorvex::ui
