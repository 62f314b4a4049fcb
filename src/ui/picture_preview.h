#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;

namespace quorvale {
class PictureImaging;
}

namespace quorvale::ui {

// The selected picture drawn to fit, upright, with its upright pixel size and file size
// underneath. The file is read and scaled while it is read on a worker thread, so a large
// picture never holds up typing; only the last picture asked for is shown.
class PicturePreview final : public QWidget {
  Q_OBJECT

 public:
  // `imaging` reads the formats Qt's readers do not know; null when there is none.
  explicit PicturePreview(PictureImaging* imaging, QWidget* parent = nullptr);
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
  static Loaded Load(const QString& path, const QSize& box, PictureImaging* imaging);
  // Reads `path` on a worker, at the label's size in device pixels.
  void StartLoading(const QString& path);
  void Finished();

  PictureImaging* imaging_;
  QLabel* image_ = nullptr;
  QLabel* details_ = nullptr;
  QString path_;
  QFutureWatcher<Loaded>* watcher_ = nullptr;
  QString pending_;  // asked for while another was still being read
};

}  // namespace quorvale::ui
