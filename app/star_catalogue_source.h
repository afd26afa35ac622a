// The occultation star catalogue the main window holds: the loaded one,
// loaded on first need, or handed over by the background loader. The main
// window implements it.
#pragma once

#include <functional>
#include <memory>

namespace kvx {

class TStarCatalogue;

class TStarCatalogueSource {
 public:
  virtual std::shared_ptr<const TStarCatalogue> StarCatalogue() const = 0;
  // Loads the chosen catalogue on first need ("Loading database" in the
  // eclipse panel and the progress bar). False, with a message, when it
  // cannot be loaded; the catalogue setting is then lowered. `progress`
  // (percent), when given, takes the place of the window's progress bar
  // (a dialog's own bar).
  virtual bool EnsureStarCatalogue(const std::function<void(int)>& progress = {}) = 0;
  // Installs a whole catalogue loaded elsewhere (the background loader's
  // hand-over, on the GUI thread).
  virtual void PublishStarCatalogue(std::shared_ptr<const TStarCatalogue> catalogue) = 0;

 protected:
  ~TStarCatalogueSource() = default;
};

}  // namespace kvx
