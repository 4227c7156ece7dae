#pragma once
// Window "Параметры связи с эквайером": reads the registrar's network parameters, lets the
// operator edit them, writes them back, and saves them to or loads them from a text file.
#include "netcfg/NetworkParameters.h"

#include <QDialog>

#include <array>
#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class AcquirerLinkWindow;
}
QT_END_NAMESPACE

class QLineEdit;

namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

class AcquirerLinkWindow : public QDialog {
    Q_OBJECT
public:
    // link: where the commands go; nullptr means the process's link.
    explicit AcquirerLinkWindow(QWidget* parent = nullptr, link::Link* link = nullptr);
    ~AcquirerLinkWindow() override;

    // The window "Состояние регистратора" opens ("Байты состояния регистратора").
    void setStatusWindow(QDialog* status) { m_statusWindow = status; }

    // On every activation; only the first one of the run empties the registrar's members.
    void clearOnFirstOpening();
    void readNetworkSettings();  // "Прочитать настройки сети"
    void writeNetworkSettings(); // "Установить настройки сети"
    void loadFromFile();         // "Загрузить из файла"
    void saveToFile();           // "Сохранить в файл"
    void openStatusWindow();     // "Состояние регистратора"
    void exitWindow();           // "Выход"

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] netcfg::NetworkMembers shownMembers() const;
    // Shows DHCP and the first `count` - 1 texts of the set; later boxes keep their text.
    void showMembers(const netcfg::NetworkMembers& members, int count);

    std::unique_ptr<Ui::AcquirerLinkWindow> m_ui;
    link::Link& m_link;
    std::array<QLineEdit*, netcfg::kMemberCount - 1> m_boxes{}; // members 2..8
    QDialog* m_statusWindow = nullptr;
    bool m_activatedOnce = false; // one window per run, so this is the run's flag
};

} // namespace quorvex::ui
