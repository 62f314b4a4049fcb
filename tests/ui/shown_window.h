#pragma once

#include <QLatin1String>
#include <QPushButton>
#include <QtTest>

#include <string>

#include "core/support/scripted_dialogs.h"
#include "platform/path.h"
#include "ui/form1.h"
#include "window/main_window.h"

namespace quorvale::testing {

// The main window over its own logic, shown. The scripted dialogs answer every
// question, so no real modal box ever opens.
struct ShownWindow {
  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic logic{dialogs, clock, std::string(1, kPathSeparator) + "prog"};
  ui::Form1 form{logic};

  ShownWindow() {
    logic.Startup();
    form.show();
  }
  template <typename T>
  T* Find(const char* name) {
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  void AddAlbum(const std::string& title) {
    dialogs.texts.push_back(title);
    QTest::mouseClick(Find<QPushButton>("btnAddNew"), Qt::LeftButton);
  }
};

}  // namespace quorvale::testing
