#include "ui/worker_pool.h"

#include <QThread>
#include <QThreadPool>

namespace quorvale::ui {

QThreadPool* WorkerPool() {
  static QThreadPool* const pool = [] {
    auto* made = new QThreadPool;  // lives as long as the program: workers may still run at exit
    made->setMaxThreadCount(QThread::idealThreadCount());
    return made;
  }();
  return pool;
}

}  // namespace quorvale::ui
