#include "ui/generate_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QUrl>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/caption_frame.h"
#include "ui/controls.h"
#include "ui/step_badge.h"
#include "window/main_window.h"
#include "window/progress_text.h"
#include "viewers/viewer_registry.h"

namespace quorvale::ui {
namespace {

// The transcript ends its lines with CR LF; the text box breaks lines at LF.
QString WithoutCarriageReturns(std::string_view text) { return Q(text).remove(QLatin1Char('\r')); }

}  // namespace

GeneratePage::GeneratePage(MainWindowLogic& logic, QWidget* parent) : QWidget(parent), logic_(logic) {
  status_refresh_ = new QTimer(this);
  status_refresh_->setSingleShot(true);
  connect(status_refresh_, &QTimer::timeout, this, &GeneratePage::FlushStatusText);
  Build();
  Connect();
}

QWidget* GeneratePage::BuildViewerSettings() {
  // The viewer choice, one option per viewer: the first at start-up, then the project
  // file's or the user's.
  Frame1_ = Named(new QGroupBox, "Frame1");
  Label4_ = Named(new QLabel(QStringLiteral("Application Type:"), Frame1_), "Label4");
  for (const ViewerDescriptor& viewer : Viewers()) {
    auto* option = Named(new QRadioButton(Q(viewer.label), Frame1_), viewer.option_name.c_str());
    option->setToolTip(Q(viewer.tool_tip));
    viewerOptions_.push_back({viewer.id, option});
  }
  const int columns = static_cast<int>(viewerOptions_.size());
  Label3_ = Named(new QLabel(QStringLiteral("Publish Pictures:"), Frame1_), "Label3");
  chkPublishPictures_ =
      Named(new QCheckBox(QString::fromUtf8(kPublishPicturesCaption), Frame1_), "chkPublishPictures");
  Label8_ = Named(new QLabel(QStringLiteral("(Recommended if you are staging to burn the CD or publish on the web)"),
                             Frame1_),
                  "Label8");
  Label7_ = Named(new QLabel(QStringLiteral("Source Directory:"), Frame1_), "Label7");
  txtAppSource_ = Named(new QLineEdit(Frame1_), "txtAppSource");
  btnAppDir_ = Button("btnAppDir", QStringLiteral("Browse.."), QString(), Frame1_);
  for (QWidget* hidden : {static_cast<QWidget*>(Label7_), static_cast<QWidget*>(txtAppSource_),
                          static_cast<QWidget*>(btnAppDir_)}) {
    hidden->setVisible(false);
    hidden->setEnabled(false);
  }
  auto* grid = new QGridLayout(Frame1_);
  grid->addWidget(Label4_, 0, 0);
  for (int n = 0; n < columns; ++n) grid->addWidget(viewerOptions_[static_cast<std::size_t>(n)].second, 0, n + 1);
  // The box's caption says what it publishes; the recommendation goes on a line of its
  // own below it, so the page keeps its width.
  grid->addWidget(Label3_, 1, 0);
  grid->addWidget(chkPublishPictures_, 1, 1, 1, columns);
  grid->addWidget(Label8_, 2, 0, 1, columns + 1);
  lblViewerHint_ = Named(new QLabel(Frame1_), "lblViewerHint");
  lblViewerHint_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblViewerHint_->setTextFormat(Qt::PlainText);
  grid->addWidget(lblViewerHint_, 4, 0, 1, columns + 1);
  grid->addWidget(Label7_, 3, 0);
  grid->addWidget(txtAppSource_, 3, 1);
  grid->addWidget(btnAppDir_, 3, 2);
  return Frame1_;
}

void GeneratePage::Build() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(5);  // the viewer settings and the progress row fit the fixed client area

