// The test hook of a form that its Show... routine runs instead of exec: one
// slot per form type, empty in the program. A test sets it through the
// form's Set...Driver routine, does what a user would, and clears it again.
#pragma once

#include <functional>

namespace kvx {

template <typename TForm>
std::function<void(TForm&)>& FormDriver() {
  static std::function<void(TForm&)> driver;
  return driver;
}

}  // namespace kvx
