#include "ui/picture_preview.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "window/picture_details.h"

namespace quorvale::ui {
namespace {

constexpr int kBoxSize = 128;  // the picture is drawn to fit a square of this side

}  // namespace

PicturePreview::PicturePreview(QWidget* parent) : QWidget(parent) {
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
  watcher_->setFuture(QtConcurrent::run(&PicturePreview::Load, path, image_->size()));
}

PicturePreview::Loaded PicturePreview::Load(const QString& path, const QSize& box) {
  Loaded loaded{path, {}, {}};
  const QFileInfo info(path);
  if (!info.isFile()) {
    loaded.details = QString::fromUtf8(kPictureNotFound);
    return loaded;
  }
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QSize size = reader.size();
  if (size.isValid()) {
    // Scaled while it is read: a 50-megapixel file is never held whole in memory.
    const QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
    if (fitted.width() < size.width()) reader.setScaledSize(fitted);
  }
  loaded.image = reader.read();
  if (loaded.image.isNull()) {
    loaded.details = QString::fromUtf8(kCannotReadPicture);
    return loaded;
  }
  if (!size.isValid()) size = loaded.image.size();
  loaded.details = QString::fromStdString(PictureDetails(size.width(), size.height(),
                                                         static_cast<std::uintmax_t>(info.size())));
  return loaded;
}

void PicturePreview::Finished() {
  const Loaded loaded = watcher_->result();
  if (!pending_.isEmpty()) {
    const QString next = std::exchange(pending_, QString());
    if (next == path_) {
      watcher_->setFuture(QtConcurrent::run(&PicturePreview::Load, next, image_->size()));
      return;
    }
  }
  if (loaded.path != path_) return;  // a picture no longer selected
  if (loaded.image.isNull()) {
    image_->clear();
  } else {
    QImage fitted = loaded.image;
    if (fitted.width() > image_->width() || fitted.height() > image_->height()) {
      fitted = fitted.scaled(image_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    image_->setPixmap(QPixmap::fromImage(fitted));
  }
  details_->setText(loaded.details);
  image_->setToolTip(loaded.details);
  emit Shown();
}

}  // namespace quorvale::ui
