#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QListWidgetItem;

namespace quorvale {
class MainWindowLogic;
}

namespace quorvale::ui {

class DropList;
class PicturePreview;
class ThumbnailCache;

// The Content page: the albums on the left, the selected album's pictures with their
// comment and preview on the right. It forwards its controls' events to the content
// editor and shows the state the editor leaves.
class ContentPage final : public QWidget {
  Q_OBJECT

 public:
  explicit ContentPage(MainWindowLogic& logic, QWidget* parent = nullptr);

  // Shows the albums, pictures and comment of the current selection.
  void Render();
  // Sends the page's text box keys through `filter` first (the window's undo keys).
  void InstallUndoKeyFilter(QObject* filter);

 private:
  void Build();
  void Connect();
  // Shows the selected album's pictures: thumbnails, names, comment marks and missing badges.
  void ShowPictureRows();
  // Sets the thumbnail and badges of `item` for picture `path`.
  void DecorateRow(QListWidgetItem* item);

  MainWindowLogic& logic_;

  QGroupBox* frmAlbum_ = nullptr;
  QPushButton* btnAddNew_ = nullptr;
  QPushButton* btnDelete_ = nullptr;
  QPushButton* btnUp_ = nullptr;
  QPushButton* btnDown_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* lblAlbum_ = nullptr;
  DropList* AlbumList_ = nullptr;
  QGroupBox* frmPictures_ = nullptr;
  QPushButton* btnAddpic_ = nullptr;
  QPushButton* btnRemovepic_ = nullptr;
  QPushButton* btnPicUp_ = nullptr;
  QPushButton* btnPicDown_ = nullptr;
  QLabel* Label2_ = nullptr;
  QLineEdit* txtPictureComment_ = nullptr;
  DropList* PicList_ = nullptr;
  PicturePreview* picPreview_ = nullptr;
  ThumbnailCache* thumbnails_ = nullptr;
};

}  // namespace quorvale::ui
