#include <QApplication>
#include <QFont>

#include <clocale>

#include "platform/clock.h"
#include "platform/program_folder.h"
#include "ui/form1.h"
#include "ui/qt_user_dialogs.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  // Dates in the status texts follow the user's locale.
  std::setlocale(LC_ALL, "");
  QApplication app(argc, argv);
  QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));

  quorvale::ui::QtUserDialogs dialogs;
  quorvale::SystemClock clock;
  quorvale::MainWindowLogic logic(dialogs, clock, quorvale::ProgramFolder());
  quorvale::ui::Form1 form(logic);
  dialogs.AttachWindow(&form);
  logic.Startup();
  form.show();
  return app.exec();
}
