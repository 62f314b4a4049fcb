#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "platform/product.h"
#include "ui/form1.h"
#include "window/main_window.h"

using quorvale::Answer;
using quorvale::MainWindowLogic;
using quorvale::testing::FixedClock;
using quorvale::testing::ScriptedDialogs;
using quorvale::ui::Form1;

namespace {

struct Window {
  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic logic{dialogs, clock, "/prog"};
  Form1 form{logic};

  Window() {
    logic.Startup();
    form.show();
  }
  void Trigger(const char* action) {
    auto* found = form.findChild<QAction*>(QLatin1String(action));
    if (!found) qFatal("no action %s", action);
    found->trigger();
  }
};

}  // namespace

class ProjectMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void OpenMenuLoadsTheChosenProject() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("family.qs1"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x80~QS\r\n\x81~1.0\r\n\x82~0\r\n\x89~Garden\r\n\x89~Lake\r\n");
    file.close();

    Window w;
    w.dialogs.paths.push_back(path.toStdString());
    w.Trigger("mnuFileOpen");
    QCOMPARE(w.form.windowTitle(), QString::fromStdString(quorvale::WindowTitle(path.toStdString())));
    auto* albums = w.form.findChild<QListWidget*>(QStringLiteral("AlbumList"));
    QCOMPARE(albums->count(), 2);
    QCOMPARE(albums->currentRow(), 0);
  }

  void SaveMenuReportsNothingToSave() {
    Window w;
    w.Trigger("mnuFileSave");
    QCOMPARE(w.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(w.dialogs.messages[0].text, std::string("No changes to save"));
  }

  // A failed save answering the close question keeps the window open.
  void ClosingStaysOpenWhenTheSaveFails() {
    Window w;
    w.dialogs.texts.push_back("Holiday");
    w.logic.AddAlbumCommand();
    w.dialogs.answers.push_back(Answer::kYes);
    w.dialogs.paths.push_back(std::string("/no/such/folder/holiday.qs1"));
    QVERIFY(!w.form.close());
    QVERIFY(w.form.isVisible());
    QCOMPARE(w.dialogs.messages.size(), std::size_t{2});  // the question, then the failure

    w.dialogs.answers.push_back(Answer::kNo);
    QVERIFY(w.form.close());
  }
};

QTEST_MAIN(ProjectMenuTest)
#include "project_menu_test.moc"
