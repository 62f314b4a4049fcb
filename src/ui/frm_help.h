#pragma once

#include <array>

#include <QDialog>

#include "help/help_browser.h"
#include "help/help_topics.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorvale::ui {

// The help window: the topic links on the left, the current topic's heading and text on
// the right, the topic buttons below. Which topic is shown and where the buttons lead is
// decided by the core's HelpBrowser; this class only lays out and shows.
class FrmHelp : public QDialog {
  Q_OBJECT

 public:
  explicit FrmHelp(QWidget* owner);

  // Opens a new help window modally over `owner` (at the first topic) and returns when
  // the user has closed it.
  static void ShowModal(QWidget* owner);

  int CurrentTopic() const { return browser_.CurrentTopic(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DisplayHelp();
  void Go(bool moved);  // shows the topic again when the browser moved

  quorvale::HelpBrowser browser_;

  QLabel* lblTitle = nullptr;
  QLabel* lblHeading = nullptr;
  QPlainTextEdit* Text1 = nullptr;
  std::array<QLabel*, kHelpTopicCount> Label{};
  QPushButton* btnFirst = nullptr;
  QPushButton* btnPrev = nullptr;
  QPushButton* btnNext = nullptr;
  QPushButton* btnLast = nullptr;
  QPushButton* btnClose = nullptr;
  QLabel* CopyRightLabel = nullptr;
};

}  // namespace quorvale::ui
