// An upload from the window: the address typed into "Upload to", the Upload button, the
// upload on a worker through the real runner, and the box with the counts at the end.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "ui/form1.h"
#include "window/main_window.h"

using quorvale::MainWindowLogic;
using quorvale::testing::FixedClock;
using quorvale::testing::ScriptedDialogs;
using quorvale::ui::Form1;

namespace {

constexpr int kPictures = 30;

// Grabs the window into $QUORVALE_SCREENSHOTS/NAME.png when that folder is given.
void Screenshot(QWidget& window, const char* name) {
  const QString folder = qEnvironmentVariable("QUORVALE_SCREENSHOTS");
  if (!folder.isEmpty()) window.grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
}

}  // namespace

class UploadRunTest : public QObject {
  Q_OBJECT

 private slots:
  void UploadSendsTheSiteOnAWorkerAndEndsWithTheCounts() {
    QTemporaryDir root;
    ScriptedDialogs dialogs;
    FixedClock clock;
    MainWindowLogic logic{dialogs, clock, root.path().toStdString()};
    Form1 form{logic};
    logic.Startup();
    form.show();
    const QString site = root.filePath(QStringLiteral("site"));
    const QString server = root.filePath(QStringLiteral("server"));
    QDir(root.path()).mkpath(QStringLiteral("site"));
    QDir(root.path()).mkpath(QStringLiteral("server"));
    QDir(root.path()).mkpath(QStringLiteral("pictures"));
    std::vector<std::string> paths;
    for (int k = 0; k < kPictures; ++k) {
      QFile file(root.filePath(QStringLiteral("pictures/p%1.jpg").arg(k)));
      file.open(QIODevice::WriteOnly);
      file.write(QByteArray("\xFF\xD8\xFF") + QByteArray(4096, 'x'));
      paths.push_back(file.fileName().toStdString());
    }
    dialogs.texts.push_back("Lake");
    logic.content().AddAlbumCommand();
    dialogs.files.push_back(paths);
    logic.content().AddPicturesCommand();
    logic.publishing().OnPublishDirectoryEdited(site.toStdString());
    form.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    auto* upload = form.findChild<QPushButton*>(QStringLiteral("btnUpload"));
    auto* address = form.findChild<QLineEdit*>(QStringLiteral("txtUploadTo"));
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("prgGeneration"));
    QVERIFY(upload && address && bar);

    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnGenerate")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!logic.run().GenerationRunning(), 60000);
    QVERIFY(!upload->isEnabled());  // a site, but no address yet
    address->setFocus();
    QTest::keyClicks(address, server);
    QTest::keyClick(address, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(logic.settings().UploadAddress), server);
    QVERIFY(upload->isEnabled());
    Screenshot(form, "generate-page-upload-to");

    bool grabbed = false;
    connect(bar, &QProgressBar::valueChanged, [&](int value) {
      if (!grabbed && value * 2 >= bar->maximum() && bar->maximum() > 1) {
        grabbed = true;
        Screenshot(form, "upload-in-progress");
      }
    });
    QTest::mouseClick(upload, Qt::LeftButton);
    QVERIFY(logic.upload().UploadRunning());
    for (const char* waiting : {"btnGenerate", "btnUpload", "frmPublish", "txtUploadTo"}) {
      QVERIFY2(!form.findChild<QWidget*>(QLatin1String(waiting))->isEnabled(), waiting);
    }
    QVERIFY(form.findChild<QPushButton*>(QStringLiteral("btnCancelGeneration"))->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!logic.upload().UploadRunning(), 60000);

    const quorvale::MessageRequest& end = dialogs.messages.back();
    QCOMPARE(QString::fromStdString(end.title), QStringLiteral("Quorvale 1.0.0 - Upload"));
    QVERIFY2(end.text.starts_with("The site is uploaded to " + server.toStdString() + ".\n\nUploaded: "),
             end.text.c_str());
    QVERIFY(QFile::exists(server + QStringLiteral("/PhotoAlbum.htm")));
    QVERIFY(QFile::exists(server + QStringLiteral("/PhotoAlbum/images/album-0/p29.jpg")));
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(bar->text(), QStringLiteral("%1 of %1 files").arg(bar->maximum()));
    QVERIFY(form.findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"))->toPlainText().contains(
        QStringLiteral("\nUpload completed (")));
    QVERIFY(upload->isEnabled());
  }
};

QTEST_MAIN(UploadRunTest)
#include "upload_run_test.moc"
