#include "ui/drop_list.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>

#include <algorithm>

namespace quorvale::ui {

QStringList LocalPaths(const QMimeData* data) {
  QStringList paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    paths << QDir::toNativeSeparators(url.toLocalFile());
  }
  return paths;
}

QList<int> SelectedRows(const QListWidget* list) {
  QList<int> rows;
  for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) rows << index.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

DropList::DropList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  // The shortcuts work while the list has the focus, whichever list it is.
  for (const auto& [keys, step] : {std::pair{Qt::CTRL | Qt::Key_Up, -1}, std::pair{Qt::CTRL | Qt::Key_Down, +1}}) {
    auto* shortcut = new QShortcut(QKeySequence(keys), this, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, step = step] { emit MoveRequested(step); });
  }
  auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), this, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, &DropList::RemoveRequested);
}

bool DropList::TakesOutsideDrop(const QMimeData* mime) const {
  const QStringList paths = LocalPaths(mime);
  return !paths.isEmpty() && accepts_ && accepts_(paths);
}

void DropList::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == this) {
    QListWidget::dragEnterEvent(event);
  } else if (TakesOutsideDrop(event->mimeData())) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();  // the no-drop cursor
  }
}

void DropList::dragMoveEvent(QDragMoveEvent* event) {
  if (event->source() == this) {
    QListWidget::dragMoveEvent(event);  // places the drop indicator between rows
  } else if (TakesOutsideDrop(event->mimeData())) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void DropList::dropEvent(QDropEvent* event) {
  if (event->source() == this) {
    QList<int> rows = SelectedRows(this);
    if (rows.isEmpty() && currentRow() >= 0) rows << currentRow();
    const QModelIndex at = indexAt(event->position().toPoint());
    int before = count();
    if (at.isValid()) before = dropIndicatorPosition() == QAbstractItemView::BelowItem ? at.row() + 1 : at.row();
    // A copy, as far as the drag knows: the list must not remove the dragged row itself;
    // it is shown again from the logic's order. The view ends its drag state as a drop
    // of its own would.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (!rows.isEmpty()) emit RowsDropped(rows, before);
    return;
  }
  const QStringList paths = LocalPaths(event->mimeData());
  if (paths.isEmpty() || !TakesOutsideDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  emit PathsDropped(paths);
}

}  // namespace quorvale::ui
