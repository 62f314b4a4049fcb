// The Content page's new ways of editing: moving rows by buttons and keys, drops from
// outside, undo from the Edit menu and its keys, text set by assistive technology, and
// the picture preview.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "core/support/scripted_dialogs.h"
#include "shown_window.h"
#include "ui/form1.h"
#include "window/main_window.h"


namespace {

struct Window : quorvale::testing::ShownWindow {
  QTemporaryDir folder;

  Window() {
    form.activateWindow();  // shortcuts go to the active window's focus
    if (!QTest::qWaitForWindowActive(&form)) qFatal("the window did not become active");
  }
  QStringList Rows(const char* list_name) {
    QStringList rows;
    auto* list = Find<QListWidget>(list_name);
    for (int i = 0; i < list->count(); ++i) rows << QFileInfo(list->item(i)->text()).fileName();
    return rows;
  }
  // A file that begins as a JPEG does, unless `bytes` say otherwise.
  QString MakeFile(const QString& relative, const QByteArray& bytes = "\xFF\xD8\xFF") {
    const QString path = folder.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
  }
  // Drops `paths` from outside on the list's rows; returns whether the drop was taken.
  bool Drop(const char* list_name, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* target = Find<QListWidget>(list_name)->viewport();
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();  // the drop is handled once the drag has ended
    return drop.isAccepted();
  }
};

// A red JPEG stored wide (90 x 30), with an EXIF orientation (6: turn right) that
// stands it upright and tall.
QByteArray TallJpeg() {
  QImage wide(90, 30, QImage::Format_RGB32);
  wide.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  wide.save(&buffer, "JPG");
  const char exif[] = "\xFF\xE1\x00\x22" "Exif\0\0" "II\x2A\0\x08\0\0\0" "\x01\0" "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                      "\0\0\0\0";
  bytes.insert(2, QByteArray(exif, sizeof exif - 1));  // an APP1 segment right after the JPEG's start
  return bytes;
}

}  // namespace

class ContentEditingTest : public QObject {
  Q_OBJECT

