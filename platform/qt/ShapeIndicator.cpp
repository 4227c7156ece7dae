#include "platform/qt/ShapeIndicator.h"

#include <QPainter>

namespace quorvex::platform {

ShapeIndicator::ShapeIndicator(QWidget* parent) : QFrame(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ShapeIndicator::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void ShapeIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_color);
    const QRectF square = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawRoundedRect(square, 5, 5);
}

} // namespace quorvex::platform
