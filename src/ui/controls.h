#pragma once

#include <QFont>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvale {
class MainWindowLogic;
}

namespace quorvale::ui {

class StepBadge;

// What the frames and lists of both pages say when hovered.
inline const QString kQuickHelpHint = QStringLiteral("Click on the circled numbers for Quick Help");

// The core's UTF-8 text as Qt text.
inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Local paths as the core takes them.
std::vector<std::string> Paths(const QStringList& paths);

// Names `widget` by its design name, which the tests and the help find it by.
template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

// A push button that never takes Enter as the page's default.
QPushButton* Button(const char* name, const QString& text, const QString& tip, QWidget* parent);
// The up and down buttons hold one character each.
QPushButton* ArrowButton(const char* name, const QString& text, const QString& tip, QWidget* parent);
QPushButton* HiddenButton(const char* name, const QString& text, const QString& tip, QWidget* parent);

QFont BoldFont(QFont font);
// The application's font with its weight set explicitly, so it does not inherit the
// bold weight of a frame caption.
QFont NormalFont();

// Sets a line's text only when it differs, so typing keeps its caret.
void ShowLine(QLineEdit* line, const std::string& text);

// The circled number of working `step`; a click shows that step's quick help.
StepBadge* QuickHelpBadge(int step, MainWindowLogic& logic, QWidget* parent);

}  // namespace quorvale::ui
