#include "ui/content_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/caption_frame.h"
#include "ui/controls.h"
#include "ui/drop_list.h"
#include "ui/picture_preview.h"
#include "ui/thumbnail_cache.h"
#include "window/main_window.h"

namespace quorvale::ui {
namespace {

// Shows `rows` in `list` with row `selected` current, without raising the list's signals.
void ShowRows(QListWidget* list, const std::vector<std::string>& rows, int selected) {
  const QSignalBlocker blocker(list);
  bool same = list->count() == static_cast<int>(rows.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == Q(rows[static_cast<std::size_t>(i)]);
  if (!same) {
    list->clear();
    for (const std::string& row : rows) new QListWidgetItem(Q(row), list);
  }
  list->clearSelection();
  list->setCurrentRow(selected);
}

// What a picture row keeps beside its text: the picture's path, and its badges.
constexpr int kPathRole = Qt::UserRole;
constexpr int kCommentRole = Qt::UserRole + 1;
constexpr int kMissingRole = Qt::UserRole + 2;
constexpr int kThumbnailShownRole = Qt::UserRole + 3;
// The side of a row's thumbnail, in device-independent pixels.
constexpr int kThumbnailSide = 32;

// A round badge with `glyph` in the corner of a thumbnail.
void PaintBadge(QPainter& painter, const QRectF& box, const QColor& colour, const QString& glyph) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(box);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(static_cast<int>(box.height() * 0.75));
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(box, Qt::AlignCenter, glyph);
}

// The screen reader's name for a control whose text says little ("^", "v").
template <typename W>
W* Spoken(W* widget, const QString& name) {
  widget->setAccessibleName(name);
  return widget;
}

}  // namespace

ContentPage::ContentPage(MainWindowLogic& logic, QWidget* parent) : QWidget(parent), logic_(logic) {
  Build();
  Connect();
}

void ContentPage::Build() {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 8, 8, 8);
  row->setSpacing(10);

  // Albums on the left.
  auto* albums = new CaptionFrame("frmAlbum", QString(), this);
  frmAlbum_ = albums;
  frmAlbum_->setToolTip(kQuickHelpHint);
  albums->PutBadgeInCaption(QuickHelpBadge(1, logic_, albums));
  QWidget* in_albums = albums->contents();
  btnAddNew_ = Button("btnAddNew", QStringLiteral("&Add Album.."), QStringLiteral("Add Album"), in_albums);
  btnDelete_ = Button("btnDelete", QStringLiteral("&Remove Album"), QStringLiteral("Remove Selected Album"), in_albums);
  btnUp_ = Spoken(ArrowButton("btnUp", QStringLiteral("^"), QStringLiteral("Move Album Up"), in_albums),
                  QStringLiteral("Move album up"));
  btnDown_ = Spoken(ArrowButton("btnDown", QStringLiteral("v"), QStringLiteral("Move Album Down"), in_albums),
                    QStringLiteral("Move album down"));
  Label1_ = Named(new QLabel(QStringLiteral("Selected album:"), in_albums), "Label1");
  lblAlbum_ = Named(new QLabel(in_albums), "lblAlbum");
  lblAlbum_->setTextFormat(Qt::PlainText);
  lblAlbum_->setToolTip(kQuickHelpHint);
  lblAlbum_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  lblAlbum_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  AlbumList_ = Named(new DropList(in_albums), "AlbumList");
  AlbumList_->setToolTip(QStringLiteral("Album List"));
  AlbumList_->setAccessibleName(QStringLiteral("Albums"));
  AlbumList_->setSelectionMode(QAbstractItemView::SingleSelection);

