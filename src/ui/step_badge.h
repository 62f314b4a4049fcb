#pragma once

#include <QWidget>

namespace quorvale::ui {

// A 16 x 16 circled step number. The window places one beside each working step;
// a click asks for that step's quick help.
class StepBadge : public QWidget {
  Q_OBJECT

 public:
  StepBadge(int step, const QString& tool_tip, QWidget* parent = nullptr);

  int step() const { return step_; }
  QSize sizeHint() const override { return QSize(16, 16); }

 signals:
  void clicked(int step);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int step_;
};

}  // namespace quorvale::ui
