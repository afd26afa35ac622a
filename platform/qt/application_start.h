// The start of every run of the program's windows: the program's main and
// the main of the widget tests call it, so that the tests run under the
// locale the program runs under.
#pragma once

#include <QApplication>
#include <memory>

namespace kvx {

// Creates the one QApplication (its arguments as main got them; `argc` must
// live as long as it) and then puts the C library's numeric locale back to
// "C" for the whole run (UseDesktopLocaleWithPlainNumbers,
// platform/locale_reader.h): on Linux the QApplication takes the user's
// locale for every category, numbers too, which would make every number the
// C library converts follow the desktop's decimal comma. The windows' own
// boxes (spin boxes, progress bars) show numbers as the cells do: ASCII
// digits and the desktop's decimal mark; the desktop's own locale where it
// writes them, a named one with its marks where it writes other digits
// (Arabic-Indic ones in Egypt).
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv);

}  // namespace kvx
