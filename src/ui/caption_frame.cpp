#include "ui/caption_frame.h"

#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>

#include "ui/controls.h"
#include "ui/step_badge.h"

namespace quorvale::ui {

CaptionFrame::CaptionFrame(const char* name, const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  setObjectName(QLatin1String(name));
  setFont(BoldFont(font()));
  contents_ = new QWidget(this);
  contents_->setFont(NormalFont());
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(contents_);
}

void CaptionFrame::PutBadgeInCaption(StepBadge* badge) {
  badge_ = badge;
  badge_->setParent(this);
  badge_->raise();
  PlaceBadge();
}

void CaptionFrame::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  PlaceBadge();
}

void CaptionFrame::PlaceBadge() {
  if (!badge_) return;
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
  badge_->move(label.left() + 1, label.center().y() - badge_->height() / 2 + 1);
}

}  // namespace quorvale::ui
