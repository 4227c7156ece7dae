#pragma once
// The main window's connection indicator: a small square with rounded corners in one colour.
#include <QColor>
#include <QFrame>

namespace quorvex::ui {

class ShapeIndicator : public QFrame {
    Q_OBJECT
public:
    explicit ShapeIndicator(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    [[nodiscard]] QColor color() const { return m_color; }
    [[nodiscard]] QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color = Qt::red;
};

} // namespace quorvex::ui
