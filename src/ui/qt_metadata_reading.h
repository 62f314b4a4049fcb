#pragma once

#include <QPointer>
#include <QWidget>

#include "imaging/picture_metadata.h"
#include "window/metadata_reading.h"

namespace quorvale::ui {

// The window's metadata reading on Qt's worker threads. For a moment the window only
// keeps drawing (a click or key meanwhile waits for the reading); a reading that takes
// longer shows a box, modal to the window, with its progress and a Stop button.
class QtMetadataReading final : public MetadataReading {
 public:
  explicit QtMetadataReading(PictureMetadataReader& reader) : reader_(reader) {}
  // The window the waiting box belongs to.
  void AttachWindow(QWidget* owner) { owner_ = owner; }

  MetadataReads ReadAll(const MetadataRequest& request) override;

 private:
  PictureMetadataReader& reader_;
  QPointer<QWidget> owner_;
};

}  // namespace quorvale::ui