  // Pictures on the right.
  auto* pictures = new CaptionFrame("frmPictures", QString(), this);
  frmPictures_ = pictures;
  frmPictures_->setToolTip(kQuickHelpHint);
  pictures->PutBadgeInCaption(QuickHelpBadge(2, logic_, pictures));
  QWidget* in_pictures = pictures->contents();
  btnAddpic_ = Button("btnAddpic", QStringLiteral("Add Pic&ture(s).."), QStringLiteral("Add Pictures to Selected Album"),
                      in_pictures);
  btnRemovepic_ =
      Button("btnRemovepic", QStringLiteral("Remo&ve Picture"), QStringLiteral("Remove Selected Picture"), in_pictures);
  btnPicUp_ = Spoken(ArrowButton("btnPicUp", QStringLiteral("^"), QStringLiteral("Move Picture Up"), in_pictures),
                     QStringLiteral("Move picture up"));
  btnPicDown_ = Spoken(ArrowButton("btnPicDown", QStringLiteral("v"), QStringLiteral("Move Picture Down"), in_pictures),
                       QStringLiteral("Move picture down"));
  Label2_ = Named(new QLabel(QStringLiteral("Co&mment for the selected picture:"), in_pictures), "Label2");
  txtPictureComment_ = Named(new QLineEdit(in_pictures), "txtPictureComment");
  txtPictureComment_->setToolTip(QStringLiteral("Add/Edit comment for selected picture"));
  Label2_->setBuddy(txtPictureComment_);
  PicList_ = Named(new DropList(in_pictures), "PicList");
  PicList_->setToolTip(QStringLiteral("Picture List for the Selected Album"));
  PicList_->setAccessibleName(QStringLiteral("Pictures"));
  // Shift and Ctrl with a click or an arrow key select several pictures to remove,
  // move or drag together.
  PicList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Each row shows its thumbnail, read on a worker thread at the row's size in device
  // pixels, so it stays sharp at 2x.
  PicList_->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
  PicList_->setUniformItemSizes(true);
  const qreal ratio = PicList_->devicePixelRatioF();
  thumbnails_ = new ThumbnailCache(QSize(kThumbnailSide, kThumbnailSide) * ratio, logic_.run().picture_imaging(), this);
  PicList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  picPreview_ = new PicturePreview(logic_.run().picture_imaging(), in_pictures);

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
}

void ContentPage::Connect() {
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
      AlbumList_, &DropList::RowsDropped, this,
      [this](const QList<int>& rows, int before) { logic_.content().MoveAlbumBefore(rows.front(), before); },
      Qt::QueuedConnection);
  connect(
      PicList_, &DropList::RowsDropped, this,
      [this](const QList<int>& rows, int before) {
        logic_.content().MovePicturesBefore(std::vector<int>(rows.begin(), rows.end()), before);
      },
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
  // Enter and F2 rename the selected album, Delete removes it, as the buttons do.
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_F2)}) {
    auto* rename = new QShortcut(keys, AlbumList_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(rename, &QShortcut::activated, this, [this] { logic_.content().EditAlbumTitle(); });
  }
  connect(AlbumList_, &DropList::RemoveRequested, this, [this] { logic_.content().RemoveAlbumCommand(); });
  connect(PicList_, &DropList::RemoveRequested, this, [this] { logic_.content().RemovePictureCommand(); });
  // A Ctrl+click can clear a list's selection without changing its current row; the
  // next turn of the event loop shows the logic's selection again.
  connect(AlbumList_, &QListWidget::itemSelectionChanged, this, &ContentPage::Render, Qt::QueuedConnection);

  connect(thumbnails_, &ThumbnailCache::Ready, this, [this](const QString& path) {
    for (int row = 0; row < PicList_->count(); ++row) {
      QListWidgetItem* item = PicList_->item(row);
      if (item->data(kPathRole).toString() == path) DecorateRow(item);
    }
  });

  connect(btnAddpic_, &QPushButton::clicked, this, [this] { logic_.content().AddPicturesCommand(); });
  connect(btnRemovepic_, &QPushButton::clicked, this, [this] { logic_.content().RemovePictureCommand(); });
  // The picture list reports its whole selection once a click or key has set it.
  connect(PicList_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<int> rows = SelectedRows(PicList_);
    logic_.content().OnPictureSelectionChanged(std::vector<int>(rows.begin(), rows.end()), PicList_->currentRow());
  });
  connect(PicList_, &QListWidget::itemSelectionChanged, this, &ContentPage::Render, Qt::QueuedConnection);
  connect(PicList_, &QListWidget::itemDoubleClicked, this, [this] {
    txtPictureComment_->setFocus(Qt::OtherFocusReason);
    txtPictureComment_->end(false);
  });
  // Typed, pasted, or set by a screen reader or voice control through the accessibility
  // interface; the editor tells these from the page showing its own text again.
  connect(txtPictureComment_, &QLineEdit::textChanged, this,
          [this](const QString& text) { logic_.content().OnCommentEdited(text.toStdString()); });
}

