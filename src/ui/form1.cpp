#include "ui/form1.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/product.h"
#include "ui/content_page.h"
#include "ui/controls.h"
#include "ui/drop_list.h"
#include "ui/frm_help.h"
#include "ui/generate_page.h"

namespace quorvale::ui {
namespace {

// The client area the window opens with.
constexpr int kClientWidth = 683;
constexpr int kClientHeight = 507;

// Qt reads "[*]" in a window title as the place of the unsaved-changes mark and drops
// it; doubled, it shows as written.
QString LiteralWindowTitle(std::string_view text) {
  return Q(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

}  // namespace

Form1::Form1(MainWindowLogic& logic, QWidget* parent) : QMainWindow(parent), logic_(logic) {
  setObjectName(QStringLiteral("Form1"));
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 6, 8, 4);
  layout->setSpacing(4);
  layout->addWidget(BuildTopStrip());

  SSTab1_ = Named(new QTabWidget(central), "SSTab1");
  SSTab1_->setToolTip(kQuickHelpHint);
  content_page_ = new ContentPage(logic_);
  generate_page_ = new GeneratePage(logic_);
  SSTab1_->addTab(content_page_, QStringLiteral("&Content"));
  SSTab1_->addTab(generate_page_, QStringLiteral("&Generate"));
  layout->addWidget(SSTab1_, 1);
  layout->addWidget(BuildBottomStrip());
  setCentralWidget(central);

  Connect();
  setAcceptDrops(true);
  content_page_->InstallUndoKeyFilter(this);
  generate_page_->InstallUndoKeyFilter(this);
  logic_.SetObserver(this);
  // Runs go on a worker thread; their events come back through this window's event loop.
  const auto post = [this](std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
  };
  logic_.run().RunGenerationInBackground(post);
  logic_.upload().RunUploadsInBackground(post);
  Render();
  generate_page_->RenderStatusText();
  SizeAndCentre();
}

Form1::~Form1() {
  // Stops a run or an upload still going; nothing more is posted here.
  logic_.run().RunGenerationInBackground(nullptr);
  logic_.upload().RunUploadsInBackground(nullptr);
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
  mnuFileRecent_ = Named(mnuFile_->addMenu(QStringLiteral("&Recent Projects")), "mnuFileRecent");
  mnuBlank_ = add(mnuFile_, "mnuBlank", QString(35, QLatin1Char('-')), QKeySequence());
  mnuBlank_->setEnabled(false);
  mnuFileExit_ = add(mnuFile_, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")));
  mnuEdit_ = Named(menuBar()->addMenu(QStringLiteral("&Edit")), "mnuEdit");
  mnuEditUndo_ = add(mnuEdit_, "mnuEditUndo", QStringLiteral("&Undo"), QKeySequence(QStringLiteral("Ctrl+Z")));
  mnuEditRedo_ = add(mnuEdit_, "mnuEditRedo", QStringLiteral("&Redo"), QKeySequence(QStringLiteral("Ctrl+Y")));
  mnuEditRedo_->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  mnuEdit_->addSeparator();
  // Ctrl+A is Save As: selecting every picture of the album takes Ctrl+Shift+A.
  mnuEditSelectAll_ = add(mnuEdit_, "mnuEditSelectAll", QStringLiteral("Select &All Pictures"),
                          QKeySequence(QStringLiteral("Ctrl+Shift+A")));
  mnuEditSortByName_ = add(mnuEdit_, "mnuEditSortByName", QStringLiteral("Sort by &Name"), QKeySequence());
  mnuEditSortByDate_ = add(mnuEdit_, "mnuEditSortByDate", QStringLiteral("Sort by &Date Taken"), QKeySequence());
  mnuEditFindMoved_ = add(mnuEdit_, "mnuEditFindMoved", QStringLiteral("&Find Moved Pictures..."), QKeySequence());
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
  // The status line: shown while there is something to say about the open project.
  lblStatusNote_ = Named(new QLabel(strip), "lblStatusNote");
  lblStatusNote_->setTextFormat(Qt::PlainText);
  lblStatusNote_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblStatusNote_->setVisible(false);
  column->addWidget(lblStatusNote_);
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
  connect(mnuEditSelectAll_, &QAction::triggered, this, [this] { logic_.content().SelectAllPictures(); });
  connect(mnuEditSortByName_, &QAction::triggered, this, [this] { logic_.content().SortPicturesByName(); });
  connect(mnuEditSortByDate_, &QAction::triggered, this, [this] { logic_.content().SortPicturesByDateTaken(); });
  connect(mnuEditFindMoved_, &QAction::triggered, this, [this] { logic_.FindMovedPictures(); });
  // Escape stops a run or an upload as Cancel does; with none going it does nothing.
  auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(cancel, &QShortcut::activated, this, [this] { logic_.Cancel(); });
  connect(SSTab1_, &QTabWidget::currentChanged, this, [this](int page) { logic_.OnTabChanged(page); });
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

  content_page_->Render();
  mnuEditUndo_->setEnabled(logic_.CanUndo());
  mnuEditRedo_->setEnabled(logic_.CanRedo());

  generate_page_->Render();
  // While a run goes on, nothing that edits the project or starts another command can
  // be used; the pages can still be looked at, and Help and Exit stay.
  const bool idle = !logic_.run().GenerationRunning();
  for (QAction* action : {mnuFileNew_, mnuFileOpen_, mnuFileSave_, mnuFileSaveAs_}) action->setEnabled(idle);
  mnuEditSelectAll_->setEnabled(logic_.content().SelectAllEnabled() && idle);
  mnuEditFindMoved_->setEnabled(logic_.FindMovedPicturesEnabled());
  mnuEditSortByName_->setEnabled(logic_.content().SelectAllEnabled() && idle);
  mnuEditSortByDate_->setEnabled(logic_.content().SortByDateEnabled() && idle);
  RenderRecentProjects();
  mnuFileRecent_->setEnabled(idle && !shown_recent_.empty());
  lblStatusNote_->setText(Q(logic_.StatusNote()));
  lblStatusNote_->setVisible(!lblStatusNote_->text().isEmpty());
}

void Form1::RenderRecentProjects() {
  const std::vector<std::string>& paths = logic_.recent().Paths();
  if (paths == shown_recent_) return;
  shown_recent_ = paths;
  mnuFileRecent_->clear();
  int number = 0;
  for (const std::string& path : paths) {
    // "&1" to "&8": each entry has its digit as its key; an "&" in a path is shown as one.
    QString text = Q(path);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = mnuFileRecent_->addAction(QLatin1Char('&') + QString::number(++number) + QLatin1Char(' ') + text);
    connect(action, &QAction::triggered, this, [this, path] { logic_.session().OpenRecentProject(path); });
  }
}

void Form1::SizeAndCentre() {
  // The central widget is the client area; the menu bar sits above it. The Generate
  // page's later rows (site texts, upload) may need more height than the first
  // release's window had: then the window is as tall as they need.
  const int client_height = std::max(kClientHeight, centralWidget()->minimumSizeHint().height());
  resize(kClientWidth, client_height + menuBar()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void Form1::StatusCaptionChanged() { generate_page_->RenderStatusCaption(); }

void Form1::StateChanged() {
  // A run or an upload that ends shows its last lines with its end.
  generate_page_->FlushStatusText();
  Render();
}

void Form1::GenerationProgressed(const GenerationProgress&) { generate_page_->RenderProgress(); }

void Form1::ProgressBarChanged() { generate_page_->RenderProgress(); }

void Form1::CloseRequested() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

void Form1::TranscriptAppended(std::string_view appended) { generate_page_->AppendStatusText(appended); }

void Form1::TranscriptReplaced() { generate_page_->RenderStatusText(); }

}  // namespace quorvale::ui
