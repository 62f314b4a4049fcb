#include "ui/qt_password_port.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#ifdef QUORVALE_HAS_KEYCHAIN
#include <QEventLoop>
#include <qt6keychain/keychain.h>
#endif

#include "ui/controls.h"

namespace quorvale::ui {
namespace {

#ifdef QUORVALE_HAS_KEYCHAIN
// The keyring's name for the passwords Quorvale keeps, one per server account.
const QString kKeyringService = QStringLiteral("Quorvale upload");

// Runs a keyring job to its end; the keyring answers through the event loop.
void RunToEnd(QKeychain::Job& job) {
  QEventLoop loop;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
  job.start();
  loop.exec();
}
#endif

}  // namespace

std::optional<PasswordAnswer> QtPasswordPort::AskPassword(const PasswordRequest& request) {
  QDialog dialog(owner_);
  dialog.setObjectName(QStringLiteral("dlgPassword"));
  dialog.setWindowTitle(Q(request.title));
  auto* prompt = Named(new QLabel(Q(request.prompt), &dialog), "lblPasswordPrompt");
  prompt->setTextFormat(Qt::PlainText);
  auto* password = Named(new QLineEdit(&dialog), "txtPassword");
  password->setEchoMode(QLineEdit::Password);
  auto* remember = Named(new QCheckBox(QStringLiteral("&Remember (in the desktop's keyring)"), &dialog), "chkRemember");
  remember->setVisible(request.offer_remember);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* column = new QVBoxLayout(&dialog);
  column->addWidget(prompt);
  column->addWidget(password);
  column->addWidget(remember);
  column->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return PasswordAnswer{password->text().toStdString(), request.offer_remember && remember->isChecked()};
}

#ifdef QUORVALE_HAS_KEYCHAIN
bool QtPasswordPort::KeyringAvailable() const { return true; }

std::optional<std::string> QtPasswordPort::KeptPassword(const std::string& account) {
  QKeychain::ReadPasswordJob job(kKeyringService);
  job.setAutoDelete(false);
  job.setKey(Q(account));
  RunToEnd(job);
  if (job.error() != QKeychain::NoError) return std::nullopt;
  return job.textData().toStdString();
}

void QtPasswordPort::KeepPassword(const std::string& account, const std::string& password) {
  // A keyring that refuses leaves the password to this session alone.
  QKeychain::WritePasswordJob job(kKeyringService);
  job.setAutoDelete(false);
  job.setKey(Q(account));
  job.setTextData(Q(password));
  RunToEnd(job);
}
#else
bool QtPasswordPort::KeyringAvailable() const { return false; }
std::optional<std::string> QtPasswordPort::KeptPassword(const std::string&) { return std::nullopt; }
void QtPasswordPort::KeepPassword(const std::string&, const std::string&) {}
#endif

}  // namespace quorvale::ui
