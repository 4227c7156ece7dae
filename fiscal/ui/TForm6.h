#pragma once
// Window "Нефискальный чек": composes a non-fiscal receipt line by line and prints it in one go.
// The composed lines stay until "Очистить чек", across closing and reopening the window.
#include "fiscal/NonFiscalReceipt.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TForm6;
}

namespace quorvex::ui {

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines.lines(); }

private:
    void Button1Click(); // "Добавить коментарий"
    void Button2Click(); // "Разделительная линия"
    void Button3Click(); // "Добавить штрих-код"
    void Button4Click(); // "Печать чека:"
    void Button5Click(); // "Закрыть чек"
    void Button6Click(); // "Очистить чек"

    // Shows the refusal, if any, and the lines as they are now.
    void showComposed(const char* refusal);

    std::unique_ptr<Ui::TForm6> m_ui;
    fiscal::NonFiscalLines m_lines;
};

} // namespace quorvex::ui
