#pragma once
// Window "Z-Отчет": prints the daily Z report and can delete all programmed articles after it.
#include <QDialog>

#include <memory>

namespace Ui {
class ZReportWindow;
}

namespace quorvex::ui {

class ZReportWindow : public QDialog {
    Q_OBJECT
public:
    explicit ZReportWindow(QWidget* parent = nullptr);
    ~ZReportWindow() override;

    // "Выполнить": the Z report with its message, then, when "с удалением артикулов" is
    // ticked, the deletion of all articles whatever the report's outcome.
    void printZReport();
    // "Закрыть".
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::ZReportWindow> m_ui;
};

} // namespace quorvex::ui
