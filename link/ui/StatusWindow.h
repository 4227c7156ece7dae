#pragma once
// Window "Байты состояния регистратора": the six status bytes of the last answer, bit by bit.
// The first opening after a connect queries the registrar; later openings show the status of
// whatever command was answered last, and "Обновить" queries again.
#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>

class QCheckBox;
class QWindow;

QT_BEGIN_NAMESPACE
namespace Ui {
class StatusWindow;
}
QT_END_NAMESPACE

namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

class StatusWindow : public QDialog {
    Q_OBJECT
public:
    // link: where the status query goes; nullptr means the process's link.
    explicit StatusWindow(QWidget* parent = nullptr, link::Link* link = nullptr);
    ~StatusWindow() override;

    // Run once per opening, when the window is on screen: decides whether to query, then
    // refreshes.
    void refreshOnOpening();
    // "Обновить": query unless skipping, then show the result copy's status bytes; a query refused
    // before sending clears them and says why.
    void refreshStatus();
    // "Закрыть".
    void closeWindow();

    static constexpr int kStatusBytes = 6;
    static constexpr int kBitsPerByte = 8;

    // Shown, but the activation has not run yet (the window is not on screen yet).
    [[nodiscard]] bool activationPending() const { return m_activationPending; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activateWhenOnScreen();
    void runPendingActivation();
    void makeCheckBoxesReadOnly();
    void fitLaptopScreen();
    void showStatusBytes(const std::array<std::uint8_t, kStatusBytes>& status);
    // Every box unchecked: no status bytes to show.
    void clearStatusBytes();
    void centreOnScreen();

    std::unique_ptr<Ui::StatusWindow> m_ui;
    link::Link& m_link;
    std::array<std::array<QCheckBox*, kBitsPerByte>, kStatusBytes> m_boxes{};
    bool m_skipQuery = false;
    bool m_activationPending = false;
    QWindow* m_watchedWindow = nullptr; // whose exposure starts the activation
};

} // namespace quorvex::ui
