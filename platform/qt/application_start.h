// The start of every run of the program's windows: the program's main and
// the main of the widget tests call it, so that the tests run under the
// locale the program runs under.
#pragma once

#include <QApplication>
#include <QLocale>
#include <memory>

namespace kvx {

// The locale of the windows' own boxes (spin boxes, progress bars): ASCII
// digits and the desktop's decimal mark `decimal`, as the cells show
// numbers. A desktop's own locale may write other digits (Arabic-Indic ones
// in Egypt), which no cell, file or typed entry of the program takes.
QLocale BoxLocale(char decimal);

// Creates the one QApplication (its arguments as main got them; `argc` must
// live as long as it) and then puts the C library's numeric locale back to
// "C" for the whole run (UseDesktopLocaleWithPlainNumbers,
// platform/locale_reader.h): on Linux the QApplication takes the user's
// locale for every category, numbers too, which would make every number the
// C library converts follow the desktop's decimal comma. The windows' boxes
// take BoxLocale of the desktop's decimal mark.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv);

}  // namespace kvx
