#pragma once
// Window "Нефискальный чек": composes a non-fiscal receipt line by line and prints it in one go.
// The composed lines stay until "Очистить чек", across closing and reopening the window.
#include "fiscal/NonFiscalReceipt.h"

#include <QDialog>

#include <memory>

namespace Ui {
class NonFiscalReceiptWindow;
}

namespace quorvex::ui {

class NonFiscalReceiptWindow : public QDialog {
    Q_OBJECT
public:
    explicit NonFiscalReceiptWindow(QWidget* parent = nullptr);
    ~NonFiscalReceiptWindow() override;

    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines.lines(); }

private:
    void addCommentLine();   // "Добавить коментарий"
    void addSeparatorLine(); // "Разделительная линия"
    void addBarcodeLine();   // "Добавить штрих-код"
    void printReceipt();     // "Печать чека:"
    void closeReceipt();     // "Закрыть чек"
    void clearReceipt();     // "Очистить чек"

    // Shows the refusal, if any, and the lines as they are now.
    void showComposed(const char* refusal);

    std::unique_ptr<Ui::NonFiscalReceiptWindow> m_ui;
    fiscal::NonFiscalLines m_lines;
};

} // namespace quorvex::ui
