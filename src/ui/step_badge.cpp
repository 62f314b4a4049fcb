#include "ui/step_badge.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvale::ui {

StepBadge::StepBadge(int step, const QString& tool_tip, QWidget* parent) : QWidget(parent), step_(step) {
  setObjectName(QStringLiteral("Image%1").arg(step));
  setFixedSize(16, 16);
  setToolTip(tool_tip);
  setCursor(Qt::PointingHandCursor);
}

void StepBadge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  // A dark blue disc with a light rim and a white digit, readable on any face colour.
  const QRectF disc = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75);
  painter.setPen(QPen(QColor(0xD8, 0xE4, 0xF4), 1.0));
  painter.setBrush(QColor(0x1F, 0x4E, 0x9A));
  painter.drawEllipse(disc);

  QFont digit_font = font();
  digit_font.setBold(true);
  digit_font.setPixelSize(11);
  painter.setFont(digit_font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(rect()).adjusted(0, 0, 0, -0.5), Qt::AlignCenter, QString::number(step_));
}

void StepBadge::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked(step_);
  QWidget::mouseReleaseEvent(event);
}

}  // namespace quorvale::ui
