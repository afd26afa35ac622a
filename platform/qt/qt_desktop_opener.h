// Opens files through QDesktopServices.
#pragma once

#include "platform/desktop_opener.h"

namespace kvx {

class QtDesktopOpener : public DesktopOpener {
 public:
  bool Open(const std::string& path) override;
};

}  // namespace kvx
