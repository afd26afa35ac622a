#include "platform/busy_cursor.h"

#include <utility>

namespace kvx {

namespace {
BusyCursor* current_cursor = nullptr;
int scope_depth = 0;
}  // namespace

BusyCursor* SetBusyCursor(BusyCursor* cursor) { return std::exchange(current_cursor, cursor); }

BusyCursor* CurrentBusyCursor() { return current_cursor; }

BusyCursorScope::BusyCursorScope() : cursor_(current_cursor) {
  if (scope_depth++ == 0 && cursor_ != nullptr) cursor_->Show();
}

BusyCursorScope::~BusyCursorScope() {
  if (--scope_depth == 0 && cursor_ != nullptr) cursor_->Restore();
}

}  // namespace kvx
