#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>

namespace quorvale {
class PictureImaging;
}

namespace quorvale::ui {

// Small pictures for the rows of the picture list. Each is read on a worker thread,
// scaled while it is decoded to fit the row's size and turned upright by its EXIF
// orientation, then kept for the session, so an album shown again fills at once.
class ThumbnailCache final : public QObject {
  Q_OBJECT

 public:
  // `imaging` reads the formats Qt's readers do not know; null when there is none.
  ThumbnailCache(QSize size, PictureImaging* imaging, QObject* parent = nullptr)
      : QObject(parent), size_(size), imaging_(imaging) {}

  // The thumbnail of the file at `path`; a null image while it is being read (Ready
  // follows) or when the file cannot be read.
  QImage Find(const QString& path);

 signals:
  // The thumbnail of `path` was read: rows showing it can show it now.
  void Ready(const QString& path);

 private:
  QSize size_;
  PictureImaging* imaging_;
  QHash<QString, QImage> images_;  // by path and modification time
  QSet<QString> pending_;
};

}  // namespace quorvale::ui
