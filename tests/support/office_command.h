// LibreOffice as the tests run it to read what the program wrote: headless,
// with a profile of its own in the test's folder and a fixed locale of its
// own (by default C.UTF-8: English, numbers with a decimal point and no grouping), so
// that its csv conversions give the same texts whatever locale the tests
// run under (./test.sh runs some under German and French ones).
#pragma once

#include <string>

#include "support/shell_word.h"

namespace kvx::test {

// The start of a shell command that runs soffice in `folder`; the
// options and files follow. `locale` is its own (a British one shows
// workbook dates in the desktop's short date day first with '/').
inline std::string OfficeCommand(const std::string& folder, const std::string& locale = "C.UTF-8") {
  return "cd " + ShellWord(folder) + " && env -u LOCPATH -u LANGUAGE -u LANG LC_ALL=" + ShellWord(locale) +
         " soffice --headless --norestore "
         "-env:UserInstallation=file://" +
         ShellWord(folder) + "/profile ";
}

}  // namespace kvx::test
