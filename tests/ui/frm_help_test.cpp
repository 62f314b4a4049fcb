#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "help/quick_help.h"
#include "ui/form1.h"
#include "ui/frm_help.h"
#include "window/main_window.h"

using quorvale::ui::FrmHelp;

class FrmHelpTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  static T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
  }
  static QLabel* Link(FrmHelp& help, int index) {
    for (QLabel* label : help.findChildren<QLabel*>(QStringLiteral("Label"))) {
      if (label->property("Index").toInt() == index) return label;
    }
    qFatal("no topic link %d", index);
  }

 private slots:
  void ShowsCaptionsLinksAndToolTips() {
    FrmHelp help(nullptr);
    QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(help.windowTitle(), QStringLiteral("Quorvale 1.0.0 - Help"));
    QCOMPARE(Child<QLabel>(help, "lblTitle")->text(), QStringLiteral("Quorvale 1.0.0 - Help"));
    QCOMPARE(Child<QLabel>(help, "CopyRightLabel")->text(),
             QStringLiteral("Copyright (C) 2026 The Quorvale authors. Distributed under the MIT License."));
    QCOMPARE(help.findChildren<QLabel*>(QStringLiteral("Label")).size(), 11);
    QVERIFY(Link(help, 7)->text().contains(QStringLiteral("Distributing on CD &amp; Web")));
    const QList<QPair<const char*, QString>> tips = {
        {"btnFirst", "First Topic"}, {"btnPrev", "Previous Topic"}, {"btnNext", "Next Topic"},
        {"btnLast", "Last Topic"}};
    for (const auto& [name, tip] : tips) QCOMPARE(Child<QPushButton>(help, name)->toolTip(), tip);
    QCOMPARE(Child<QPushButton>(help, "btnClose")->text(), QStringLiteral("Close"));
  }

  void NavigatesAndStopsAtBothEnds() {
    FrmHelp help(nullptr);
    auto* heading = Child<QLabel>(help, "lblHeading");
    auto* text = Child<QPlainTextEdit>(help, "Text1");
    QSignalSpy redraws(text, &QPlainTextEdit::textChanged);
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Welcome to Quorvale 1.0\n\nQuorvale allows you")));
    struct Step {
      const char* what;
      int topic;
      const char* heading;
      int redraws;  // total so far: a move that goes nowhere shows nothing again
    };
    const QList<Step> steps = {
        {"btnPrev", 0, "INTRODUCTION", 0}, {"btnNext", 1, "QUICK HELP", 1},  {"btnLast", 10, "SORTING AN ALBUM", 2},
        {"btnNext", 10, "SORTING AN ALBUM", 2}, {"btnPrev", 9, "CAPTIONS FROM THE PHOTOS", 3},
        {"link 3", 3, "ORGANIZE PROJECT", 4}, {"btnFirst", 0, "INTRODUCTION", 5},
    };
    for (const Step& step : steps) {
      const QByteArray what(step.what);
      if (what.startsWith("link ")) {
        emit Link(help, what.mid(5).toInt())->linkActivated(QString::fromLatin1(what.mid(5)));
      } else {
        QTest::mouseClick(Child<QPushButton>(help, step.what), Qt::LeftButton);
      }
      QCOMPARE(help.CurrentTopic(), step.topic);
      QCOMPARE(heading->text(), QString::fromLatin1(step.heading));
      QCOMPARE(redraws.size(), step.redraws);
    }
  }

  void EscapeClosesFromEveryButtonAndTheText() {
    FrmHelp help(nullptr);
    QTest::mouseClick(Child<QPushButton>(help, "btnNext"), Qt::LeftButton);
    for (const char* name : {"btnFirst", "btnPrev", "btnNext", "btnLast", "btnClose", "Text1"}) {
      help.show();
      QVERIFY(QTest::qWaitForWindowExposed(&help));
      QWidget* widget = Child<QWidget>(help, name);
      widget->setFocus();
      if (widget->objectName() == QStringLiteral("Text1")) {
        // Other keys in the text change nothing: Return presses no button.
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_A);
        QVERIFY(help.isVisible());
        QCOMPARE(help.CurrentTopic(), 1);
      }
      QTest::keyClick(widget, Qt::Key_Escape);
      QVERIFY2(!help.isVisible(), name);
    }
  }

  void MainWindowOpensHelpWithF1AndShowsQuickHelpAndClear() {
    quorvale::testing::ScriptedDialogs dialogs;
    quorvale::testing::FixedClock clock;
    quorvale::MainWindowLogic logic(dialogs, clock, "/prog");
    quorvale::ui::Form1 form(logic);
    logic.Startup();
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // F1 opens the help window modally over the main window, at the first topic.
    bool help_was_modal = false;
    QWidget* seen_parent = nullptr;
    int seen_topic = -1;
    QTimer::singleShot(0, [&] {
      if (auto* help = qobject_cast<FrmHelp*>(QApplication::activeModalWidget())) {
        help_was_modal = help->isModal();
        seen_parent = help->parentWidget();
        seen_topic = help->CurrentTopic();
        help->close();
      }
    });
    QTest::keyClick(&form, Qt::Key_F1);  // returns once the help window is closed
    QVERIFY(help_was_modal);
    QCOMPARE(seen_parent, &form);
    QCOMPARE(seen_topic, 0);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    // Badge 3 shows its quick help; Clear on the start-up placeholder names the missing folder.
    QTest::mouseClick(Child<QWidget>(form, "Image3"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(form, "btnClearDir"), Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), std::size_t{2});
    QCOMPARE(dialogs.messages[0].title, std::string("Quorvale 1.0.0 - Quick Help: SELECT PUBLISHING DIRECTORY"));
    QCOMPARE(dialogs.messages[0].text, quorvale::GetPublishingDirHelpText());
    QCOMPARE(dialogs.messages[1].text,
             std::string("Publishing Folder (<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>) does not exist."));
  }
};

QTEST_MAIN(FrmHelpTest)
#include "frm_help_test.moc"
