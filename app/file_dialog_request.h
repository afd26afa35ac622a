// A file dialog request from the main window's dialog texts: the title and
// the filters of the dialog in the language of the moment.
#pragma once

#include <string>

#include "platform/file_dialog.h"

namespace kvx {

// The request with FileDialogTitle(name) and FileDialogFilter(name), the
// filter text split at each ";;" into one entry a filter ("" gives one empty
// entry); start and default extension stay empty.
FileDialogRequest FileDialogRequestOf(const std::string& name);

}  // namespace kvx