  auto* publish = new CaptionFrame("frmPublish", QStringLiteral("Publish in Directory"), this);
  frmPublish_ = publish;
  QWidget* in_publish = publish->contents();
  txtPublishDirectory_ = Named(new QLineEdit(in_publish), "txtPublishDirectory");
  txtPublishDirectory_->setToolTip(QStringLiteral("Directory where the contents will be published"));
  btnPubDir_ = Button("btnPubDir", QStringLiteral("&Browse.."),
                      QStringLiteral("Browse to select the publishing directory"), in_publish);
  btnClearDir_ = Button("btnClearDir", QStringLiteral("C&lear.."),
                        QStringLiteral("Clear the content from the publishing directory"), in_publish);
  auto* publish_row = new QHBoxLayout(in_publish);
  publish_row->setContentsMargins(8, 6, 8, 8);
  publish_row->addWidget(QuickHelpBadge(3, logic_, in_publish));
  publish_row->addWidget(txtPublishDirectory_, 1);
  publish_row->addWidget(btnPubDir_);
  publish_row->addWidget(btnClearDir_);
  column->addWidget(frmPublish_);
  chkKeepLocation_ = Named(new QCheckBox(QStringLiteral("Keep location data in published pictures"), this),
                           "chkKeepLocation");
  // The HTML site's title and the language of its pages' own words.
  lblSiteTitle_ = Named(new QLabel(QStringLiteral("Site title:"), this), "lblSiteTitle");
  txtSiteTitle_ = Named(new QLineEdit(this), "txtSiteTitle");
  txtSiteTitle_->setPlaceholderText(QStringLiteral("The project file's name"));
  txtSiteTitle_->setToolTip(QStringLiteral("The title on the site's home page and in its page titles"));
  lblSiteTitle_->setBuddy(txtSiteTitle_);
  lblSiteLanguage_ = Named(new QLabel(QStringLiteral("Language:"), this), "lblSiteLanguage");
  cboSiteLanguage_ = Named(new QComboBox(this), "cboSiteLanguage");
  cboSiteLanguage_->setToolTip(QStringLiteral("The language of the site's own words, such as \"All albums\""));
  for (const std::string& name : PublishingSettings::SiteLanguageNames()) cboSiteLanguage_->addItem(Q(name));
  lblSiteLanguage_->setBuddy(cboSiteLanguage_);
  // They share the keep-location row, so the page keeps its height.
  auto* site_row = new QHBoxLayout;
  site_row->addWidget(chkKeepLocation_);
  site_row->addSpacing(12);
  site_row->addWidget(lblSiteTitle_);
  site_row->addWidget(txtSiteTitle_, 1);
  site_row->addWidget(lblSiteLanguage_);
  site_row->addWidget(cboSiteLanguage_);
  column->addLayout(site_row);
  column->addWidget(BuildViewerSettings());

  auto* status = new CaptionFrame("frmStatus", QStringLiteral("Generation Status"), this);
  frmStatus_ = status;
  QWidget* in_status = status->contents();
  lblStatus_ = Named(new QLabel(in_status), "lblStatus");
  lblStatus_->setTextFormat(Qt::PlainText);
  lblStatus_->setAlignment(Qt::AlignCenter);
  lblStatus_->setFont(BoldFont(lblStatus_->font()));
  QPalette status_palette = lblStatus_->palette();
  status_palette.setColor(QPalette::WindowText, status_palette.color(QPalette::Highlight));
  lblStatus_->setPalette(status_palette);
  lblStatus_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  txtStatus_ = Named(new QPlainTextEdit(in_status), "txtStatus");
  txtStatus_->setToolTip(QStringLiteral("Generation status"));
  txtStatus_->setReadOnly(true);
  txtStatus_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtStatus_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtStatus_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The box takes the height the settings above leave it, and never less than five
  // lines and its scroll bar: the window grows to keep them.
  txtStatus_->setMinimumHeight(5 * txtStatus_->fontMetrics().lineSpacing() +
                               txtStatus_->horizontalScrollBar()->sizeHint().height() + 2 * txtStatus_->frameWidth() + 8);
  prgGeneration_ = Named(new QProgressBar(in_status), "prgGeneration");
  prgGeneration_->setToolTip(QStringLiteral("Pictures done of all pictures, and the album being written"));
  prgGeneration_->setTextVisible(true);
  btnCancelGeneration_ = Button("btnCancelGeneration", QStringLiteral("C&ancel"),
                                QStringLiteral("Stop the generation after the file in hand"), in_status);
  auto* progress_row = new QHBoxLayout;
  progress_row->addWidget(prgGeneration_, 1);
  progress_row->addWidget(btnCancelGeneration_);
  auto* status_column = new QVBoxLayout(in_status);
  status_column->setContentsMargins(8, 4, 8, 8);
  status_column->addWidget(lblStatus_);
  status_column->addLayout(progress_row);
  status_column->addWidget(txtStatus_, 1);
  column->addWidget(frmStatus_, 1);

