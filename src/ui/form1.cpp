#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/product.h"
#include "ui/drop_list.h"
#include "ui/frm_help.h"
#include "ui/picture_preview.h"
#include "ui/step_badge.h"
#include "window/progress_text.h"

namespace quorvale::ui {
namespace {

// The client area the window opens with.
constexpr int kClientWidth = 683;
constexpr int kClientHeight = 507;

const QString kQuickHelpHint = QStringLiteral("Click on the circled numbers for Quick Help");
const QString kBadgeTip = QStringLiteral("Click for the Quick Help");

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Qt reads "[*]" in a window title as the place of the unsaved-changes mark and drops
// it; doubled, it shows as written.
QString LiteralWindowTitle(std::string_view text) {
  return Q(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// The transcript ends its lines with CR LF; the text box breaks lines at LF.
QString WithoutCarriageReturns(std::string_view text) { return Q(text).remove(QLatin1Char('\r')); }

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QPushButton* Button(const char* name, const QString& text, const QString& tip, QWidget* parent) {
  auto* button = Named(new QPushButton(text, parent), name);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

// The up and down buttons hold one character each.
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

// The application's font with its weight set explicitly, so it does not inherit the
// bold weight of a frame caption.
QFont NormalFont() {
  QFont font = QApplication::font();
  font.setBold(false);
  return font;
}

// A frame with a bold caption whose contents keep the normal font. When it carries a
// step badge, the badge sits in the blanks that open the caption.
class CaptionFrame final : public QGroupBox {
 public:
  CaptionFrame(const char* name, const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    setObjectName(QLatin1String(name));
    setFont(BoldFont(font()));
    contents_ = new QWidget(this);
    contents_->setFont(NormalFont());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(contents_);
  }

  QWidget* contents() const { return contents_; }

  void PutBadgeInCaption(StepBadge* badge) {
    badge_ = badge;
    badge_->setParent(this);
    badge_->raise();
    PlaceBadge();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QGroupBox::resizeEvent(event);
    PlaceBadge();
  }

 private:
  void PlaceBadge() {
    if (!badge_) return;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    badge_->move(label.left() + 1, label.center().y() - badge_->height() / 2 + 1);
  }

  QWidget* contents_ = nullptr;
  StepBadge* badge_ = nullptr;
};

// Shows `rows` in `list` with row `selected` current, without raising the list's signals.
// With `tips`, each row's tool tip is its whole text (a path wider than the list).
void ShowRows(QListWidget* list, const std::vector<std::string>& rows, int selected, bool tips = false) {
  const QSignalBlocker blocker(list);
  bool same = list->count() == static_cast<int>(rows.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == Q(rows[static_cast<std::size_t>(i)]);
  if (!same) {
    list->clear();
    for (const std::string& row : rows) {
      auto* item = new QListWidgetItem(Q(row), list);
      if (tips) item->setToolTip(item->text());
    }
  }
  list->clearSelection();
  list->setCurrentRow(selected);
}

std::vector<std::string> Paths(const QStringList& paths) {
  std::vector<std::string> converted;
  for (const QString& path : paths) converted.push_back(path.toStdString());
  return converted;
}

// Sets a line's text only when it differs, so typing keeps its caret.
void ShowLine(QLineEdit* line, const std::string& text) {
  const QString shown = Q(text);
  if (line->text() != shown) line->setText(shown);
}

}  // namespace

Form1::Form1(MainWindowLogic& logic, QWidget* parent) : QMainWindow(parent), logic_(logic) {
  setObjectName(QStringLiteral("Form1"));
  for (int step = 1; step <= 5; ++step) {
    badges_.push_back(new StepBadge(step, step == 3 ? QStringLiteral("Click the Quick Help") : kBadgeTip, this));
  }
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 6, 8, 4);
  layout->setSpacing(4);
  layout->addWidget(BuildTopStrip());

  SSTab1_ = Named(new QTabWidget(central), "SSTab1");
  SSTab1_->setToolTip(kQuickHelpHint);
  SSTab1_->addTab(BuildContentPage(), QStringLiteral("&Content"));
  SSTab1_->addTab(BuildGeneratePage(), QStringLiteral("&Generate"));
  layout->addWidget(SSTab1_, 1);
  layout->addWidget(BuildBottomStrip());
  setCentralWidget(central);

  Connect();
  setAcceptDrops(true);
  for (QWidget* box : {static_cast<QWidget*>(txtPictureComment_), static_cast<QWidget*>(txtPublishDirectory_)}) {
    box->installEventFilter(this);
  }
  logic_.SetObserver(this);
  // Runs go on a worker thread; their events come back through this window's event loop.
  logic_.run().RunGenerationInBackground(
      [this](std::function<void()> task) { QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection); });
  Render();
  txtStatus_->setPlainText(WithoutCarriageReturns(logic_.run().StatusText()));
  SizeAndCentre();
}

Form1::~Form1() {
  logic_.run().RunGenerationInBackground(nullptr);  // stops a run still going; nothing more is posted here
  logic_.SetObserver(nullptr);
}

void Form1::BuildMenus() {
  auto add = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys) {
    QAction* action = Named(menu->addAction(text), name);
    action->setShortcut(keys);
    return action;
  };
  mnuFile_ = Named(menuBar()->addMenu(QStringLiteral("&Project")), "mnuFile");
  mnuFileNew_ = add(mnuFile_, "mnuFileNew", QStringLiteral("&New"), QKeySequence(QStringLiteral("Ctrl+N")));
  mnuFileOpen_ = add(mnuFile_, "mnuFileOpen", QStringLiteral("&Open"), QKeySequence(QStringLiteral("Ctrl+O")));
  mnuFileSave_ = add(mnuFile_, "mnuFileSave", QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")));
  mnuFileSaveAs_ = add(mnuFile_, "mnuFileSaveAs", QStringLiteral("Save &As"), QKeySequence(QStringLiteral("Ctrl+A")));
  mnuBlank_ = add(mnuFile_, "mnuBlank", QString(35, QLatin1Char('-')), QKeySequence());
  mnuBlank_->setEnabled(false);
  mnuFileExit_ = add(mnuFile_, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")));
  mnuEdit_ = Named(menuBar()->addMenu(QStringLiteral("&Edit")), "mnuEdit");
  mnuEditUndo_ = add(mnuEdit_, "mnuEditUndo", QStringLiteral("&Undo"), QKeySequence(QStringLiteral("Ctrl+Z")));
  mnuEditRedo_ = add(mnuEdit_, "mnuEditRedo", QStringLiteral("&Redo"), QKeySequence(QStringLiteral("Ctrl+Y")));
  mnuEditRedo_->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  mnuHelp_ = Named(menuBar()->addMenu(QStringLiteral("&Help")), "mnuHelp");
  mnuHelpTopics_ = add(mnuHelp_, "mnuHelpTopics", QStringLiteral("&Help Topics"), QKeySequence(Qt::Key_F1));
  mnuAbout_ = add(mnuHelp_, "mnuAbout", QStringLiteral("&About"), QKeySequence());
}

QWidget* Form1::BuildTopStrip() {
  auto* strip = new QWidget;
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(2, 0, 2, 0);
  Label5_ = Named(new QLabel(QStringLiteral("Project:"), strip), "Label5");
  Label5_->setFont(BoldFont(Label5_->font()));
  sProjectName_ = Named(new QLabel(strip), "sProjectName");
  // Labels that show a path or a title show it as written, never as markup.
  sProjectName_->setTextFormat(Qt::PlainText);
  sProjectName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  sProjectName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  btnOpenProject_ = HiddenButton("btnOpenProject", QStringLiteral("Open"), QString(), strip);
  btnSaveProject_ = HiddenButton("btnSaveProject", QStringLiteral("Save"), QString(), strip);
  btnSaveAs_ = HiddenButton("btnSaveAs", QStringLiteral("Save As.."), QString(), strip);
  row->addWidget(Label5_);
  row->addWidget(sProjectName_, 1);
  row->addWidget(btnOpenProject_);
  row->addWidget(btnSaveProject_);
  row->addWidget(btnSaveAs_);
  return strip;
}

QWidget* Form1::BuildContentPage() {
  auto* page = new QWidget;
  auto* row = new QHBoxLayout(page);
  row->setContentsMargins(8, 8, 8, 8);
  row->setSpacing(10);

  // Albums on the left.
  auto* albums = new CaptionFrame("frmAlbum", QString(), page);
  frmAlbum_ = albums;
  frmAlbum_->setToolTip(kQuickHelpHint);
  albums->PutBadgeInCaption(badges_[0]);
  QWidget* in_albums = albums->contents();
  btnAddNew_ = Button("btnAddNew", QStringLiteral("Add Album.."), QStringLiteral("Add Album"), in_albums);
  btnDelete_ = Button("btnDelete", QStringLiteral("Remove Album"), QStringLiteral("Remove Selected Album"), in_albums);
  btnUp_ = ArrowButton("btnUp", QStringLiteral("^"), QStringLiteral("Move Album Up"), in_albums);
  btnDown_ = ArrowButton("btnDown", QStringLiteral("v"), QStringLiteral("Move Album Down"), in_albums);
  Label1_ = Named(new QLabel(QStringLiteral("Selected album:"), in_albums), "Label1");
  lblAlbum_ = Named(new QLabel(in_albums), "lblAlbum");
  lblAlbum_->setTextFormat(Qt::PlainText);
  lblAlbum_->setToolTip(kQuickHelpHint);
  lblAlbum_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  lblAlbum_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  AlbumList_ = Named(new DropList(in_albums), "AlbumList");
  AlbumList_->setToolTip(QStringLiteral("Album List"));

  // Pictures on the right.
  auto* pictures = new CaptionFrame("frmPictures", QString(), page);
  frmPictures_ = pictures;
  frmPictures_->setToolTip(kQuickHelpHint);
  pictures->PutBadgeInCaption(badges_[1]);
  QWidget* in_pictures = pictures->contents();
  btnAddpic_ = Button("btnAddpic", QStringLiteral("Add Picture(s).."), QStringLiteral("Add Pictures to Selected Album"),
                      in_pictures);
  btnRemovepic_ =
      Button("btnRemovepic", QStringLiteral("Remove Picture"), QStringLiteral("Remove Selected Picture"), in_pictures);
  btnPicUp_ = ArrowButton("btnPicUp", QStringLiteral("^"), QStringLiteral("Move Picture Up"), in_pictures);
  btnPicDown_ = ArrowButton("btnPicDown", QStringLiteral("v"), QStringLiteral("Move Picture Down"), in_pictures);
  Label2_ = Named(new QLabel(QStringLiteral("Co&mment for the selected picture:"), in_pictures), "Label2");
  txtPictureComment_ = Named(new QLineEdit(in_pictures), "txtPictureComment");
  txtPictureComment_->setToolTip(QStringLiteral("Add/Edit comment for selected picture"));
  Label2_->setBuddy(txtPictureComment_);
  PicList_ = Named(new DropList(in_pictures), "PicList");
  PicList_->setToolTip(QStringLiteral("Picture List for the Selected Album"));
  PicList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  picPreview_ = new PicturePreview(in_pictures);

  // Both frames stack the same way, so the two lists line up.
  lblAlbum_->setFixedHeight(txtPictureComment_->sizeHint().height());
  // The picture frame has the preview beside its comment box and list.
  auto stack = [](QWidget* contents, std::initializer_list<QPushButton*> buttons, QLabel* label, QWidget* field,
                  QListWidget* list, QWidget* beside) {
    auto* column = new QVBoxLayout(contents);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(4);
    auto* button_row = new QHBoxLayout;
    button_row->setSpacing(4);
    for (QPushButton* button : buttons) button_row->addWidget(button);
    button_row->addStretch(1);
    column->addLayout(button_row);
    column->addSpacing(4);
    column->addWidget(label);
    auto* fields = new QVBoxLayout;
    fields->setSpacing(4);
    fields->addWidget(field);
    fields->addSpacing(2);
    fields->addWidget(list, 1);
    auto* beside_row = new QHBoxLayout;
    beside_row->addLayout(fields, 1);
    if (beside) beside_row->addWidget(beside, 0, Qt::AlignTop);
    column->addLayout(beside_row, 1);
  };
  stack(in_albums, {btnAddNew_, btnDelete_, btnUp_, btnDown_}, Label1_, lblAlbum_, AlbumList_, nullptr);
  stack(in_pictures, {btnAddpic_, btnRemovepic_, btnPicUp_, btnPicDown_}, Label2_, txtPictureComment_, PicList_,
        picPreview_);

  row->addWidget(frmAlbum_, 1);
  row->addWidget(frmPictures_, 1);
  return page;
}

QWidget* Form1::BuildViewerSettings() {
  // The viewer choice: JAVA at start-up, then the project file's or the user's.
  Frame1_ = Named(new QGroupBox, "Frame1");
  Label4_ = Named(new QLabel(QStringLiteral("Application Type:"), Frame1_), "Label4");
  optionJava_ = Named(new QRadioButton(QStringLiteral("JAVA"), Frame1_), "optionJava");
  optionJava_->setToolTip(QStringLiteral("The Torvexa applet, for browsers with Java"));
  optionHTML_ = Named(new QRadioButton(QStringLiteral("HTML"), Frame1_), "optionHTML");
  optionHTML_->setToolTip(QStringLiteral("Pages for today's browsers, phones included"));
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
  grid->addWidget(optionJava_, 0, 1);
  grid->addWidget(optionHTML_, 0, 2);
  // The box's caption says what it publishes; the recommendation goes on a line of its
  // own below it, so the page keeps its width.
  grid->addWidget(Label3_, 1, 0);
  grid->addWidget(chkPublishPictures_, 1, 1, 1, 2);
  grid->addWidget(Label8_, 2, 0, 1, 3);
  grid->addWidget(Label7_, 3, 0);
  grid->addWidget(txtAppSource_, 3, 1);
  grid->addWidget(btnAppDir_, 3, 2);
  return Frame1_;
}

QWidget* Form1::BuildGeneratePage() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(6);  // the viewer settings and the progress row fit the fixed client area

  auto* publish = new CaptionFrame("frmPublish", QStringLiteral("Publish in Directory"), page);
  frmPublish_ = publish;
  QWidget* in_publish = publish->contents();
  txtPublishDirectory_ = Named(new QLineEdit(in_publish), "txtPublishDirectory");
  txtPublishDirectory_->setToolTip(QStringLiteral("Directory where the contents will be published"));
  btnPubDir_ = Button("btnPubDir", QStringLiteral("&Browse.."),
                      QStringLiteral("Browse to select the publishing directory"), in_publish);
  btnClearDir_ = Button("btnClearDir", QStringLiteral("Clear.."),
                        QStringLiteral("Clear the content from the publishing directory"), in_publish);
  auto* publish_row = new QHBoxLayout(in_publish);
  publish_row->setContentsMargins(8, 6, 8, 8);
  badges_[2]->setParent(in_publish);
  publish_row->addWidget(badges_[2]);
  publish_row->addWidget(txtPublishDirectory_, 1);
  publish_row->addWidget(btnPubDir_);
  publish_row->addWidget(btnClearDir_);
  column->addWidget(frmPublish_);
  chkKeepLocation_ = Named(new QCheckBox(QStringLiteral("Keep location data in published pictures"), page),
                           "chkKeepLocation");
  column->addWidget(chkKeepLocation_);
  column->addWidget(BuildViewerSettings());

  auto* status = new CaptionFrame("frmStatus", QStringLiteral("Generation Status"), page);
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
  // The box takes the height the settings above leave it, down to a few lines.
  txtStatus_->setMinimumHeight(48);
  prgGeneration_ = Named(new QProgressBar(in_status), "prgGeneration");
  prgGeneration_->setToolTip(QStringLiteral("Pictures done of all pictures, and the album being written"));
  prgGeneration_->setTextVisible(true);
  btnCancelGeneration_ = Button("btnCancelGeneration", QStringLiteral("Cancel"),
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

  btnGenerate_ = Button("btnGenerate", QStringLiteral("Ge&nerate >>"), QStringLiteral("Start Generation"), page);
  btnGenerate_->setMinimumWidth(110);
  auto* generate_row = new QHBoxLayout;
  generate_row->addStretch(1);
  badges_[3]->setParent(page);
  generate_row->addWidget(badges_[3]);
  generate_row->addWidget(btnGenerate_);
  column->addLayout(generate_row);

  Label10_ = Named(new QLabel(QStringLiteral("Access URL:"), page), "Label10");
  Label10_->setFont(BoldFont(Label10_->font()));
  lblApplicationURL_ = Named(new QPlainTextEdit(page), "lblApplicationURL");
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
  badges_[4]->setParent(page);
  url_row->addWidget(badges_[4], 0, Qt::AlignTop);
  url_row->addWidget(Label10_, 0, Qt::AlignTop);
  url_row->addWidget(lblApplicationURL_, 1);
  column->addLayout(url_row);
  return page;
}

QWidget* Form1::BuildBottomStrip() {
  auto* strip = new QWidget;
  auto* column = new QVBoxLayout(strip);
  column->setContentsMargins(0, 2, 0, 0);
  column->setSpacing(0);
  QFont times(QStringLiteral("Times New Roman"));
  times.setStyleHint(QFont::Serif);
  times.setPointSizeF(QApplication::font().pointSizeF());
  lblCopyright_ = Named(new QLabel(Q(kLegalNotice), strip), "lblCopyright");
  lblCopyright_->setFont(BoldFont(times));
  lblCopyright_->setAlignment(Qt::AlignCenter);
  Label6_ = Named(new QLabel(Q(kTermsOfUse), strip), "Label6");
  Label6_->setFont(times);
  Label6_->setAlignment(Qt::AlignCenter);
  column->addWidget(lblCopyright_);
  column->addWidget(Label6_);
  return strip;
}

void Form1::Connect() {
  // The project menu items run the handlers of the hidden project buttons.
  connect(mnuFileNew_, &QAction::triggered, this, [this] { logic_.session().NewProject(); });
  connect(mnuFileOpen_, &QAction::triggered, btnOpenProject_, &QPushButton::click);
  connect(mnuFileSave_, &QAction::triggered, btnSaveProject_, &QPushButton::click);
  connect(mnuFileSaveAs_, &QAction::triggered, btnSaveAs_, &QPushButton::click);
  connect(btnOpenProject_, &QPushButton::clicked, this, [this] { logic_.session().OpenProject(); });
  connect(btnSaveProject_, &QPushButton::clicked, this, [this] { logic_.session().SaveProject(); });
  connect(btnSaveAs_, &QPushButton::clicked, this, [this] { logic_.session().SaveProjectAs(); });
  connect(mnuFileExit_, &QAction::triggered, this, &QWidget::close);
  connect(mnuAbout_, &QAction::triggered, this, [this] { logic_.ShowAbout(); });
  connect(mnuEditUndo_, &QAction::triggered, this, [this] { logic_.session().Undo(); });
  connect(mnuEditRedo_, &QAction::triggered, this, [this] { logic_.session().Redo(); });

  // Reordering: the buttons, Ctrl+Up/Ctrl+Down in a list, and drag and drop within it.
  // A dropped row is moved once the drag has ended, so the list is not refilled under it.
  connect(btnUp_, &QPushButton::clicked, this, [this] { logic_.content().MoveAlbumUp(); });
  connect(btnDown_, &QPushButton::clicked, this, [this] { logic_.content().MoveAlbumDown(); });
  connect(btnPicUp_, &QPushButton::clicked, this, [this] { logic_.content().MovePictureUp(); });
  connect(btnPicDown_, &QPushButton::clicked, this, [this] { logic_.content().MovePictureDown(); });
  connect(AlbumList_, &DropList::MoveRequested, this,
          [this](int step) { step < 0 ? logic_.content().MoveAlbumUp() : logic_.content().MoveAlbumDown(); });
  connect(PicList_, &DropList::MoveRequested, this,
          [this](int step) { step < 0 ? logic_.content().MovePictureUp() : logic_.content().MovePictureDown(); });
  connect(
      AlbumList_, &DropList::RowDropped, this, [this](int from, int before) { logic_.content().MoveAlbumBefore(from, before); },
      Qt::QueuedConnection);
  connect(
      PicList_, &DropList::RowDropped, this, [this](int from, int before) { logic_.content().MovePictureBefore(from, before); },
      Qt::QueuedConnection);

  // Drops from outside: the logic says what each list takes.
  const auto accepts = [this](DropTarget target) {
    return [this, target](const QStringList& paths) {
      return logic_.DropActionFor(target, Paths(paths)) != DropAction::kRefuse;
    };
  };
  AlbumList_->SetAcceptsPaths(accepts(DropTarget::kAlbumList));
  PicList_->SetAcceptsPaths(accepts(DropTarget::kPictureList));
  connect(
      AlbumList_, &DropList::PathsDropped, this,
      [this](const QStringList& paths) { logic_.DropPaths(DropTarget::kAlbumList, Paths(paths)); },
      Qt::QueuedConnection);
  connect(
      PicList_, &DropList::PathsDropped, this,
      [this](const QStringList& paths) { logic_.DropPaths(DropTarget::kPictureList, Paths(paths)); },
      Qt::QueuedConnection);

  connect(btnAddNew_, &QPushButton::clicked, this, [this] { logic_.content().AddAlbumCommand(); });
  connect(btnDelete_, &QPushButton::clicked, this, [this] { logic_.content().RemoveAlbumCommand(); });
  connect(AlbumList_, &QListWidget::currentRowChanged, this, [this](int row) { logic_.content().OnAlbumClicked(row); });
  connect(AlbumList_, &QListWidget::itemDoubleClicked, this, [this] { logic_.content().EditAlbumTitle(); });
  // A Ctrl+click can clear a list's selection without changing its current row; the
  // next turn of the event loop shows the logic's selection again.
  connect(AlbumList_, &QListWidget::itemSelectionChanged, this, &Form1::Render, Qt::QueuedConnection);

  connect(btnAddpic_, &QPushButton::clicked, this, [this] { logic_.content().AddPicturesCommand(); });
  connect(btnRemovepic_, &QPushButton::clicked, this, [this] { logic_.content().RemovePictureCommand(); });
  connect(PicList_, &QListWidget::currentRowChanged, this, [this](int row) { logic_.content().OnPictureClicked(row); });
  connect(PicList_, &QListWidget::itemSelectionChanged, this, &Form1::Render, Qt::QueuedConnection);
  connect(PicList_, &QListWidget::itemDoubleClicked, this, [this] {
    txtPictureComment_->setFocus(Qt::OtherFocusReason);
    txtPictureComment_->end(false);
  });
  // A text that differs from the logic's came from the user: typed, pasted, or set by a
  // screen reader or voice control through the accessibility interface. The window's
  // own updates always show the logic's text.
  connect(txtPictureComment_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text.toStdString() != logic_.content().CommentText()) logic_.content().OnCommentEdited(text.toStdString());
  });
  connect(txtPublishDirectory_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text.toStdString() != logic_.settings().PublishDirectory) logic_.publishing().OnPublishDirectoryEdited(text.toStdString());
  });
  connect(btnPubDir_, &QPushButton::clicked, this, [this] { logic_.publishing().BrowseForDirectory(); });
  // Only a click is the user's choice; the view setting the buttons is not.
  connect(optionJava_, &QRadioButton::clicked, this, [this] { logic_.publishing().OnViewerOptionChosen(kJavaViewerType); });
  connect(optionHTML_, &QRadioButton::clicked, this, [this] { logic_.publishing().OnViewerOptionChosen(kHtmlViewerType); });
  connect(chkKeepLocation_, &QCheckBox::clicked, this, [this](bool checked) { logic_.publishing().OnKeepLocationClicked(checked); });
  connect(chkPublishPictures_, &QCheckBox::clicked, this,
          [this](bool checked) { logic_.publishing().OnPublishPicturesClicked(checked); });
  // The run goes on a worker thread; the status label, the progress bar and the status
  // box follow it through the observer while the window keeps drawing.
  connect(btnGenerate_, &QPushButton::clicked, this, [this] { logic_.run().GenerateCommand(); });
  connect(btnCancelGeneration_, &QPushButton::clicked, this, [this] { logic_.run().CancelGeneration(); });
  // Typing into the access URL is undone once the edit has finished.
  connect(
      lblApplicationURL_, &QPlainTextEdit::textChanged, this,
      [this] { logic_.publishing().OnAccessUrlEdited(lblApplicationURL_->toPlainText().toStdString()); }, Qt::QueuedConnection);

