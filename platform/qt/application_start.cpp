#include "platform/qt/application_start.h"

#include <QLocale>

#include "platform/locale_reader.h"

namespace kvx {

namespace {

// A locale with ASCII digits and `decimal` as its decimal mark.
QLocale BoxLocale(char decimal) { return decimal == ',' ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c(); }

}  // namespace

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv) {
  auto application = std::make_unique<QApplication>(argc, argv);
  UseDesktopLocaleWithPlainNumbers();
  QLocale::setDefault(BoxLocale(DesktopSeparators().Decimal));
  return application;
}

}  // namespace kvx