  btnGenerate_ = Button("btnGenerate", QStringLiteral("Ge&nerate >>"), QStringLiteral("Start Generation"), this);
  btnGenerate_->setMinimumWidth(110);
  auto* generate_row = new QHBoxLayout;
  // Where Upload sends the site, and Upload, on the row of the buttons that finish the
  // work, so the page keeps its height.
  lblUploadTo_ = Named(new QLabel(QStringLiteral("Upload &to:"), this), "lblUploadTo");
  txtUploadTo_ = Named(new QLineEdit(this), "txtUploadTo");
  txtUploadTo_->setPlaceholderText(QStringLiteral("sftp://user@host/path"));
  txtUploadTo_->setToolTip(Q(PublishingSettings::UploadAddressToolTip()));
  lblUploadTo_->setBuddy(txtUploadTo_);
  btnUpload_ = Button("btnUpload", QStringLiteral("&Upload"),
                      QStringLiteral("Copy the generated site to the address, sending only what changed"), this);
  generate_row->addWidget(lblUploadTo_);
  generate_row->addWidget(txtUploadTo_, 1);
  generate_row->addWidget(btnUpload_);
  generate_row->addSpacing(12);
  generate_row->addWidget(QuickHelpBadge(4, logic_, this));
  btnOpenSite_ = Button("btnOpenSite", QStringLiteral("&Open Site"),
                        QStringLiteral("Open the generated site's home page in the default browser"), this);
  generate_row->addWidget(btnOpenSite_);
  generate_row->addWidget(btnGenerate_);
  column->addLayout(generate_row);

  Label10_ = Named(new QLabel(QStringLiteral("Access URL:"), this), "Label10");
  Label10_->setFont(BoldFont(Label10_->font()));
  lblApplicationURL_ = Named(new QPlainTextEdit(this), "lblApplicationURL");
  lblApplicationURL_->setToolTip(QStringLiteral(
      "Select, Copy (Ctrl-C) and Paste (Ctrl-V) this text in Web Browser to view the albums after Generation."));
  lblApplicationURL_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  lblApplicationURL_->setTabChangesFocus(true);
  QPalette url_palette = lblApplicationURL_->palette();
  url_palette.setColor(QPalette::Base, url_palette.color(QPalette::Button));
  url_palette.setColor(QPalette::Text, Qt::blue);
  lblApplicationURL_->setPalette(url_palette);
  lblApplicationURL_->setFixedHeight(2 * lblApplicationURL_->fontMetrics().lineSpacing() + 12);
  auto* url_row = new QHBoxLayout;
  url_row->addWidget(QuickHelpBadge(5, logic_, this), 0, Qt::AlignTop);
  url_row->addWidget(Label10_, 0, Qt::AlignTop);
  url_row->addWidget(lblApplicationURL_, 1);
  column->addLayout(url_row);
}

