// LibreOffice as the tests run it to read what the program wrote: headless,
// with a profile of its own in the test's folder and a fixed locale of its
// own (C.UTF-8: English, numbers with a decimal point and no grouping), so
// that its csv conversions give the same texts whatever locale the tests
// run under (./test.sh runs some under German and French ones).
#pragma once

#include <string>

#include "support/shell_word.h"

namespace kvx::test {

// The start of a shell command that runs soffice in `folder`; the
// options and files follow.
inline std::string OfficeCommand(const std::string& folder) {
  return "cd " + ShellWord(folder) +
         " && env -u LOCPATH -u LANGUAGE -u LANG LC_ALL=C.UTF-8 soffice --headless --norestore "
         "-env:UserInstallation=file://" +
         ShellWord(folder) + "/profile ";
}

}  // namespace kvx::test
