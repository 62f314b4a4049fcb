#include "ui/controls.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "ui/step_badge.h"
#include "window/main_window.h"

namespace quorvale::ui {

std::vector<std::string> Paths(const QStringList& paths) {
  std::vector<std::string> converted;
  for (const QString& path : paths) converted.push_back(path.toStdString());
  return converted;
}

QPushButton* Button(const char* name, const QString& text, const QString& tip, QWidget* parent) {
  auto* button = Named(new QPushButton(text, parent), name);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

QPushButton* ArrowButton(const char* name, const QString& text, const QString& tip, QWidget* parent) {
  QPushButton* button = Button(name, text, tip, parent);
  button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 8);
  return button;
}

QPushButton* HiddenButton(const char* name, const QString& text, const QString& tip, QWidget* parent) {
  QPushButton* button = Button(name, text, tip, parent);
  button->setVisible(false);
  return button;
}

QFont BoldFont(QFont font) {
  font.setBold(true);
  return font;
}

QFont NormalFont() {
  QFont font = QApplication::font();
  font.setBold(false);
  return font;
}

void ShowLine(QLineEdit* line, const std::string& text) {
  const QString shown = Q(text);
  if (line->text() != shown) line->setText(shown);
}

StepBadge* QuickHelpBadge(int step, MainWindowLogic& logic, QWidget* parent) {
  auto* badge = new StepBadge(
      step, step == 3 ? QStringLiteral("Click the Quick Help") : QStringLiteral("Click for the Quick Help"), parent);
  QObject::connect(badge, &StepBadge::clicked, parent, [&logic](int clicked) { logic.ShowQuickHelp(clicked); });
  return badge;
}

}  // namespace quorvale::ui
