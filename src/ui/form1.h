#pragma once

#include <QMainWindow>

#include <string>
#include <string_view>
#include <vector>

#include "window/main_window.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quorvale::ui {

class DropList;
class PicturePreview;
class StepBadge;

// The main window: it lays out the controls, forwards their events to the window's
// logic and shows the state the logic leaves after each command. Every control's
// objectName is its design name.
class Form1 final : public QMainWindow, public WindowObserver {
  Q_OBJECT

 public:
  explicit Form1(MainWindowLogic& logic, QWidget* parent = nullptr);
  ~Form1() override;

  // Adds text to the end of the status box without setting the whole box again.
  void AppendStatusText(std::string_view text);

  // WindowObserver
  void StateChanged() override;
  void TranscriptAppended(std::string_view appended) override;
  void TranscriptReplaced() override;
  // Shows the current status caption and repaints the label at once, without handing
  // control to the event loop.
  void StatusCaptionChanged() override;
  void GenerationProgressed(const GenerationProgress& progress) override;
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
  QWidget* BuildContentPage();
  QWidget* BuildGeneratePage();
  QWidget* BuildBottomStrip();
  QWidget* BuildViewerSettings();
  void Connect();
  void Render();
  void RenderProgress(const GenerationProgress& progress);
  void SizeAndCentre();

  MainWindowLogic& logic_;

  // Menu bar.
  QMenu* mnuFile_ = nullptr;
  QAction* mnuFileNew_ = nullptr;
  QAction* mnuFileOpen_ = nullptr;
  QAction* mnuFileSave_ = nullptr;
  QAction* mnuFileSaveAs_ = nullptr;
  QAction* mnuBlank_ = nullptr;
  QAction* mnuFileExit_ = nullptr;
  QMenu* mnuEdit_ = nullptr;
  QAction* mnuEditUndo_ = nullptr;
  QAction* mnuEditRedo_ = nullptr;
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

  // Content page.
  QGroupBox* frmAlbum_ = nullptr;
  QPushButton* btnAddNew_ = nullptr;
  QPushButton* btnDelete_ = nullptr;
  QPushButton* btnUp_ = nullptr;
  QPushButton* btnDown_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* lblAlbum_ = nullptr;
  DropList* AlbumList_ = nullptr;
  QGroupBox* frmPictures_ = nullptr;
  QPushButton* btnAddpic_ = nullptr;
  QPushButton* btnRemovepic_ = nullptr;
  QPushButton* btnPicUp_ = nullptr;
  QPushButton* btnPicDown_ = nullptr;
  QLabel* Label2_ = nullptr;
  QLineEdit* txtPictureComment_ = nullptr;
  DropList* PicList_ = nullptr;
  PicturePreview* picPreview_ = nullptr;

  // Generate page.
  QGroupBox* frmPublish_ = nullptr;
  QLineEdit* txtPublishDirectory_ = nullptr;
  QPushButton* btnPubDir_ = nullptr;
  QPushButton* btnClearDir_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QRadioButton* optionJava_ = nullptr;
  QRadioButton* optionHTML_ = nullptr;
  QCheckBox* chkPublishPictures_ = nullptr;
  QCheckBox* chkKeepLocation_ = nullptr;
  QLineEdit* txtAppSource_ = nullptr;
  QPushButton* btnAppDir_ = nullptr;
  QLabel* Label3_ = nullptr;
  QLabel* Label4_ = nullptr;
  QLabel* Label7_ = nullptr;
  QLabel* Label8_ = nullptr;
  QGroupBox* frmStatus_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  QPlainTextEdit* txtStatus_ = nullptr;
  QProgressBar* prgGeneration_ = nullptr;
  QPushButton* btnCancelGeneration_ = nullptr;
  QPushButton* btnGenerate_ = nullptr;
  QLabel* Label10_ = nullptr;
  QPlainTextEdit* lblApplicationURL_ = nullptr;

  // Bottom strip.
  QLabel* lblCopyright_ = nullptr;
  QLabel* Label6_ = nullptr;

  std::vector<StepBadge*> badges_;
};

}  // namespace quorvale::ui
