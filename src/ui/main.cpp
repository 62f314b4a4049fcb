#include <QApplication>
#include <QLabel>

#include "platform/product.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QString::fromStdString(quorvale::ProductTitle()));
  label.show();
  return app.exec();
}
