#pragma once

#include <QMainWindow>

#include <string>
#include <string_view>
#include <vector>

#include "window/main_window.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;

namespace quorvale::ui {

class ContentPage;
class GeneratePage;

// The main window: the menus, the project strip, the tabs holding the Content and
// Generate pages, and the notices below them. It forwards the menus' and the tabs'
// events to the window's logic, listens to the logic for the whole window and has each
// page show its part of the state after every command. Every control's objectName is
// its design name.
class Form1 final : public QMainWindow, public WindowObserver {
  Q_OBJECT

 public:
  explicit Form1(MainWindowLogic& logic, QWidget* parent = nullptr);
  ~Form1() override;

  // WindowObserver
  void StateChanged() override;
  void TranscriptAppended(std::string_view appended) override;
  void TranscriptReplaced() override;
  // Shows the current status caption and repaints the label at once, without handing
  // control to the event loop.
  void StatusCaptionChanged() override;
  void GenerationProgressed(const GenerationProgress& progress) override;
  void ProgressBarChanged() override;
  void CloseRequested() override;

 protected:
  // Closing by any means asks the project's close question first; the window stays
  // open when the save the user asked for did not happen, and during a run.
  void closeEvent(QCloseEvent* event) override;
  // A project file dropped anywhere on the window opens; anything else is refused.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Ctrl+Z and Ctrl+Y in a text box undo and redo the project's edits, not the box's.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildTopStrip();
  QWidget* BuildBottomStrip();
  void Connect();
  void Render();
  void RenderRecentProjects();
  void SizeAndCentre();

  MainWindowLogic& logic_;

  // Menu bar.
  QMenu* mnuFile_ = nullptr;
  QAction* mnuFileNew_ = nullptr;
  QAction* mnuFileOpen_ = nullptr;
  QAction* mnuFileSave_ = nullptr;
  QAction* mnuFileSaveAs_ = nullptr;
  QMenu* mnuFileRecent_ = nullptr;
  std::vector<std::string> shown_recent_;  // the entries mnuFileRecent holds now
  QAction* mnuBlank_ = nullptr;
  QAction* mnuFileExit_ = nullptr;
  QMenu* mnuEdit_ = nullptr;
  QAction* mnuEditUndo_ = nullptr;
  QAction* mnuEditRedo_ = nullptr;
  QAction* mnuEditSelectAll_ = nullptr;
  QLabel* lblStatusNote_ = nullptr;
  QAction* mnuEditFindMoved_ = nullptr;
  QAction* mnuEditSortByName_ = nullptr;
  QAction* mnuEditSortByDate_ = nullptr;
  QMenu* mnuHelp_ = nullptr;
  QAction* mnuHelpTopics_ = nullptr;
  QAction* mnuAbout_ = nullptr;

  // Top strip.
  QLabel* Label5_ = nullptr;
  QLabel* sProjectName_ = nullptr;
  QPushButton* btnOpenProject_ = nullptr;
  QPushButton* btnSaveProject_ = nullptr;
  QPushButton* btnSaveAs_ = nullptr;

  QTabWidget* SSTab1_ = nullptr;

  ContentPage* content_page_ = nullptr;
  GeneratePage* generate_page_ = nullptr;

  // Bottom strip.
  QLabel* lblCopyright_ = nullptr;
  QLabel* Label6_ = nullptr;
};

}  // namespace quorvale::ui
