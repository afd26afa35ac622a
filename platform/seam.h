// What the platform seams (clock.h, messages.h, file_dialog.h, ...) share:
// each keeps one installed implementation of its interface, installed with
// its Set... function, which returns the one it replaces; a guard installs
// one for a scope (tests and nested dialogs).
#pragma once

namespace kvx {

// Installs `installed` through the seam's `Set` for the lifetime of the
// guard and puts the previous implementation back afterwards.
template <class Interface, Interface* (*Set)(Interface*)>
class TScopedSeam {
 public:
  explicit TScopedSeam(Interface& installed) : previous_(Set(&installed)) {}
  ~TScopedSeam() { Set(previous_); }
  TScopedSeam(const TScopedSeam&) = delete;
  TScopedSeam& operator=(const TScopedSeam&) = delete;

 private:
  Interface* previous_;
};

}  // namespace kvx