void GeneratePage::Connect() {
  connect(txtPublishDirectory_, &QLineEdit::textChanged, this,
          [this](const QString& text) { logic_.publishing().OnPublishDirectoryEdited(text.toStdString()); });
  connect(btnPubDir_, &QPushButton::clicked, this, [this] { logic_.publishing().BrowseForDirectory(); });
  // Only a click is the user's choice; the view setting the buttons is not.
  for (const auto& [viewer, option] : viewerOptions_) {
    connect(option, &QRadioButton::clicked, this, [this, id = viewer] { logic_.publishing().OnViewerOptionChosen(id); });
  }
  connect(chkKeepLocation_, &QCheckBox::clicked, this, [this](bool checked) { logic_.publishing().OnKeepLocationClicked(checked); });
  connect(txtSiteTitle_, &QLineEdit::textEdited, this,
          [this](const QString& text) { logic_.publishing().OnSiteTitleEdited(text.toStdString()); });
  connect(cboSiteLanguage_, &QComboBox::activated, this,
          [this](int index) { logic_.publishing().OnSiteLanguageChosen(index); });
  connect(chkPublishPictures_, &QCheckBox::clicked, this,
          [this](bool checked) { logic_.publishing().OnPublishPicturesClicked(checked); });
  // The run goes on a worker thread; the status label, the progress bar and the status
  // box follow it through the observer while the window keeps drawing.
  connect(btnGenerate_, &QPushButton::clicked, this, [this] { logic_.run().GenerateCommand(); });
  connect(btnCancelGeneration_, &QPushButton::clicked, this, [this] { logic_.Cancel(); });
  // The address is taken when the user has finished typing: a plain ftp:// address asks
  // first, and half an address is no setting.
  connect(txtUploadTo_, &QLineEdit::editingFinished, this, [this] {
    txtUploadTo_->setModified(false);  // from now on the box shows the setting again
    logic_.publishing().OnUploadAddressEdited(txtUploadTo_->text().toStdString());
  });
  // The upload goes on a worker thread, reporting in the status box and progress bar.
  connect(btnUpload_, &QPushButton::clicked, this, [this] { logic_.upload().UploadCommand(); });
  // Typing into the access URL is undone once the edit has finished.
  connect(
      lblApplicationURL_, &QPlainTextEdit::textChanged, this,
      [this] { logic_.publishing().OnAccessUrlEdited(lblApplicationURL_->toPlainText().toStdString()); }, Qt::QueuedConnection);
  connect(btnOpenSite_, &QPushButton::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(Q(logic_.run().SiteHomePage()))); });
  connect(btnClearDir_, &QPushButton::clicked, this, [this] { logic_.run().ClearPublishingDirectory(); });
}

void GeneratePage::InstallUndoKeyFilter(QObject* filter) { txtPublishDirectory_->installEventFilter(filter); }

