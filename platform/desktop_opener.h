// Opening a file with the desktop's program for it (the README of the Help
// menu, exported files) as a seam: the main window installs the Qt opener,
// tests install a RecordingDesktopOpener (tests/support/
// recording_desktop_opener.h) and assert the paths.
#pragma once

#include <string>

#include "platform/seam.h"

namespace kvx {

class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  // Opens the file; false when the desktop could not.
  virtual bool Open(const std::string& path) = 0;
};

// Installs the opener OpenWithDesktop uses; returns the previous one. With
// none installed nothing opens and the result is false.
DesktopOpener* SetDesktopOpener(DesktopOpener* opener);
bool OpenWithDesktop(const std::string& path);

using ScopedDesktopOpener = TScopedSeam<DesktopOpener, SetDesktopOpener>;

}  // namespace kvx
