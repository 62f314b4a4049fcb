#pragma once

class QThreadPool;

namespace quorvale::ui {

// The threads on which the window reads picture files (thumbnails, the preview, captions
// and dates). Not Qt's global pool: Qt paints with that one, and a window whose painting
// waited behind a slow disk would freeze.
QThreadPool* WorkerPool();

}  // namespace quorvale::ui
