#include "ui/picture_preview.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "ui/picture_reading.h"
#include "ui/worker_pool.h"
#include "window/picture_details.h"

namespace quorvale::ui {
namespace {

constexpr int kBoxSize = 128;  // the picture is drawn to fit a square of this side

}  // namespace

PicturePreview::PicturePreview(PictureImaging* imaging, QWidget* parent) : QWidget(parent), imaging_(imaging) {
  setObjectName(QStringLiteral("picPreview"));
  setToolTip(QStringLiteral("The selected picture"));
  image_ = new QLabel(this);
  image_->setObjectName(QStringLiteral("imgPreview"));
  image_->setAlignment(Qt::AlignCenter);
  image_->setFixedSize(kBoxSize, kBoxSize);
  image_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  details_ = new QLabel(this);
  details_->setObjectName(QStringLiteral("lblPreviewDetails"));
  details_->setTextFormat(Qt::PlainText);
  details_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  details_->setWordWrap(true);
  details_->setFixedWidth(kBoxSize);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(image_);
  column->addWidget(details_);
  column->addStretch(1);

  watcher_ = new QFutureWatcher<Loaded>(this);
  connect(watcher_, &QFutureWatcher<Loaded>::finished, this, &PicturePreview::Finished);
}

PicturePreview::~PicturePreview() { watcher_->waitForFinished(); }

void PicturePreview::ShowPicture(const QString& path) {
  if (path == path_) return;
  path_ = path;
  if (path.isEmpty()) {
    pending_.clear();
    image_->clear();
    details_->clear();
    emit Shown();
    return;
  }
  if (watcher_->isRunning()) {
    pending_ = path;  // read once the one in hand is done
    return;
  }
  StartLoading(path);
}

void PicturePreview::StartLoading(const QString& path) {
  // Read at the screen's pixels, so the picture stays sharp at 2x.
  const QSize box = image_->size() * image_->devicePixelRatioF();
  watcher_->setFuture(QtConcurrent::run(WorkerPool(), &PicturePreview::Load, path, box, imaging_));
}

PicturePreview::Loaded PicturePreview::Load(const QString& path, const QSize& box, PictureImaging* imaging) {
  Loaded loaded{path, {}, {}};
  const QFileInfo info(path);
  if (!info.isFile()) {
    loaded.details = QString::fromUtf8(kPictureNotFound);
    return loaded;
  }
  // Scaled while it is read: a 50-megapixel file is never held whole in memory.
  const ReadPicture read = ReadPictureToFit(path, box, imaging);
  loaded.image = read.image;
  if (loaded.image.isNull()) {
    loaded.details = QString::fromUtf8(kCannotReadPicture);
    return loaded;
  }
  const QSize size = read.picture_size;
  loaded.details = QString::fromStdString(PictureDetails(size.width(), size.height(),
                                                         static_cast<std::uintmax_t>(info.size())));
  return loaded;
}

void PicturePreview::Finished() {
  const Loaded loaded = watcher_->result();
  if (!pending_.isEmpty()) {
    const QString next = std::exchange(pending_, QString());
    if (next == path_) {
      StartLoading(next);
      return;
    }
  }
  if (loaded.path != path_) return;  // a picture no longer selected
  if (loaded.image.isNull()) {
    image_->clear();
  } else {
    QPixmap pixmap = QPixmap::fromImage(loaded.image);
    pixmap.setDevicePixelRatio(image_->devicePixelRatioF());
    image_->setPixmap(pixmap);
  }
  details_->setText(loaded.details);
  image_->setToolTip(loaded.details);
  emit Shown();
}

}  // namespace quorvale::ui
