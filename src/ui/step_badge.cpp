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

  // A black disc with a white digit, as the help topics describe the step marks.
  const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x10, 0x10, 0x10));
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
