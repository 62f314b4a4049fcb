#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;

namespace quorvale::ui {

// The selected picture drawn to fit, with its pixel size and file size underneath. The
// file is read and scaled while it is read on a worker thread, so a large picture never
// holds up typing; only the last picture asked for is shown.
class PicturePreview final : public QWidget {
  Q_OBJECT

 public:
  explicit PicturePreview(QWidget* parent = nullptr);
  ~PicturePreview() override;

  // Shows the picture at `path`; an empty path shows nothing.
  void ShowPicture(const QString& path);

 signals:
  // The picture asked for last is shown (or its problem is).
  void Shown();

 private:
  struct Loaded {
    QString path;
    QImage image;
    QString details;
  };
  static Loaded Load(const QString& path, const QSize& box);
  void Finished();

  QLabel* image_ = nullptr;
  QLabel* details_ = nullptr;
  QString path_;
  QFutureWatcher<Loaded>* watcher_ = nullptr;
  QString pending_;  // asked for while another was still being read
};

}  // namespace quorvale::ui
