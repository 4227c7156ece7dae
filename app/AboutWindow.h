#pragma once
// Window "О программе": the program's name, version and authorship.
#include <QDialog>

#include <memory>

namespace Ui {
class AboutWindow;
}

namespace quorvex::ui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    ~AboutWindow() override;

    // "Quorvex", "Версия <version>", the authors, one per line.
    [[nodiscard]] static QString aboutText();

private:
    std::unique_ptr<Ui::AboutWindow> m_ui;
};

} // namespace quorvex::ui
