#include "platform/qt/application_start.h"

#include "platform/locale_reader.h"

namespace kvx {

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv) {
  auto application = std::make_unique<QApplication>(argc, argv);
  UseDesktopLocaleWithPlainNumbers();
  return application;
}

}  // namespace kvx
