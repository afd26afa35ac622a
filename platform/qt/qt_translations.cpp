#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace kvx {

namespace {

// The installed catalogue; null while Qt speaks English.
std::unique_ptr<QTranslator>& InstalledCatalogue() {
  static std::unique_ptr<QTranslator> catalogue;
  return catalogue;
}

}  // namespace

bool ApplyQtLanguage(bool english) {
  std::unique_ptr<QTranslator>& installed = InstalledCatalogue();
  if (installed != nullptr) {
    QCoreApplication::removeTranslator(installed.get());
    installed.reset();
  }
  if (english) return true;
  auto catalogue = std::make_unique<QTranslator>();
  if (!catalogue->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  QCoreApplication::installTranslator(catalogue.get());
  installed = std::move(catalogue);
  return true;
}

}  // namespace kvx
