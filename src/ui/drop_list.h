#pragma once

#include <QListWidget>
#include <QStringList>

#include <functional>

namespace quorvale::ui {

// A list of the Content page that moves its rows by drag and drop and takes files and
// folders dropped from outside. It moves nothing itself: it reports the move or the
// drop, the window's logic decides, and the list is shown again from the logic's state.
class DropList final : public QListWidget {
  Q_OBJECT

 public:
  // Answers whether dropping these local paths here would be taken.
  using AcceptsPaths = std::function<bool(const QStringList& paths)>;

  explicit DropList(QWidget* parent = nullptr);
  void SetAcceptsPaths(AcceptsPaths accepts) { accepts_ = std::move(accepts); }

 signals:
  // The selected rows `rows` (ascending) were dragged before row `before` (the row
  // count: after the last row).
  void RowsDropped(const QList<int>& rows, int before);
  // Files or folders were dropped from outside.
  void PathsDropped(const QStringList& paths);
  // Ctrl+Up (-1) or Ctrl+Down (+1) in the list.
  void MoveRequested(int step);
  // Delete in the list.
  void RemoveRequested();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool TakesOutsideDrop(const QMimeData* mime) const;

  AcceptsPaths accepts_;
};

// The local file paths a drag carries, in native form; empty when any is not local.
QStringList LocalPaths(const QMimeData* data);

// The rows selected in `list`, ascending.
QList<int> SelectedRows(const QListWidget* list);

}  // namespace quorvale::ui
