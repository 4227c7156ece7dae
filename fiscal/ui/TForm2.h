#pragma once
// Window "Служебный внос/вынос": registers a service cash-in or cash-out of an amount.
#include <QDialog>

#include <memory>

namespace Ui {
class TForm2;
}

namespace quorvex::ui {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Every opening: the kind goes back to "Служебный внос".
    void FormActivate();
    // "Выполнить": checks the amount, sends it (negated for a cash-out) and reports the outcome.
    void Button1Click();
    // "Закрыть".
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TForm2> m_ui;
};

} // namespace quorvex::ui