 private slots:
  void MovingByButtonsAndKeys() {
    Window w;
    for (const char* title : {"A", "B", "C"}) w.AddAlbum(title);
    auto* albums = w.Find<QListWidget>("AlbumList");
    QVERIFY(w.Find<QPushButton>("btnUp")->isVisible());
    QVERIFY(!w.Find<QPushButton>("btnDown")->isEnabled());  // C is last
    QTest::mouseClick(w.Find<QPushButton>("btnUp"), Qt::LeftButton);
    QCOMPARE(w.Rows("AlbumList"), (QStringList{"A", "C", "B"}));
    QCOMPARE(albums->currentRow(), 1);
    albums->setFocus();
    QTest::keyClick(albums, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(w.Rows("AlbumList"), (QStringList{"C", "A", "B"}));
    QCOMPARE(albums->currentRow(), 0);
    QVERIFY(w.logic.project().Modified);

    w.dialogs.files.push_back(std::vector<std::string>{"/p/1.jpg", "/p/2.jpg", "/p/3.jpg"});
    QTest::mouseClick(w.Find<QPushButton>("btnAddpic"), Qt::LeftButton);
    auto* pictures = w.Find<QListWidget>("PicList");
    pictures->setFocus();
    QTest::keyClick(pictures, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(pictures, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(w.Rows("PicList"), (QStringList{"3.jpg", "1.jpg", "2.jpg"}));
    QCOMPARE(pictures->currentRow(), 0);
    QTest::mouseClick(w.Find<QPushButton>("btnPicDown"), Qt::LeftButton);
    QCOMPARE(w.Rows("PicList"), (QStringList{"1.jpg", "3.jpg", "2.jpg"}));
    QCOMPARE(pictures->item(1)->toolTip(), QStringLiteral("/p/3.jpg\nThe file is missing."));

    // Undo from the menu and from the keys, also while typing in the comment box.
    w.Find<QAction>("mnuEditUndo")->trigger();
    QCOMPARE(w.Rows("PicList"), (QStringList{"3.jpg", "1.jpg", "2.jpg"}));
    auto* comment = w.Find<QLineEdit>("txtPictureComment");
    comment->setFocus();
    QTest::keyClicks(comment, QStringLiteral("dawn"));
    QTest::keyClick(comment, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(comment->text(), QString());
    QTest::keyClick(comment, Qt::Key_Z, Qt::ControlModifier);  // the project's step before the typing
    QCOMPARE(w.Rows("PicList"), (QStringList{"1.jpg", "3.jpg", "2.jpg"}));
    QTest::keyClick(comment, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(comment, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.Rows("PicList"), (QStringList{"3.jpg", "1.jpg", "2.jpg"}));
    QCOMPARE(comment->text(), QStringLiteral("dawn"));
  }

  // The keys reach the editor: Enter and F2 rename, Delete removes the selection, the
  // Edit menu's Select All selects every picture; Remove waits for something to remove.
  void KeysAndManyPicturesAtOnce() {
    Window w;
    QVERIFY(!w.Find<QPushButton>("btnDelete")->isEnabled());
    w.AddAlbum("A");
    auto* albums = w.Find<QListWidget>("AlbumList");
    albums->setFocus();
    for (const auto key : {Qt::Key_Return, Qt::Key_F2}) {
      w.dialogs.texts.push_back(key == Qt::Key_F2 ? "By F2" : "By Enter");
      QTest::keyClick(albums, key);
    }
    QCOMPARE(w.Rows("AlbumList"), QStringList{"By F2"});
    QVERIFY(!w.Find<QPushButton>("btnRemovepic")->isEnabled());

    w.dialogs.files.push_back(std::vector<std::string>{"/p/1.jpg", "/p/2.jpg", "/p/3.jpg", "/p/4.jpg"});
    QTest::mouseClick(w.Find<QPushButton>("btnAddpic"), Qt::LeftButton);
    auto* pictures = w.Find<QListWidget>("PicList");
    QTest::mouseClick(pictures->viewport(), Qt::LeftButton, Qt::NoModifier,
                      pictures->visualItemRect(pictures->item(0)).center());
    QTest::mouseClick(pictures->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      pictures->visualItemRect(pictures->item(2)).center());
    QCOMPARE(w.logic.content().SelectedPictureRows(), (std::vector<int>{0, 2}));
    pictures->setFocus();
    QTest::keyClick(pictures, Qt::Key_Delete);
    QCOMPARE(w.Rows("PicList"), (QStringList{"2.jpg", "4.jpg"}));
    w.Find<QAction>("mnuEditUndo")->trigger();
    QCOMPARE(w.Rows("PicList"), (QStringList{"1.jpg", "2.jpg", "3.jpg", "4.jpg"}));

    QTest::keyClick(pictures, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.logic.content().SelectedPictureRows(), (std::vector<int>{0, 1, 2, 3}));
    QCOMPARE(pictures->selectedItems().size(), 4);
    QCOMPARE(pictures->accessibleName(), QStringLiteral("Pictures"));
    QCOMPARE(w.Find<QPushButton>("btnPicUp")->accessibleName(), QStringLiteral("Move picture up"));
  }

  void DropsOfFilesAndFolders() {
    Window w;
    w.AddAlbum("Trip");
    const QStringList files{w.MakeFile("peak-10.jpg"), w.MakeFile("peak-1.JPG"), w.MakeFile("peak-2.gif")};
    QVERIFY(w.Drop("PicList", {w.MakeFile("notes.txt", "notes")}));  // taken, named as no picture
    QCOMPARE(w.Rows("PicList"), QStringList{});
    QVERIFY(!w.Drop("AlbumList", files));  // files are no album
    QVERIFY(w.Drop("PicList", files));
    QCOMPARE(w.Rows("PicList"), (QStringList{"peak-1.JPG", "peak-2.gif", "peak-10.jpg"}));

    w.MakeFile(QStringLiteral("Day 2/a.jpg"));
    w.MakeFile(QStringLiteral("Day 10/b.jpg"));
    QVERIFY(!w.Drop("PicList", {w.folder.filePath("Day 2")}));
    QVERIFY(w.Drop("AlbumList", {w.folder.filePath("Day 10"), w.folder.filePath("Day 2")}));
    QCOMPARE(w.Rows("AlbumList"), (QStringList{"Trip", "Day 2", "Day 10"}));
    QCOMPARE(w.Rows("PicList"), QStringList{"b.jpg"});
  }

  // Text set by a screen reader or voice control is taken as typed.
  void TextSetThroughAccessibilityCountsAsTyped() {
    Window w;
    w.AddAlbum("One");
    w.dialogs.files.push_back(std::vector<std::string>{"/p/1.jpg"});
    QTest::mouseClick(w.Find<QPushButton>("btnAddpic"), Qt::LeftButton);
    auto* comment = QAccessible::queryAccessibleInterface(w.Find<QLineEdit>("txtPictureComment"));
    comment->setText(QAccessible::Value, QStringLiteral("Spoken caption"));
    QCOMPARE(w.logic.project().AlbumPictures(0).At(0).comment, std::string("Spoken caption"));
    auto* directory = QAccessible::queryAccessibleInterface(w.Find<QLineEdit>("txtPublishDirectory"));
    directory->setText(QAccessible::Value, QStringLiteral("/srv/site"));
    QCOMPARE(w.logic.settings().PublishDirectory, std::string("/srv/site"));
    QCOMPARE(w.logic.publishing().AccessUrl(), std::string("/srv/site/PhotoAlbum.htm"));
    QCOMPARE(comment->text(QAccessible::Description), QStringLiteral("Add/Edit comment for selected picture"));
  }

  // Each row's thumbnail is read off the window's thread and arrives upright; a missing
  // file gets its badge instead.
  void ThumbnailsFillIn() {
    Window w;
    const QString picture = w.MakeFile(QStringLiteral("tall.jpg"), TallJpeg());
    w.AddAlbum("One");
    w.dialogs.files.push_back(std::vector<std::string>{picture.toStdString(), "/gone/x.jpg"});
    QTest::mouseClick(w.Find<QPushButton>("btnAddpic"), Qt::LeftButton);
    auto* pictures = w.Find<QListWidget>("PicList");
    const auto pixel = [pictures](int row, QPoint at) {
      return pictures->item(row)->icon().pixmap(QSize(32, 32)).toImage().pixelColor(at);
    };
    QTRY_VERIFY(pixel(0, QPoint(16, 16)).red() > 200);  // the picture, in the middle
    QVERIFY(pixel(0, QPoint(3, 16)).alpha() == 0);       // upright and narrow: nothing at the sides
    QVERIFY(pixel(0, QPoint(16, 3)).red() > 200);        // but from top to bottom
    QCOMPARE(pictures->item(0)->text(), QStringLiteral("tall.jpg"));
    QCOMPARE(pictures->item(0)->toolTip(), picture);
    QVERIFY(pixel(1, QPoint(5, 5)).red() > 150);  // the missing badge in the corner
    QVERIFY(pictures->item(1)->toolTip().endsWith(QStringLiteral("The file is missing.")));
  }

  void PreviewShowsThePictureOrWhatIsWrong() {
    Window w;
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString picture = w.folder.filePath("green.jpg");
    QVERIFY(image.save(picture));
    const QString broken = w.MakeFile("broken.jpg", "\xFF\xD8\xFF not a picture");
    w.AddAlbum("One");
    const QString tall = w.MakeFile(QStringLiteral("tall.jpg"), TallJpeg());
    w.dialogs.files.push_back(
        std::vector<std::string>{picture.toStdString(), broken.toStdString(), "/gone/x.jpg", tall.toStdString()});
    QTest::mouseClick(w.Find<QPushButton>("btnAddpic"), Qt::LeftButton);
    const auto* details = w.Find<QLabel>("lblPreviewDetails");
    const auto* preview_image = w.Find<QLabel>("imgPreview");
    const struct {
      int row;
      QString details;
      bool image;
    } cases[] = {
        {0, QStringLiteral("400 \u00D7 300 pixels, "), true},
        {1, QStringLiteral("Cannot read this picture"), false},
        {2, QStringLiteral("Picture not found"), false},
        {3, QStringLiteral("30 \u00D7 90 pixels, "), true},  // as it is shown: upright
    };
    for (const auto& c : cases) {
      w.logic.content().OnPictureClicked(c.row);
      QTRY_VERIFY(details->text().startsWith(c.details));
      QCOMPARE(!preview_image->pixmap().isNull(), c.image);
    }
  }
};

QTEST_MAIN(ContentEditingTest)
#include "content_editing_test.moc"