void ContentPage::ShowPictureRows() {
  const std::vector<PictureRowView> rows = logic_.content().PictureRowDetails();
  const QSignalBlocker blocker(PicList_);
  bool same = PicList_->count() == static_cast<int>(rows.size());
  for (int i = 0; same && i < PicList_->count(); ++i) {
    same = PicList_->item(i)->data(kPathRole).toString() == Q(rows[static_cast<std::size_t>(i)].path);
  }
  if (!same) {
    PicList_->clear();
    for (const PictureRowView& row : rows) {
      auto* item = new QListWidgetItem(Q(row.name), PicList_);
      item->setData(kPathRole, Q(row.path));
    }
  }
  for (int i = 0; i < PicList_->count(); ++i) {
    const PictureRowView& row = rows[static_cast<std::size_t>(i)];
    QListWidgetItem* item = PicList_->item(i);
    // Only a row whose badges changed is drawn again: typing a comment redraws one row.
    if (!same || item->data(kCommentRole).toBool() != row.has_comment || item->data(kMissingRole).toBool() != row.missing) {
      item->setData(kCommentRole, row.has_comment);
      item->setData(kMissingRole, row.missing);
      item->setToolTip(Q(row.path) + (row.missing ? QStringLiteral("\nThe file is missing.") : QString()));
      item->setData(Qt::AccessibleTextRole, Q(row.name) + (row.has_comment ? QStringLiteral(", has a comment") : QString()) +
                                                (row.missing ? QStringLiteral(", file missing") : QString()));
      DecorateRow(item);
    } else if (!item->data(kThumbnailShownRole).toBool() && !row.missing) {
      DecorateRow(item);
    }
  }
  // A list that shows the selection already is left as it is, so a Shift+click keeps
  // its anchor.
  const int selected = logic_.project().SelectedPicture();
  const std::vector<int> chosen = logic_.content().SelectedPictureRows();
  if (same && PicList_->currentRow() == selected && SelectedRows(PicList_) == QList<int>(chosen.begin(), chosen.end())) {
    return;
  }
  PicList_->clearSelection();
  PicList_->setCurrentRow(selected);
  for (const int row : chosen) {
    if (QListWidgetItem* item = PicList_->item(row)) item->setSelected(true);
  }
}

void ContentPage::DecorateRow(QListWidgetItem* item) {
  const qreal ratio = PicList_->devicePixelRatioF();
  const int side = static_cast<int>(kThumbnailSide * ratio);
  QPixmap icon(side, side);
  icon.fill(Qt::transparent);
  const bool missing = item->data(kMissingRole).toBool();
  const QImage thumbnail = missing ? QImage() : thumbnails_->Find(item->data(kPathRole).toString());
  item->setData(kThumbnailShownRole, !thumbnail.isNull());
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  if (!thumbnail.isNull()) {
    painter.drawImage(QPointF((side - thumbnail.width()) / 2.0, (side - thumbnail.height()) / 2.0), thumbnail);
  } else {
    painter.setPen(QPen(PicList_->palette().color(QPalette::Mid), ratio));
    painter.drawRect(QRectF(ratio, ratio, side - 2 * ratio, side - 2 * ratio));
  }
  const qreal badge = side * 0.42;
  if (missing) PaintBadge(painter, QRectF(0, 0, badge, badge), QColor(0xC6, 0x28, 0x28), QStringLiteral("!"));
  if (item->data(kCommentRole).toBool()) {
    PaintBadge(painter, QRectF(side - badge, side - badge, badge, badge), QColor(0x1E, 0x63, 0xB4), QStringLiteral("\u201C"));
  }
  painter.end();
  icon.setDevicePixelRatio(ratio);
  item->setIcon(QIcon(icon));
}

void ContentPage::InstallUndoKeyFilter(QObject* filter) { txtPictureComment_->installEventFilter(filter); }

void ContentPage::Render() {
  frmAlbum_->setTitle(Q(logic_.content().AlbumFrameCaption()));
  lblAlbum_->setText(Q(logic_.content().SelectedAlbumLabel()));
  ShowRows(AlbumList_, logic_.content().AlbumRows(), logic_.project().SelectedAlbum());
  frmPictures_->setTitle(Q(logic_.content().PictureFrameCaption()));
  ShowPictureRows();
  picPreview_->ShowPicture(Q(logic_.content().SelectedPicturePath()));
  ShowLine(txtPictureComment_, logic_.content().CommentText());
  btnAddpic_->setEnabled(logic_.content().AddPictureEnabled());
  btnRemovepic_->setEnabled(logic_.content().RemovePictureEnabled());
  btnDelete_->setEnabled(logic_.content().RemoveAlbumEnabled());
  btnUp_->setEnabled(logic_.content().MoveAlbumUpEnabled());
  btnDown_->setEnabled(logic_.content().MoveAlbumDownEnabled());
  btnPicUp_->setEnabled(logic_.content().MovePictureUpEnabled());
  btnPicDown_->setEnabled(logic_.content().MovePictureDownEnabled());
  // While a run goes on, nothing here edits the project; the page can still be looked at.
  const bool idle = !logic_.run().GenerationRunning();
  frmAlbum_->setEnabled(idle);
  frmPictures_->setEnabled(idle);
}

}  // namespace quorvale::ui
