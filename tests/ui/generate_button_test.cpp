#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "ui/form1.h"
#include "window/main_window.h"

using quorvale::MainWindowLogic;
using quorvale::testing::FixedClock;
using quorvale::testing::ScriptedDialogs;
using quorvale::ui::Form1;

// The Generate button runs generation into the Publishing Directory; the status box
// shows the run's transcript as it grew (line ends as the box shows them).
class GenerateButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void GenerateFillsTheStatusBoxWithTheTranscript() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("site")));
    const std::string site = folder.filePath(QStringLiteral("site")).toStdString();
    ScriptedDialogs dialogs;
    FixedClock clock;
    MainWindowLogic logic{dialogs, clock, folder.path().toStdString()};
    Form1 form{logic};
    logic.Startup();
    form.show();
    dialogs.texts.push_back("Holiday");
    logic.AddAlbumCommand();
    logic.OnPublishDirectoryEdited(site);
    logic.OnTabChanged(MainWindowLogic::kGeneratePage);

    auto* status = form.findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"));
    status->setPlainText(QStringLiteral("left over from an earlier run"));
    form.findChild<QPushButton*>(QStringLiteral("btnGenerate"))->click();

    QString expected = QString::fromStdString(logic.StatusText());
    expected.remove(QLatin1Char('\r'));
    QVERIFY(expected.startsWith(QStringLiteral("\nGeneration started (12/5/2026 6:15:42 AM) ....\n\n")));
    QCOMPARE(status->toPlainText(), expected);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("lblStatus"))->text(), QStringLiteral("Generation Completed."));
    QVERIFY(QFile::exists(QString::fromStdString(site + "/album-0.htm")));
    QCOMPARE(dialogs.messages.back().title, std::string("Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS"));
  }
};

QTEST_MAIN(GenerateButtonTest)
#include "generate_button_test.moc"
