#include "platform/desktop_opener.h"

namespace kvx {

namespace {
DesktopOpener* current_opener = nullptr;
}

DesktopOpener* SetDesktopOpener(DesktopOpener* opener) {
  DesktopOpener* previous = current_opener;
  current_opener = opener;
  return previous;
}

bool OpenWithDesktop(const std::string& path) { return current_opener != nullptr && current_opener->Open(path); }

}  // namespace kvx