void GeneratePage::Render() {
  ShowLine(txtPublishDirectory_, logic_.settings().PublishDirectory);
  {
    const QSignalBlocker blocker(lblApplicationURL_);
    const QString url = Q(logic_.publishing().AccessUrl());
    if (lblApplicationURL_->toPlainText() != url) lblApplicationURL_->setPlainText(url);
  }
  const bool settings_enabled = logic_.publishing().SettingsEnabled();
  for (const auto& [viewer, option] : viewerOptions_) {
    option->setChecked(viewer == logic_.publishing().ChosenViewer());
    option->setEnabled(settings_enabled);
  }
  chkPublishPictures_->setChecked(logic_.publishing().PublishPicturesChecked());
  chkPublishPictures_->setEnabled(logic_.publishing().PublishPicturesEnabled());
  chkKeepLocation_->setChecked(logic_.settings().KeepLocation);
  chkKeepLocation_->setEnabled(logic_.publishing().KeepLocationEnabled());
  chkKeepLocation_->setToolTip(Q(logic_.publishing().KeepLocationToolTip()));
  ShowLine(txtSiteTitle_, logic_.publishing().SiteTitle());
  cboSiteLanguage_->setCurrentIndex(logic_.publishing().SiteLanguageIndex());
  for (QWidget* site_text : {static_cast<QWidget*>(lblSiteTitle_), static_cast<QWidget*>(txtSiteTitle_),
                             static_cast<QWidget*>(lblSiteLanguage_), static_cast<QWidget*>(cboSiteLanguage_)}) {
    site_text->setEnabled(logic_.publishing().SiteTextsEnabled());
  }
  Label3_->setEnabled(logic_.publishing().PublishLabelsEnabled());
  Label8_->setEnabled(logic_.publishing().PublishLabelsEnabled());
  ShowLine(txtAppSource_, logic_.settings().ApplicationSourceDirectory);
  lblStatus_->setText(Q(logic_.run().StatusCaption()));
  // While a run goes on, nothing here edits the project or starts another run.
  const bool idle = !logic_.run().GenerationRunning() && !logic_.upload().UploadRunning();
  frmPublish_->setEnabled(settings_enabled);
  btnGenerate_->setEnabled(logic_.run().GenerateEnabled() && idle);
  btnCancelGeneration_->setEnabled(!idle);
  // What the user is typing there is not the setting yet: it stays until they finish.
  if (!txtUploadTo_->isModified()) ShowLine(txtUploadTo_, logic_.publishing().UploadAddress());
  lblUploadTo_->setEnabled(settings_enabled);
  txtUploadTo_->setEnabled(settings_enabled);
  btnUpload_->setEnabled(logic_.upload().UploadEnabled());
  btnOpenSite_->setEnabled(logic_.run().OpenSiteEnabled());
  lblViewerHint_->setText(Q(logic_.publishing().ViewerHint()));
  lblViewerHint_->setVisible(!lblViewerHint_->text().isEmpty());
  RenderProgress();
}

void GeneratePage::RenderProgress() {
  const ProgressBarState& progress = logic_.run().ProgressBar();
  prgGeneration_->setMaximum(std::max(progress.maximum, 1));
  prgGeneration_->setValue(std::min(progress.value, prgGeneration_->maximum()));
  // The bar reads "%" as the start of a placeholder; an album title may hold one.
  prgGeneration_->setFormat(Q(progress.text).replace(QLatin1Char('%'), QStringLiteral("%%")));
}

void GeneratePage::RenderStatusCaption() {
  lblStatus_->setText(Q(logic_.run().StatusCaption()));
  lblStatus_->repaint();
}

void GeneratePage::AppendStatusText(std::string_view text) {
  if (!status_stale_) pending_status_ += WithoutCarriageReturns(text);  // else the whole text shows it
  status_grew_ = true;
  RefreshStatusSoon();
}

void GeneratePage::RenderStatusText() {
  status_stale_ = true;
  pending_status_.clear();
  RefreshStatusSoon();
}

void GeneratePage::RefreshStatusSoon() {
  if (status_refresh_->isActive()) return;  // due already
  const qint64 since = status_shown_.isValid() ? status_shown_.elapsed() : kStatusRefreshMs;
  if (since >= kStatusRefreshMs) {
    FlushStatusText();
  } else {
    status_refresh_->start(static_cast<int>(kStatusRefreshMs - since));
  }
}

void GeneratePage::FlushStatusText() {
  status_refresh_->stop();
  if (status_stale_) {
    txtStatus_->setPlainText(WithoutCarriageReturns(logic_.run().StatusText()));
  } else if (!pending_status_.isEmpty()) {
    QTextCursor cursor(txtStatus_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(pending_status_);
  }
  if (status_grew_) txtStatus_->verticalScrollBar()->setValue(txtStatus_->verticalScrollBar()->maximum());
  pending_status_.clear();
  status_stale_ = status_grew_ = false;
  status_shown_.start();
}

}  // namespace quorvale::ui
