#pragma once
// Window "Параметры связи с эквайером": reads the registrar's network parameters, lets the
// operator edit them, writes them back, and saves them to or loads them from a text file.
#include "netcfg/NetworkParameters.h"

#include <QDialog>

#include <array>
#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class TForm15;
}
QT_END_NAMESPACE

class QLineEdit;

namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

class TForm15 : public QDialog {
    Q_OBJECT
public:
    // link: where the commands go; nullptr means the process's link.
    explicit TForm15(QWidget* parent = nullptr, link::Link* link = nullptr);
    ~TForm15() override;

    // The window "Состояние регистратора" opens ("Байты состояния регистратора").
    void setStatusWindow(QDialog* status) { m_statusWindow = status; }

    // On every activation; only the first one of the run empties the registrar's members.
    void FormActivate();
    void Button1Click(); // "Прочитать настройки сети"
    void Button2Click(); // "Установить настройки сети"
    void Button4Click(); // "Загрузить из файла"
    void Button5Click(); // "Сохранить в файл"
    void Button6Click(); // "Состояние регистратора"
    void Button3Click(); // "Выход"

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] netcfg::NetworkMembers shownMembers() const;
    // Shows DHCP and the first `count` - 1 texts of the set; later boxes keep their text.
    void showMembers(const netcfg::NetworkMembers& members, int count);

    std::unique_ptr<Ui::TForm15> m_ui;
    link::Link& m_link;
    std::array<QLineEdit*, netcfg::kMemberCount - 1> m_boxes{}; // members 2..8
    QDialog* m_statusWindow = nullptr;
    bool m_activatedOnce = false; // one window per run, so this is the run's flag
};

} // namespace quorvex::ui
