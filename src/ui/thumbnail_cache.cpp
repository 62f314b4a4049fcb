#include "ui/thumbnail_cache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>

namespace quorvale::ui {
namespace {

// A file changed on disk gets a new thumbnail: the key holds its time and size.
QString KeyOf(const QString& path) {
  const QFileInfo info(path);
  return path + QLatin1Char('\n') + QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('\n') +
         QString::number(info.size());
}

}  // namespace

QImage ThumbnailCache::Find(const QString& path) {
  const QString key = KeyOf(path);
  if (const auto found = images_.constFind(key); found != images_.constEnd()) return *found;
  if (pending_.contains(key)) return QImage();
  pending_.insert(key);
  auto* watcher = new QFutureWatcher<QImage>(this);
  connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, key, path] {
    images_.insert(key, watcher->result());
    pending_.remove(key);
    watcher->deleteLater();
    emit Ready(path);
  });
  watcher->setFuture(QtConcurrent::run(&ThumbnailCache::Read, path, size_));
  return QImage();
}

QImage ThumbnailCache::Read(const QString& path, QSize box) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QSize stored = reader.size();  // as the file stores it, before turning it upright
  if (stored.isValid()) {
    // Decoding at the small size is what keeps a camera's JPEG cheap here; the size is
    // chosen for the upright picture and given to the reader in the stored orientation.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize fitted = upright.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    reader.setScaledSize(turned ? fitted.transposed() : fitted);
  }
  QImage image = reader.read();
  if (!image.isNull() && (image.width() > box.width() || image.height() > box.height())) {
    image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  return image;
}

}  // namespace quorvale::ui
