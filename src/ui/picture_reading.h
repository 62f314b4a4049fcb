#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace quorvale {
class PictureImaging;
}

namespace quorvale::ui {

struct ReadPicture {
  QImage image;        // null when the file cannot be read
  QSize picture_size;  // the whole picture's size, upright
};

// The picture at `path` decoded to fit `box` (device pixels) and turned upright by its
// EXIF orientation, for the preview and the picture list. Qt's own readers take the
// formats they know, scaling while they decode; the imaging module (when the program
// has one) takes the rest: HEIC, AVIF, WebP, TIFF. Safe on any thread.
ReadPicture ReadPictureToFit(const QString& path, QSize box, PictureImaging* imaging);

}  // namespace quorvale::ui
