#include "ui/qt_metadata_reading.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QList>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentMap>

#include <atomic>

#include "ui/controls.h"
#include "ui/worker_pool.h"

namespace quorvale::ui {
namespace {

// How long a reading goes on before the waiting box shows: most are over by then.
constexpr int kQuietMilliseconds = 400;

}  // namespace

MetadataReads QtMetadataReading::ReadAll(const MetadataRequest& request) {
  MetadataReads reads;
  reads.metadata.resize(request.paths.size());
  if (request.paths.empty()) return reads;
  QList<int> positions;
  for (qsizetype k = 0; k < static_cast<qsizetype>(request.paths.size()); ++k) positions.append(static_cast<int>(k));
  // Each worker fills the place of its own file; nothing else touches them until all are
  // done. Workers take files in blocks: a stopped reading leaves the rest of a block too.
  PictureMetadataReader* reader = &reader_;
  auto* places = &reads.metadata;
  const auto* paths = &request.paths;
  std::atomic<bool> stop = false;
  QFuture<void> future = QtConcurrent::map(WorkerPool(), positions, [reader, places, paths, &stop](int position) {
    if (stop) return;
    const auto k = static_cast<std::size_t>(position);
    (*places)[k] = reader->Read((*paths)[k]);
  });

  QEventLoop loop;
  QFutureWatcher<void> watcher;
  QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
  watcher.setFuture(future);
  QTimer::singleShot(kQuietMilliseconds, &loop, &QEventLoop::quit);
  // First the quiet moment: the window draws, its input waits.
  if (!future.isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!future.isFinished()) {
    QProgressDialog progress(Q(request.label), QStringLiteral("&Stop"), 0, static_cast<int>(positions.size()),
                             owner_);
    progress.setObjectName(QStringLiteral("dlgReadingMetadata"));
    progress.setWindowTitle(Q(request.title));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&watcher, &QFutureWatcher<void>::progressValueChanged, &progress, &QProgressDialog::setValue);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&future, &reads, &stop] {
      reads.stopped = true;
      stop = true;
      future.cancel();  // the files in hand are read to their end; the rest are not begun
    });
    progress.setValue(future.progressValue());
    progress.show();
    if (!future.isFinished()) loop.exec();
  }
  future.waitForFinished();
  return reads;
}

}  // namespace quorvale::ui
