#pragma once

#include <QGroupBox>

namespace quorvale::ui {

class StepBadge;

// A frame with a bold caption whose contents keep the normal font. When it carries a
// step badge, the badge sits in the blanks that open the caption.
class CaptionFrame final : public QGroupBox {
 public:
  CaptionFrame(const char* name, const QString& title, QWidget* parent);

  // Where the frame's controls go.
  QWidget* contents() const { return contents_; }

  void PutBadgeInCaption(StepBadge* badge);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceBadge();

  QWidget* contents_ = nullptr;
  StepBadge* badge_ = nullptr;
};

}  // namespace quorvale::ui
