#include "ui/thumbnail_cache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "ui/picture_reading.h"
#include "ui/worker_pool.h"

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
  watcher->setFuture(QtConcurrent::run(
      WorkerPool(),
      [path, box = size_, imaging = imaging_] { return ReadPictureToFit(path, box, imaging).image; }));
  return QImage();
}

}  // namespace quorvale::ui
