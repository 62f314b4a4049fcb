#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <string_view>
#include <utility>
#include <vector>

#include "model/project.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QComboBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QRadioButton;

namespace quorvale {
class MainWindowLogic;
}  // namespace quorvale

namespace quorvale::ui {

// The Generate page: where the site goes, which viewer it uses, the run's status and
// progress, and the address to open. It forwards its controls' events to the
// publishing settings and the run controller and shows the state they leave.
class GeneratePage final : public QWidget {
  Q_OBJECT

 public:
  explicit GeneratePage(MainWindowLogic& logic, QWidget* parent = nullptr);

  // Shows the settings, the status caption, the buttons and the progress.
  void Render();
  void RenderProgress();
  // Shows the current status caption and repaints the label at once, without handing
  // control to the event loop.
  void RenderStatusCaption();
  // The status box follows the transcript, but not line by line: a run of thousands of
  // pictures adds lines far faster than a box can lay them out, and the window would
  // trail its run by seconds. What arrives is shown at most every kStatusRefreshMs,
  // and at once by FlushStatusText.
  //
  // Text added to the end of the transcript: appended to the box, not set whole again.
  void AppendStatusText(std::string_view text);
  // The transcript was replaced: the box shows it whole again.
  void RenderStatusText();
  // Shows now what the box is still to show.
  void FlushStatusText();
  // Sends the page's text box keys through `filter` first (the window's undo keys).
  void InstallUndoKeyFilter(QObject* filter);

 private:
  static constexpr int kStatusRefreshMs = 50;

  void Build();
  // Shows the status text now when it was last shown long enough ago, else when it is.
  void RefreshStatusSoon();
  QWidget* BuildViewerSettings();
  void Connect();

  MainWindowLogic& logic_;

  QString pending_status_;        // appended since the box was last shown
  bool status_stale_ = false;     // the whole transcript is to be shown again
  bool status_grew_ = false;      // lines were added: the box scrolls to its end
  QTimer* status_refresh_ = nullptr;
  QElapsedTimer status_shown_;

  QGroupBox* frmPublish_ = nullptr;
  QLineEdit* txtPublishDirectory_ = nullptr;
  QPushButton* btnPubDir_ = nullptr;
  QPushButton* btnClearDir_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  std::vector<std::pair<ViewerId, QRadioButton*>> viewerOptions_;  // one option per viewer, named by it
  QCheckBox* chkPublishPictures_ = nullptr;
  QCheckBox* chkKeepLocation_ = nullptr;
  QLineEdit* txtAppSource_ = nullptr;
  QLabel* lblSiteTitle_ = nullptr;
  QLineEdit* txtSiteTitle_ = nullptr;
  QLabel* lblSiteLanguage_ = nullptr;
  QComboBox* cboSiteLanguage_ = nullptr;
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
  QPushButton* btnOpenSite_ = nullptr;
  QLabel* lblUploadTo_ = nullptr;
  QLineEdit* txtUploadTo_ = nullptr;
  QPushButton* btnUpload_ = nullptr;
  QLabel* lblViewerHint_ = nullptr;
  QLabel* Label10_ = nullptr;
  QPlainTextEdit* lblApplicationURL_ = nullptr;
};

}  // namespace quorvale::ui
