#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <fstream>

#include "core/support/scripted_dialogs.h"
#include "shown_window.h"
#include "ui/form1.h"
#include "window/main_window.h"

using quorvale::Answer;

namespace {

struct Window : quorvale::testing::ShownWindow {
  void Trigger(const char* action) {
    auto* found = form.findChild<QAction*>(QLatin1String(action));
    if (!found) qFatal("no action %s", action);
    found->trigger();
  }
  int AlbumCount() { return form.findChild<QListWidget*>(QStringLiteral("AlbumList"))->count(); }
  QRadioButton* Option(const char* name) { return form.findChild<QRadioButton*>(QLatin1String(name)); }
  // The Generate page, where the viewer choice is.
  void ShowGeneratePage() { form.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1); }
  void OpenProject(const std::string& path) {
    dialogs.paths.push_back(path);
    Trigger("mnuFileOpen");
    ShowGeneratePage();
  }
};

}  // namespace

class ProjectMenuTest : public QObject {
  Q_OBJECT

 private slots:
  // Each item of the File menu runs its project command. The caption and the project
  // label show the path as it is, even where it looks like markup to the toolkit.
  void FileMenuRunsTheProjectCommands() {
    QTemporaryDir folder;
    const QString odd_folder = QStringLiteral("[*] <b>bold");
    QVERIFY(QDir(folder.path()).mkdir(odd_folder));
    const std::string path = folder.filePath(odd_folder + QStringLiteral("/family.qs1")).toStdString();
    std::ofstream(path, std::ios::binary) << "\x80~QS\r\n\x81~1.0\r\n\x82~0\r\n\x89~Garden\r\n\x89~Lake\r\n";
    Window w;
    w.Trigger("mnuFileSave");
    QCOMPARE(w.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(w.dialogs.messages[0].text, std::string("No changes to save"));

    w.dialogs.paths.push_back(path);
    w.Trigger("mnuFileOpen");
    QCOMPARE(w.form.windowHandle()->title(), QString::fromStdString("Quorvale 1.0.0 - " + path));
    auto* name = w.form.findChild<QLabel*>(QStringLiteral("sProjectName"));
    QCOMPARE(QAccessible::queryAccessibleInterface(name)->text(QAccessible::Name), QString::fromStdString(path));
    QCOMPARE(w.AlbumCount(), 2);
    QCOMPARE(w.form.findChild<QListWidget*>(QStringLiteral("AlbumList"))->currentRow(), 0);

    w.dialogs.paths.push_back(std::nullopt);
    w.Trigger("mnuFileSaveAs");
    QCOMPARE(w.dialogs.file_dialogs.back().title, std::string("Save Quorvale Project File As .."));

    w.Trigger("mnuFileNew");
    QCOMPARE(w.form.windowHandle()->title(), QStringLiteral("Quorvale 1.0.0 - untitled.qs1"));
    QCOMPARE(w.AlbumCount(), 0);
  }

  // The viewer choice belongs to the project: HTML chosen, saved and opened again stays
  // HTML, and a file whose viewer-type record says "html" opens with HTML chosen.
  void ViewerChoiceIsKeptInTheProjectFile() {
    QTemporaryDir folder;
    const std::string saved = folder.filePath(QStringLiteral("trip.qs1")).toStdString();
    const std::string lower_case = folder.filePath(QStringLiteral("lower.qs1")).toStdString();
    std::ofstream(lower_case, std::ios::binary) << "\x80~QS\r\n\x81~1.0\r\n\x82~0\r\n\x85~html\r\n";

    Window chooser;
    chooser.ShowGeneratePage();
    QRadioButton* html = chooser.Option("optionHTML");
    QVERIFY(chooser.Option("optionJava")->isChecked());
    QVERIFY(html->isVisible() && html->isEnabled());
    QCOMPARE(html->toolTip(), QStringLiteral("Pages for today's browsers, phones included"));
    QCOMPARE(chooser.Option("optionJava")->toolTip(), QStringLiteral("The Torvexa applet, for browsers with Java"));
    QTest::mouseClick(html, Qt::LeftButton, {}, QPoint(6, html->height() / 2));  // on its round button
    QVERIFY(html->isChecked() && !chooser.Option("optionJava")->isChecked());
    QVERIFY(chooser.logic.project().Modified);
    chooser.dialogs.paths.push_back(saved);
    chooser.Trigger("mnuFileSaveAs");

    for (const std::string& path : {saved, lower_case}) {
      Window reader;
      reader.OpenProject(path);
      QVERIFY2(reader.Option("optionHTML")->isChecked(), path.c_str());
      QVERIFY(!reader.Option("optionJava")->isChecked());
      QVERIFY(reader.logic.settings().ApplicationSourceDirectory.ends_with("Html"));
    }
  }

  // A failed save answering the close question keeps the window open.
  // Yes to the close question keeps the window open until the work is saved: a
  // cancelled Save dialog or a failed save leave it open with the project as it was.
  void ClosingStaysOpenWhenTheSaveFails() {
    Window w;
    w.dialogs.texts.push_back("Holiday");
    w.logic.content().AddAlbumCommand();
    w.dialogs.answers.push_back(Answer::kYes);
    w.dialogs.paths.push_back(std::nullopt);
    QVERIFY(!w.form.close());
    QVERIFY(w.form.isVisible());
    QCOMPARE(w.AlbumCount(), 1);
    QVERIFY(w.logic.project().Modified);
    w.dialogs.messages.clear();

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
