#include "ui/picture_reading.h"

#include <QImageReader>

#include <algorithm>

#include <string>
#include <variant>

#include "imaging/picture_imaging.h"

namespace quorvale::ui {

ReadPicture ReadPictureToFit(const QString& path, QSize box, PictureImaging* imaging) {
  ReadPicture read;
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize stored = reader.size();  // as the file stores it, before turning it upright
  if (stored.isValid()) {
    // Decoding at the small size is what keeps a camera's JPEG cheap here; the size is
    // chosen for the upright picture and given to the reader in the stored orientation.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    read.picture_size = turned ? stored.transposed() : stored;
    const QSize fitted = read.picture_size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (fitted.width() < read.picture_size.width()) reader.setScaledSize(turned ? fitted.transposed() : fitted);
  }
  read.image = reader.read();
  if (read.image.isNull() && imaging != nullptr) {
    auto decoded = imaging->DecodePreview(path.toStdString(), std::max(box.width(), box.height()));
    if (auto* preview = std::get_if<PreviewPicture>(&decoded)) {
      read.image = QImage(reinterpret_cast<const uchar*>(preview->rgba.data()), preview->width, preview->height,
                          preview->width * 4, QImage::Format_RGBA8888)
                       .copy();  // the pixels outlive `decoded`
      read.picture_size = QSize(preview->picture_width, preview->picture_height);
    }
  }
  if (read.image.isNull()) return read;
  if (!read.picture_size.isValid()) read.picture_size = read.image.size();
  if (read.image.width() > box.width() || read.image.height() > box.height()) {
    read.image = read.image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  return read;
}

}  // namespace quorvale::ui
