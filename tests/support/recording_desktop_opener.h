// Test double of the desktop-opener seam (platform/desktop_opener.h):
// records the paths and answers `result`.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop_opener.h"

namespace kvx {

class RecordingDesktopOpener : public DesktopOpener {
 public:
  bool Open(const std::string& path) override {
    opened.push_back(path);
    return result;
  }
  std::vector<std::string> opened;
  bool result = true;
};

}  // namespace kvx
