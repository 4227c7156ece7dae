#pragma once
// The connection indicator of the main and second-registrar windows: a small square with
// rounded corners in one colour (red: not connected, green: connected).
#include <QColor>
#include <QFrame>

namespace quorvex::platform {

class ShapeIndicator : public QFrame {
    Q_OBJECT
public:
    explicit ShapeIndicator(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    // Green for a connected registrar, red otherwise.
    void setConnected(bool connected) { setColor(connected ? Qt::green : Qt::red); }
    [[nodiscard]] bool connected() const { return m_color == QColor(Qt::green); }
    [[nodiscard]] QColor color() const { return m_color; }
    [[nodiscard]] QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color = Qt::red;
};

} // namespace quorvex::platform
