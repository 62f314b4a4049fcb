// The window's metadata reading on Qt's worker threads: every file read, in its place,
// off the window's thread; a long reading shows its box, and Stop ends it early.
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <atomic>
#include <string>

#include "ui/qt_metadata_reading.h"

using quorvale::MetadataReads;
using quorvale::PictureMetadata;
using quorvale::ui::QtMetadataReading;

namespace {

// Answers each path with itself as caption after `delay_ms`; "unreadable" has nothing.
struct SlowReader : quorvale::PictureMetadataReader {
  explicit SlowReader(int delay) : delay_ms(delay) {}
  std::optional<PictureMetadata> Read(const std::string& path) override {
    if (QThread::currentThread() == qApp->thread()) on_window_thread = true;
    QThread::msleep(static_cast<unsigned long>(delay_ms));
    if (path == "unreadable") return std::nullopt;
    return PictureMetadata{{path}, {}};
  }
  int delay_ms;
  std::atomic<bool> on_window_thread = false;
};

}  // namespace

class MetadataReadingTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadsEveryFileInItsPlace() {
    QWidget window;
    SlowReader reader(0);
    QtMetadataReading reading(reader);
    reading.AttachWindow(&window);
    const MetadataReads reads = reading.ReadAll({{"a", "unreadable", "c"}, "Title", "Reading..."});
    QVERIFY(!reads.stopped);
    QCOMPARE(reads.metadata.size(), size_t{3});
    QCOMPARE(reads.metadata[0]->captions.front(), std::string("a"));
    QVERIFY(!reads.metadata[1]);
    QCOMPARE(reads.metadata[2]->captions.front(), std::string("c"));
    QVERIFY(!reader.on_window_thread);
    QVERIFY(window.findChildren<QProgressDialog*>().isEmpty());  // over before any box showed
  }

  void ALongReadingShowsItsBoxAndStops() {
    QWidget window;
    window.show();
    SlowReader reader(300);
    QtMetadataReading reading(reader);
    reading.AttachWindow(&window);
    QString shown;
    // Once the box is there, its Stop button is pressed.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = window.findChild<QProgressDialog*>(QStringLiteral("dlgReadingMetadata"));
      if (box == nullptr || !box->isVisible()) return;
      shown = box->windowTitle() + QLatin1Char('|') + box->labelText();
      poll.stop();
      QPushButton* stop = box->findChild<QPushButton*>();
      QCOMPARE(stop->text(), QStringLiteral("&Stop"));
      stop->click();
    });
    poll.start(50);
    std::vector<std::string> paths(40, "x");
    const MetadataReads reads = reading.ReadAll({paths, "Quorvale - Add Picture", "Reading captions..."});
    QCOMPARE(shown, QStringLiteral("Quorvale - Add Picture|Reading captions..."));
    QVERIFY(reads.stopped);
    QCOMPARE(reads.metadata.size(), paths.size());
    QVERIFY(reads.metadata.front().has_value());  // read before the box showed
    QVERIFY(!reads.metadata.back().has_value());  // never begun
  }
};

QTEST_MAIN(MetadataReadingTest)
#include "metadata_reading_test.moc"
