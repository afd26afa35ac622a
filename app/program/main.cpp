#include <QApplication>

#include "app/main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(kvx::kApplicationTitle);
  kvx::TMainForm main_form;
  main_form.show();
  return QApplication::exec();
}
