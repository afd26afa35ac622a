#include "platform/qt/application_start.h"

#include <QLocale>

#include "platform/locale_reader.h"

namespace kvx {

namespace {

// A named locale with ASCII digits whose decimal and grouping marks are the
// desktop's as the cells take them, for the boxes of a desktop whose own
// locale writes other digits or another decimal mark than the cells.
QLocale BoxLocale(const TIntlSeparators& desktop) {
  if (desktop.Decimal == ',') {
    return desktop.Thousands == '.' ? QLocale(QLocale::German, QLocale::Germany)
                                    : QLocale(QLocale::French, QLocale::France);
  }
  return desktop.Thousands == '\'' ? QLocale(QLocale::German, QLocale::Switzerland) : QLocale::c();
}

// The windows' boxes (spin boxes, progress bars) write and read numbers by
// the application's default locale, which is the desktop's own. It stays
// where it writes the digits and the decimal mark the cells use, so that the
// boxes and Qt's own windows (the file dialog's dates and sizes among them)
// keep the desktop's forms; only a desktop whose locale writes other digits
// (Arabic-Indic ones in Egypt) or another decimal mark than the C library's
// gets a named locale in its place.
void GiveBoxesTheCellsNumbers() {
  const TIntlSeparators cells = DesktopSeparators();
  const QLocale desktop = QLocale::system();
  if (desktop.zeroDigit() == QLatin1String("0") && desktop.decimalPoint() == QLatin1Char(cells.Decimal)) return;
  QLocale::setDefault(BoxLocale(cells));
}

}  // namespace

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv) {
  auto application = std::make_unique<QApplication>(argc, argv);
  UseDesktopLocaleWithPlainNumbers();
  GiveBoxesTheCellsNumbers();
  return application;
}

}  // namespace kvx
