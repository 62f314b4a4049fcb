#include <QAction>
#include <QCheckBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "shown_window.h"
#include "platform/path.h"
#include "ui/form1.h"
#include "ui/qt_user_dialogs.h"
#include "window/main_window.h"


namespace {

const std::string kSep(1, quorvale::kPathSeparator);

struct Window : quorvale::testing::ShownWindow {
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
  void ClickRow(const char* list_name, int row, bool twice = false) {
    auto* list = Find<QListWidget>(list_name);
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
  void AddPictures(std::vector<std::string> names) {
    for (std::string& name : names) name = kSep + "pics" + kSep + name;
    dialogs.files.push_back(names);
    Click("btnAddpic");
  }
  QStringList Rows(const char* list_name) {
    QStringList rows;
    auto* list = Find<QListWidget>(list_name);
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
  }
};

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private slots:
  void ControlsCarryTheirNamesAndHiddenOnesStayHidden() {
    Window w;
    for (const char* name :
         {"Label5", "sProjectName", "btnOpenProject", "btnSaveProject", "btnSaveAs", "SSTab1", "frmAlbum", "Image1",
          "btnAddNew", "btnDelete", "btnUp", "btnDown", "Label1", "lblAlbum", "AlbumList", "frmPictures", "Image2",
          "btnAddpic", "btnRemovepic", "btnPicUp", "btnPicDown", "Label2", "txtPictureComment", "PicList",
          "frmPublish", "Image3", "txtPublishDirectory", "btnPubDir", "btnClearDir", "Frame1", "optionJava",
          "optionHTML", "chkPublishPictures", "txtAppSource", "btnAppDir", "Label4", "Label3", "Label7", "Label8",
          "frmStatus", "lblStatus", "txtStatus", "btnGenerate", "Image4", "Label10", "Image5", "lblApplicationURL",
          "lblCopyright", "Label6", "mnuFile", "mnuFileNew", "mnuFileOpen", "mnuFileSave", "mnuFileSaveAs",
          "mnuBlank", "mnuFileExit", "mnuHelp", "mnuHelpTopics", "mnuAbout", "mnuEdit", "mnuEditUndo", "mnuEditRedo",
          "mnuEditSortByName", "mnuEditSortByDate",
          "prgGeneration", "btnCancelGeneration", "picPreview"}) {
      QVERIFY2(w.form.findChild<QObject*>(QLatin1String(name)) != nullptr, name);
    }
    QCOMPARE(w.Find<QAction>("mnuBlank")->text(), QString(35, QLatin1Char('-')));
    QVERIFY(!w.Find<QAction>("mnuBlank")->isEnabled());
    QCOMPARE(w.Find<QAction>("mnuFileSaveAs")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    // The first release's client area, taller where the Generate page's later rows need it.
    QCOMPARE(w.form.centralWidget()->width(), 683);
    QVERIFY(w.form.centralWidget()->height() >= 507);
    QCOMPARE(w.Find<QWidget>("Image3")->size(), QSize(16, 16));
    QCOMPARE(w.Find<QWidget>("Image3")->toolTip(), QStringLiteral("Click the Quick Help"));

    w.Find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    QVERIFY(w.Find<QWidget>("txtPublishDirectory")->isVisible());
    // The status box keeps room for five lines of the transcript.
    QVERIFY(w.Find<QWidget>("txtStatus")->height() >= 5 * w.Find<QWidget>("txtStatus")->fontMetrics().lineSpacing());
    for (const char* name : {"btnOpenProject", "btnSaveProject", "btnSaveAs", "txtAppSource", "btnAppDir", "Label7"}) {
      QVERIFY2(!w.Find<QWidget>(name)->isVisibleTo(&w.form), name);
    }
    // The moving buttons show; every control a user meets keeps a tool tip.
    for (const char* name : {"btnUp", "btnDown", "btnPicUp", "btnPicDown", "prgGeneration", "btnCancelGeneration",
                             "picPreview"}) {
      QVERIFY2(!w.Find<QWidget>(name)->isHidden(), name);
      QVERIFY2(!w.Find<QWidget>(name)->toolTip().isEmpty(), name);
    }
    QCOMPARE(w.Find<QAction>("mnuEditRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
  }

  void ListsAndCommentFollowTheSelection() {
    Window w;
    w.AddAlbum("First");
    QCOMPARE(w.Find<QLabel>("lblAlbum")->text(), QStringLiteral("First"));
    w.AddPictures({"a.jpg", "b.jpg"});
    w.AddAlbum("Second");
    QCOMPARE(w.Find<QGroupBox>("frmAlbum")->title(), QStringLiteral("     Albums: 2 of 2"));
    QCOMPARE(w.Rows("PicList"), QStringList{});

    w.ClickRow("AlbumList", 0);
    QCOMPARE(w.Rows("PicList").size(), 2);
    QCOMPARE(w.Find<QListWidget>("PicList")->currentRow(), 0);
    auto* comment = w.Find<QLineEdit>("txtPictureComment");
    QTest::keyClicks(comment, QStringLiteral("sunset"));
    w.ClickRow("PicList", 1);
    QCOMPARE(comment->text(), QString());
    w.ClickRow("PicList", 0, true);  // double-click: the caret goes to the end of the comment
    QCOMPARE(comment->text(), QStringLiteral("sunset"));
    QCOMPARE(comment->cursorPosition(), 6);

    w.Click("btnRemovepic");
    QCOMPARE(w.Find<QGroupBox>("frmPictures")->title(), QStringLiteral("     Pictures: 1"));
    w.Click("btnDelete");
    w.dialogs.texts.push_back("Renamed");
    w.ClickRow("AlbumList", 0, true);  // double-click: edit the title
    QCOMPARE(w.Rows("AlbumList"), QStringList{QStringLiteral("Renamed")});
  }

  // The status box gathers the lines that arrive within 50 ms rather than lay out each,
  // and shows what is left when the state changes (a run's end).
  void StatusBoxGathersLinesAndShowsTheRestWithTheRunsEnd() {
    Window w;
    auto* status = w.Find<QPlainTextEdit>("txtStatus");
    w.form.TranscriptAppended("\r\nfirst");
    w.form.TranscriptAppended("\r\nsecond");  // at most 50 ms after the box was last shown
    QVERIFY(!status->toPlainText().endsWith(QStringLiteral("second")));
    QTRY_COMPARE(status->toPlainText(), QStringLiteral("\nfirst\nsecond"));
    w.form.TranscriptAppended("\r\nthird");
    w.form.TranscriptAppended("\r\nfourth");
    w.form.StateChanged();
    QCOMPARE(status->toPlainText(), QStringLiteral("\nfirst\nsecond\nthird\nfourth"));
  }

  // The button follows the tab change; a click replaces the status box by the run's
  // transcript, with the line ends the box uses.
  void GenerateButtonFollowsTheTabChangeAndFillsTheStatusBox() {
    QTemporaryDir site;
    Window w;
    auto* tabs = w.Find<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(1);
    QVERIFY(!w.Find<QPushButton>("btnGenerate")->isEnabled());
    tabs->setCurrentIndex(0);
    w.AddAlbum("One");
    w.logic.publishing().OnPublishDirectoryEdited(site.path().toStdString());
    tabs->setCurrentIndex(1);
    auto* status = w.Find<QPlainTextEdit>("txtStatus");
    status->setPlainText(QStringLiteral("left over from an earlier run"));
    w.Click("btnGenerate");
    QTRY_VERIFY(!w.logic.run().GenerationRunning());
    const QString expected = QString::fromStdString(w.logic.run().StatusText()).remove(QLatin1Char('\r'));
    QVERIFY(expected.startsWith(QStringLiteral("\nGeneration started (12/5/2026 6:15:42 AM) ....\n\n")));
    QCOMPARE(status->toPlainText(), expected);
    QCOMPARE(w.Find<QLabel>("lblStatus")->text(), QStringLiteral("Generation Completed."));
  }

  void PublishingDirectoryAndAccessUrl() {
    Window w;
    w.Find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    // The location setting is off by default and, like the folder, saved with the project;
    // it is a choice with the HTML viewer only.
    auto* keep_location = w.Find<QCheckBox>("chkKeepLocation");
    QCOMPARE(keep_location->text(), QStringLiteral("Keep location data in published pictures"));
    QVERIFY(!keep_location->isChecked() && !keep_location->isEnabled() && !w.logic.project().Modified);
    QVERIFY(!w.Find<QCheckBox>("chkPublishPictures")->isEnabled());
    auto* html = w.Find<QRadioButton>("optionHTML");
    QTest::mouseClick(html, Qt::LeftButton, {}, QPoint(8, html->height() / 2));
    QVERIFY(html->isChecked() && !w.Find<QRadioButton>("optionJava")->isChecked());
    QVERIFY(keep_location->isEnabled() && w.Find<QCheckBox>("chkPublishPictures")->isEnabled());
    QTest::mouseClick(keep_location, Qt::LeftButton, {}, QPoint(8, keep_location->height() / 2));
    QVERIFY(w.logic.settings().KeepLocation && w.logic.project().Modified);
    auto* url = w.Find<QPlainTextEdit>("lblApplicationURL");
    QCOMPARE(url->toPlainText(), QStringLiteral("<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>/PhotoAlbum.htm"));
    auto* directory = w.Find<QLineEdit>("txtPublishDirectory");
    directory->selectAll();
    QTest::keyClicks(directory, QStringLiteral("/srv/x"));
    QCOMPARE(url->toPlainText(), QStringLiteral("/srv/x/PhotoAlbum.htm"));
    QTest::keyClicks(url, QStringLiteral("junk"));
    QTRY_COMPARE(url->toPlainText(), QStringLiteral("/srv/x/PhotoAlbum.htm"));
    w.dialogs.paths.push_back(std::nullopt);
    w.Click("btnPubDir");
    QCOMPARE(w.dialogs.folder_dialog_starts, std::vector<std::string>{"/srv/x"});
  }

  // Titles and file names may hold "<", "&" or "[*]": the window shows them as they are.
  void UserTextIsShownAsWritten() {
    QTemporaryDir folder;
    Window w;
    const QString title = QStringLiteral("<i>Holiday</i> & [*]");
    w.AddAlbum(title.toStdString());
    const std::string path = folder.path().toStdString() + kSep + "<b>x [*].qs1";
    w.dialogs.paths.push_back(path);
    w.Find<QAction>("mnuFileSaveAs")->trigger();
    QCOMPARE(w.form.windowHandle()->title(), QStringLiteral("Quorvale 1.0.0 - ") + QString::fromStdString(path));
    for (const char* name : {"lblAlbum", "sProjectName", "lblStatus"}) {
      QCOMPARE(w.Find<QLabel>(name)->textFormat(), Qt::PlainText);
    }
    auto* album = w.Find<QLabel>("lblAlbum");
    QCOMPARE(album->text(), title);
    QVERIFY(album->sizeHint().width() >= album->fontMetrics().horizontalAdvance(title));
  }

  void MenuItemsReachTheirCommands() {
    Window w;
    w.Find<QAction>("mnuAbout")->trigger();
    QCOMPARE(QString::fromStdString(w.dialogs.messages.at(0).title), QStringLiteral("Quorvale 1.0.0 - About"));
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    QTest::keyClick(&w.form, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w.form.isVisible());
  }

  // The real boxes: each is read and answered inside the callback, checked afterwards.
  void QtDialogsShowTheRequestAsGiven() {
    quorvale::ui::QtUserDialogs dialogs;
    QStringList seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen << box->windowTitle() << box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::No)->click();
      }
    });
    QVERIFY(dialogs.ShowMessage({"Save current project?\r\n<untitled.qs1>", "Quorvale 1.0.0 - Save",
                                 quorvale::Buttons::kYesNo, quorvale::Icon::kQuestion}) == quorvale::Answer::kNo);
    QCOMPARE(seen, (QStringList{QStringLiteral("Quorvale 1.0.0 - Save"),
                                QStringLiteral("Save current project?\n<untitled.qs1>")}));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);

