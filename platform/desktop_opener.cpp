#include "platform/desktop_opener.h"

#include <utility>

namespace kvx {

namespace {
DesktopOpener* current_opener = nullptr;
}

DesktopOpener* SetDesktopOpener(DesktopOpener* opener) { return std::exchange(current_opener, opener); }

bool OpenWithDesktop(const std::string& path) { return current_opener != nullptr && current_opener->Open(path); }

}  // namespace kvx
