#include <QApplication>

#include "app/main_window.h"
#include "core/name_tables.h"
#include "platform/locale_reader.h"

int main(int argc, char* argv[]) {
  // The name tables and number patterns come first: every window uses them.
  kvx::InitCoreTablesAtStartup(kvx::ReadLocaleSeparators());
  QApplication application(argc, argv);
  QApplication::setApplicationName(kvx::kApplicationTitle);
  kvx::TMainForm main_form;
  main_form.show();
  return QApplication::exec();
}
