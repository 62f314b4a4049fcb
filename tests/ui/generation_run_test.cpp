// A generation run from the window: it goes on a worker thread while the window's event
// loop keeps turning, its progress reaches the total, and Cancel stops it cleanly.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "ui/form1.h"
#include "window/main_window.h"

using quorvale::MainWindowLogic;
using quorvale::testing::FixedClock;
using quorvale::testing::ScriptedDialogs;
using quorvale::ui::Form1;

namespace {

// Three albums; the picture-count tip comes when the second one begins.
constexpr int kPictures[] = {40, 100, 100};
constexpr int kTotal = 240;

// Scripted dialogs that can act when a box shows, while the run waits for its answer.
struct HookedDialogs : ScriptedDialogs {
  std::function<void(const quorvale::MessageRequest&)> on_message;
  quorvale::Answer ShowMessage(const quorvale::MessageRequest& request) override {
    if (on_message) on_message(request);
    return ScriptedDialogs::ShowMessage(request);
  }
};

// A window whose project holds 240 small pictures in three albums, publishing into a
// folder of its own.
struct Window {
  QTemporaryDir root;
  HookedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic logic{dialogs, clock, root.path().toStdString()};
  Form1 form{logic};
  QString site = root.filePath(QStringLiteral("site"));

  Window() {
    logic.Startup();
    form.show();
    QDir(root.path()).mkpath(QStringLiteral("site"));
    for (int album = 0; album < 3; ++album) {
      const QString folder = root.filePath(QStringLiteral("pictures%1").arg(album));
      QDir().mkpath(folder);
      std::vector<std::string> paths;
      for (int k = 0; k < kPictures[album]; ++k) {
        const QString path = QStringLiteral("%1/p%2.jpg").arg(folder).arg(k);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QByteArray bytes(65536 + k, 'x');
        bytes.replace(0, 3, "\xFF\xD8\xFF");  // taken as a JPEG by its first bytes
        file.write(bytes);
        paths.push_back(path.toStdString());
      }
      dialogs.texts.push_back("Album " + std::to_string(album));
      logic.content().AddAlbumCommand();
      dialogs.files.push_back(paths);
      logic.content().AddPicturesCommand();
    }
    logic.publishing().OnPublishDirectoryEdited(site.toStdString());
    form.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
  }
  template <typename T>
  T* Find(const char* name) {
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
};

}  // namespace

class GenerationRunTest : public QObject {
  Q_OBJECT

 private slots:
  void TheWindowKeepsTurningAndProgressReachesTheTotal() {
    Window w;
    int ticks_during_run = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ticks_during_run += w.logic.run().GenerationRunning() ? 1 : 0; });
    timer.start(0);
    QTest::mouseClick(w.Find<QPushButton>("btnGenerate"), Qt::LeftButton);
    QVERIFY(w.logic.run().GenerationRunning());
    QVERIFY(!w.Find<QPushButton>("btnGenerate")->isEnabled());
    QVERIFY(!w.Find<QWidget>("frmAlbum")->isEnabled());
    QVERIFY(!w.Find<QWidget>("frmPublish")->isEnabled());
    QVERIFY(w.Find<QPushButton>("btnCancelGeneration")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!w.logic.run().GenerationRunning(), 60000);
    QVERIFY(ticks_during_run > 0);

    auto* bar = w.Find<QProgressBar>("prgGeneration");
    QCOMPARE(bar->value(), kTotal);
    QCOMPARE(bar->maximum(), kTotal);
    QCOMPARE(bar->text(), QStringLiteral("240 of 240 pictures - album 3: Album 2"));
    QCOMPARE(w.Find<QPlainTextEdit>("txtStatus")->toPlainText(),
             QString::fromStdString(w.logic.run().StatusText()).remove(QLatin1Char('\r')));
    // The run's boxes came in order, the final one last; the controls are back.
    QCOMPARE(QString::fromStdString(w.dialogs.messages.back().title),
             QStringLiteral("Quorvale 1.0.0 - GENERATION SUCCESSFUL"));
    QVERIFY(w.Find<QPushButton>("btnGenerate")->isEnabled());
    QVERIFY(!w.Find<QPushButton>("btnCancelGeneration")->isEnabled());
    QVERIFY(w.Find<QWidget>("frmAlbum")->isEnabled());
  }

  // Cancel pressed while the run waits for the tip's answer, after the first album: the
  // run stops there, whatever the speed of the machine.
  void CancelLeavesWholeFilesAndTheCancelLine() {
    Window w;
    w.dialogs.on_message = [&w](const quorvale::MessageRequest& request) {
      if (request.title.find("Tip") != std::string::npos) {
        QTest::mouseClick(w.Find<QPushButton>("btnCancelGeneration"), Qt::LeftButton);
      }
    };
    QTest::mouseClick(w.Find<QPushButton>("btnGenerate"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!w.logic.run().GenerationRunning(), 60000);

    QCOMPARE(w.logic.run().Progress().pictures_done, kPictures[0]);
    QVERIFY(w.Find<QPlainTextEdit>("txtStatus")->toPlainText().endsWith(QStringLiteral("\nGeneration cancelled.")));
    for (const auto& message : w.dialogs.messages) {
      QVERIFY(message.title.find("GENERATION") == std::string::npos);  // no final box
    }
    // Every picture copied so far is whole.
    int copied = 0;
    for (int album = 0; album < 3; ++album) {
      const QDir published(w.site + QStringLiteral("/PhotoAlbum/images/album-%1").arg(album));
      for (const QFileInfo& file : published.entryInfoList(QDir::Files)) {
        QCOMPARE(file.size(), 65536 + file.baseName().mid(1).toInt());
        ++copied;
      }
    }
    QCOMPARE(copied, kPictures[0]);
    QFile log(w.site + QStringLiteral("/Generation_Log.txt"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().endsWith("    Generation cancelled with 0 ERRORS and 0 WARNINGS.\r\n\r\n"));
  }
};

QTEST_MAIN(GenerationRunTest)
#include "generation_run_test.moc"
