#pragma once
// Window "О программе": the program's name, version and authorship.
#include <QDialog>

#include <memory>

namespace Ui {
class TForm9;
}

namespace quorvex::ui {

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
    ~TForm9() override;

    // "Quorvex", "Версия <version>", the authors, one per line.
    [[nodiscard]] static QString aboutText();

private:
    std::unique_ptr<Ui::TForm9> ui;
};

} // namespace quorvex::ui
