#include "ui/qt_user_dialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace quorvale::ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Message texts join their lines with CR LF; Qt breaks lines at LF alone.
QString DisplayText(const std::string& text) { return Q(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

std::string Native(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

// A Yes/No question has no Cancel: Escape and the close box must not answer it.
class MessageBox final : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  bool must_answer = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (must_answer && event->key() == Qt::Key_Escape) return;
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (must_answer) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }
};

QMessageBox::Icon QtIcon(Icon icon) {
  switch (icon) {
    case Icon::kCritical: return QMessageBox::Critical;
    case Icon::kExclamation: return QMessageBox::Warning;
    case Icon::kQuestion: return QMessageBox::Question;
    case Icon::kInformation: return QMessageBox::Information;
    case Icon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::kOk: break;
  }
  return QMessageBox::Ok;
}

// A file dialog prepared as the request says; `mode` and `accept` choose the variant.
void Prepare(QFileDialog& dialog, const FileDialogRequest& request, QFileDialog::FileMode mode,
             QFileDialog::AcceptMode accept) {
  dialog.setWindowTitle(Q(request.title));
  dialog.setFileMode(mode);
  dialog.setAcceptMode(accept);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_overwrite);
  const QStringList filters = NameFiltersFromProductFilter(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(Q(request.default_ext));
  if (!request.initial_folder.empty()) dialog.setDirectory(Q(request.initial_folder));
  if (!request.file_name.empty()) dialog.selectFile(Q(request.file_name));
}

}  // namespace

QStringList NameFiltersFromProductFilter(const std::string& filter) {
  const QStringList parts = Q(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) pattern = pattern.trimmed();
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
  }
  return filters;
}

void QtUserDialogs::AttachWindow(QWidget* owner) { owner_ = owner; }

Answer QtUserDialogs::ShowMessage(const MessageRequest& request) {
  MessageBox box(QtIcon(request.icon), Q(request.title), DisplayText(request.text), QtButtons(request.buttons),
                 owner_);
  box.setTextFormat(Qt::PlainText);  // texts may hold "<...>", which is no markup
  box.must_answer = request.buttons == Buttons::kYesNo;
  if (box.must_answer) box.setDefaultButton(QMessageBox::Yes);
  // An OK and Cancel box confirms what cannot be undone: Enter must not say OK.
  if (request.buttons == Buttons::kOkCancel) box.setDefaultButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::kOk;
    case QMessageBox::Yes: return Answer::kYes;
    case QMessageBox::No: return Answer::kNo;
    case QMessageBox::Cancel: return Answer::kCancel;
    default: break;
  }
  return DeclinedAnswer(request.buttons);  // closed without a button
}

std::optional<std::string> QtUserDialogs::AskText(const InputRequest& request) {
  QInputDialog dialog(owner_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(Q(request.title));
  dialog.setLabelText(Q(request.prompt));
  dialog.setTextValue(Q(request.default_text));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<std::vector<std::string>> QtUserDialogs::ChooseOpenFiles(const FileDialogRequest& request) {
  QFileDialog dialog(owner_);
  Prepare(dialog, request, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> paths;
  for (const QString& path : dialog.selectedFiles()) paths.push_back(Native(path));
  return paths;
}

std::optional<std::string> QtUserDialogs::ChooseOpenFile(const FileDialogRequest& request) {
  QFileDialog dialog(owner_);
  Prepare(dialog, request, QFileDialog::ExistingFile, QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Native(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtUserDialogs::ChooseSaveFile(const FileDialogRequest& request) {
  QFileDialog dialog(owner_);
  Prepare(dialog, request, QFileDialog::AnyFile, QFileDialog::AcceptSave);
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString path = dialog.selectedFiles().constFirst();
    // Asked to confirm a new name: the dialog's own question, as the platform asks it.
    if (!request.confirm_create || QFileInfo::exists(path)) return Native(path);
    const auto create = QMessageBox::question(
        &dialog, dialog.windowTitle(),
        QStringLiteral("%1 does not exist.\nDo you want to create it?").arg(QDir::toNativeSeparators(path)));
    if (create == QMessageBox::Yes) return Native(path);
  }
  return std::nullopt;
}

std::optional<std::string> QtUserDialogs::ChooseFolder(const std::string& title, const std::string& initial_folder) {
  const QString folder = QFileDialog::getExistingDirectory(owner_, Q(title), Q(initial_folder));
  if (folder.isEmpty()) return std::nullopt;
  return Native(folder);
}

}  // namespace quorvale::ui