    // An OK and Cancel box confirms a deletion: Enter presses Cancel.
    QTimer::singleShot(0, [] {
      if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(dialogs.ShowMessage({"THIS WILL WIPE OUT", "Quorvale 1.0.0 - Clear", quorvale::Buttons::kOkCancel,
                                 quorvale::Icon::kNone}) == quorvale::Answer::kCancel);

    seen.clear();
    QTimer::singleShot(0, [&] {
      if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
        seen << input->windowTitle() << input->labelText() << input->textValue();
        input->setTextValue(QStringLiteral("New title"));
        input->accept();
      }
    });
    const auto typed = dialogs.AskText({"Edit title for current album", "Quorvale 1.0.0 - Edit Album Title", "Old"});
    QCOMPARE(seen, (QStringList{QStringLiteral("Quorvale 1.0.0 - Edit Album Title"),
                                QStringLiteral("Edit title for current album"), QStringLiteral("Old")}));
    QCOMPARE(QString::fromStdString(typed.value_or("cancelled")), QStringLiteral("New title"));
  }

  void ProductFiltersBecomeQtNameFilters() {
    QCOMPARE(quorvale::ui::NameFiltersFromProductFilter("Image File (*.jpg, *.jpeg, *.gif)|*.jpg;*.jpeg;*.gif"),
             QStringList{QStringLiteral("Image File (*.jpg, *.jpeg, *.gif) (*.jpg *.jpeg *.gif)")});
    QCOMPARE(quorvale::ui::NameFiltersFromProductFilter("Project (*.qs1)|*.qs1|All Files|*.*"),
             (QStringList{QStringLiteral("Project (*.qs1) (*.qs1)"), QStringLiteral("All Files (*.*)")}));
    QVERIFY(quorvale::ui::NameFiltersFromProductFilter("").isEmpty());
  }

  // Not a check: with QUORVALE_SCREENS set, saves both pages of a filled window there.
  void SaveScreens() {
    const QString folder = qEnvironmentVariable("QUORVALE_SCREENS");
    if (folder.isEmpty()) QSKIP("QUORVALE_SCREENS not set");
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));  // as the program does
    Window w;
    w.AddAlbum("Summer holiday at the lake");
    w.AddPictures({"IMG_0001.jpg", "beach walk.jpg", "sunset over the water.jpg"});
    w.AddAlbum("Grandma's 90th birthday");
    w.ClickRow("AlbumList", 0);
    QTest::keyClicks(w.Find<QLineEdit>("txtPictureComment"), QStringLiteral("First morning by the water"));
    QDir().mkpath(folder);
    QVERIFY(w.form.grab().save(folder + QStringLiteral("/content.png")));
    w.logic.publishing().OnPublishDirectoryEdited("/home/anna/Albums");
    w.logic.publishing().OnViewerOptionChosen(quorvale::ViewerId::kHtml);
    w.Find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    w.form.TranscriptAppended("\r\n12/5/2026 6:15:42 AM: Generation started\r\n");
    QVERIFY(w.form.grab().save(folder + QStringLiteral("/generate.png")));
  }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