  connect(SSTab1_, &QTabWidget::currentChanged, this, [this](int page) { logic_.OnTabChanged(page); });

  // Clearing and help.
  connect(btnClearDir_, &QPushButton::clicked, this, [this] { logic_.run().ClearPublishingDirectory(); });
  for (StepBadge* badge : badges_) {
    connect(badge, &StepBadge::clicked, this, [this](int step) { logic_.ShowQuickHelp(step); });
  }
  connect(mnuHelpTopics_, &QAction::triggered, this, [this] { FrmHelp::ShowModal(this); });
}

void Form1::closeEvent(QCloseEvent* event) {
  if (logic_.ConfirmClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void Form1::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void Form1::dragMoveEvent(QDragMoveEvent* event) {
  if (logic_.DropActionFor(DropTarget::kElsewhere, Paths(LocalPaths(event->mimeData()))) == DropAction::kRefuse) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void Form1::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = Paths(LocalPaths(event->mimeData()));
  if (logic_.DropActionFor(DropTarget::kElsewhere, paths) == DropAction::kRefuse) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  // Opened once the drop has ended: the save question must not run inside the drag.
  QMetaObject::invokeMethod(
      this, [this, paths] { logic_.DropPaths(DropTarget::kElsewhere, paths); }, Qt::QueuedConnection);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : {mnuEditUndo_, mnuEditRedo_}) {
      // Not taken by the box: the shortcut goes to the Edit menu.
      if (action->shortcuts().contains(pressed)) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::Render() {
  setWindowTitle(LiteralWindowTitle(logic_.session().WindowCaption()));
  sProjectName_->setText(Q(logic_.session().ProjectName()));
  {
    const QSignalBlocker blocker(SSTab1_);
    SSTab1_->setCurrentIndex(logic_.CurrentPage());
  }

  frmAlbum_->setTitle(Q(logic_.content().AlbumFrameCaption()));
  lblAlbum_->setText(Q(logic_.content().SelectedAlbumLabel()));
  ShowRows(AlbumList_, logic_.content().AlbumRows(), logic_.project().SelectedAlbum());
  frmPictures_->setTitle(Q(logic_.content().PictureFrameCaption()));
  const std::vector<std::string> pictures = logic_.content().PictureRows();
  const int picture = logic_.project().SelectedPicture();
  ShowRows(PicList_, pictures, picture, true);
  picPreview_->ShowPicture(picture >= 0 ? Q(pictures[static_cast<std::size_t>(picture)]) : QString());
  ShowLine(txtPictureComment_, logic_.content().CommentText());
  btnAddpic_->setEnabled(logic_.content().AddPictureEnabled());
  btnRemovepic_->setEnabled(logic_.content().RemovePictureEnabled());
  btnUp_->setEnabled(logic_.content().MoveAlbumUpEnabled());
  btnDown_->setEnabled(logic_.content().MoveAlbumDownEnabled());
  btnPicUp_->setEnabled(logic_.content().MovePictureUpEnabled());
  btnPicDown_->setEnabled(logic_.content().MovePictureDownEnabled());
  mnuEditUndo_->setEnabled(logic_.CanUndo());
  mnuEditRedo_->setEnabled(logic_.CanRedo());

  ShowLine(txtPublishDirectory_, logic_.settings().PublishDirectory);
  {
    const QSignalBlocker blocker(lblApplicationURL_);
    const QString url = Q(logic_.publishing().AccessUrl());
    if (lblApplicationURL_->toPlainText() != url) lblApplicationURL_->setPlainText(url);
  }
  optionJava_->setChecked(logic_.publishing().JavaOptionSelected());
  optionHTML_->setChecked(logic_.publishing().HtmlOptionSelected());
  optionHTML_->setEnabled(logic_.publishing().HtmlOptionEnabled());
  chkPublishPictures_->setChecked(logic_.settings().PublishPictures == 1);
  chkPublishPictures_->setEnabled(logic_.publishing().PublishPicturesEnabled());
  chkKeepLocation_->setChecked(logic_.settings().KeepLocation);
  chkKeepLocation_->setEnabled(logic_.publishing().KeepLocationEnabled());
  chkKeepLocation_->setToolTip(QString::fromUtf8(logic_.publishing().KeepLocationToolTip()));
  Label3_->setEnabled(logic_.publishing().PublishLabelsEnabled());
  Label8_->setEnabled(logic_.publishing().PublishLabelsEnabled());
  ShowLine(txtAppSource_, logic_.settings().ApplicationSourceDirectory);
  lblStatus_->setText(Q(logic_.run().StatusCaption()));

  // While a run goes on, nothing that edits the project or starts another command can
  // be used; the pages can still be looked at, and Help and Exit stay.
  const bool idle = !logic_.run().GenerationRunning();
  for (QWidget* control : {static_cast<QWidget*>(frmAlbum_), static_cast<QWidget*>(frmPictures_),
                           static_cast<QWidget*>(frmPublish_)}) {
    control->setEnabled(idle);
  }
  for (QAction* action : {mnuFileNew_, mnuFileOpen_, mnuFileSave_, mnuFileSaveAs_}) action->setEnabled(idle);
  btnGenerate_->setEnabled(logic_.run().GenerateEnabled() && idle);
  btnCancelGeneration_->setEnabled(!idle);
  RenderProgress(logic_.run().Progress());
}

void Form1::RenderProgress(const GenerationProgress& progress) {
  prgGeneration_->setMaximum(std::max(progress.pictures_total, 1));
  prgGeneration_->setValue(std::min(progress.pictures_done, prgGeneration_->maximum()));
  // The bar reads "%" as the start of a placeholder; an album title may hold one.
  prgGeneration_->setFormat(Q(ProgressText(progress)).replace(QLatin1Char('%'), QStringLiteral("%%")));
}

void Form1::SizeAndCentre() {
  // The central widget is the client area; the menu bar sits above it.
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void Form1::AppendStatusText(std::string_view text) {
  QTextCursor cursor(txtStatus_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(WithoutCarriageReturns(text));
  txtStatus_->verticalScrollBar()->setValue(txtStatus_->verticalScrollBar()->maximum());
}

void Form1::StatusCaptionChanged() {
  lblStatus_->setText(Q(logic_.run().StatusCaption()));
  lblStatus_->repaint();
}

void Form1::StateChanged() { Render(); }

void Form1::GenerationProgressed(const GenerationProgress& progress) { RenderProgress(progress); }

void Form1::CloseRequested() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

void Form1::TranscriptAppended(std::string_view appended) { AppendStatusText(appended); }

void Form1::TranscriptReplaced() { txtStatus_->setPlainText(WithoutCarriageReturns(logic_.run().StatusText())); }

}  // namespace quorvale::ui
