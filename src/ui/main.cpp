#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QSettings>
#include <QStandardPaths>

#include <clocale>
#include <memory>
#include <string>
#include <variant>

#include "vips/module_picture_metadata.h"
#include "vips/vips_picture_imaging.h"
#include "platform/clock.h"
#include "platform/program_folder.h"
#include "ui/form1.h"
#include "ui/qt_metadata_reading.h"
#include "ui/qt_password_port.h"
#include "ui/qt_user_dialogs.h"
#include "window/main_window.h"
#ifdef QUORVALE_HAS_SFTP
#include "transfer/server_transfer.h"
#endif

namespace {

#ifdef QUORVALE_HAS_SFTP
// The window's way to servers: libcurl's transfer for the address, with the window's
// questions about a new server key and a password.
std::variant<std::unique_ptr<quorvale::Transfer>, std::string> ServerTransfer(const std::string& text,
                                                                             quorvale::ServerQuestions questions) {
  auto address = quorvale::ParseServerAddress(text);
  if (auto* problem = std::get_if<std::string>(&address)) return std::move(*problem);
  return quorvale::MakeServerTransfer(std::get<quorvale::ServerAddress>(std::move(address)),
                                     std::move(questions.trust_new_host), std::move(questions.ask_password));
}
#endif

}  // namespace

int main(int argc, char** argv) {
  // Dates in the status texts follow the user's locale.
  std::setlocale(LC_ALL, "");
  QApplication app(argc, argv);
  QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));

  quorvale::ui::QtUserDialogs dialogs;
  quorvale::SystemClock clock;
  quorvale::VipsPictureImaging imaging;
  // Pictures that arrive bring their own captions, read with the same module's libexiv2.
  quorvale::ModulePictureMetadata metadata;
  quorvale::ui::QtMetadataReading metadata_reading(metadata);
  // The project dialogs start in the user's documents folder, which the user can write.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  quorvale::MainWindowLogic logic(dialogs, clock, quorvale::ProgramFolder(),
                                  QDir::toNativeSeparators(documents).toStdString());
  logic.run().SetPictureImaging(&imaging);
  logic.SetMetadataReading(&metadata_reading);
  // The recent projects are kept in the user's settings between sessions.
  QSettings stored(QStringLiteral("Quorvale"), QStringLiteral("Quorvale"));
  std::vector<std::string> recent;
  for (const QString& path : stored.value(QStringLiteral("recentProjects")).toStringList()) {
    recent.push_back(path.toStdString());
  }
  logic.recent().Assign(recent);
  quorvale::ui::QtPasswordPort passwords;
  logic.upload().SetPasswordPort(&passwords);
#ifdef QUORVALE_HAS_SFTP
  logic.upload().SetServerTransfers(&ServerTransfer);
#endif
  quorvale::ui::Form1 form(logic);
  dialogs.AttachWindow(&form);
  metadata_reading.AttachWindow(&form);
  passwords.AttachWindow(&form);
  logic.Startup();
  form.show();
  // `quorvale FILE.qs1`, as a file manager starts it: that project opens.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    logic.OpenFromCommandLine(QDir::toNativeSeparators(QFileInfo(arguments.at(1)).absoluteFilePath()).toStdString());
  }
  const int status = app.exec();
  QStringList kept;
  for (const std::string& path : logic.recent().Paths()) kept.append(QString::fromStdString(path));
  stored.setValue(QStringLiteral("recentProjects"), kept);
  return status;
}
