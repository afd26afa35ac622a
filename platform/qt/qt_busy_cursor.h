// The busy cursor of the application: Qt's override cursor (Qt::WaitCursor).
#pragma once

#include "platform/busy_cursor.h"

namespace kvx {

class QtBusyCursor : public BusyCursor {
 public:
  void Show() override;
  void Restore() override;
};

}  // namespace kvx
