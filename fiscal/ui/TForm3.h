#pragma once
// Window "Z-Отчет": prints the daily Z report and can delete all programmed articles after it.
#include <QDialog>

#include <memory>

namespace Ui {
class TForm3;
}

namespace quorvex::ui {

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // "Выполнить": the Z report with its message, then, when "с удалением артикулов" is
    // ticked, the deletion of all articles whatever the report's outcome.
    void Button1Click();
    // "Закрыть".
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TForm3> m_ui;
};

} // namespace quorvex::ui
