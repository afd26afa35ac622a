// Background loading of the occultation star catalogue.
//
// One worker thread reads the chosen catalogue file into a new immutable
// TStarCatalogue. The worker touches nothing else: no widget, menu, message
// box or main-window field. Its result and its progress reach the GUI thread
// through queued calls on this object; only there is the catalogue published
// (whole, once), the busy flag cleared and any message shown.
//
// Hand-over: the worker moves its result into a queued functor bound to this
// object, so the GUI thread receives it through the event queue (which
// orders the worker's writes before the GUI thread's reads). No field is
// shared between the threads except the atomic busy flag.
#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "eclipses/star_catalogue.h"

namespace kvx {

class TCommandHost;

struct TCatalogueLoadRequest {
  std::string DataFolder;
  std::uint8_t Choice = 0;         // 1 "OCCINP8.DAT", 2 "OCCINP95.DAT"
  std::int32_t SelectedStar = -1;  // the selection to check against the new catalogue
};

struct TCatalogueLoadResult {
  TCatalogueLoadRequest Request;
  TStarCatalogueLoad Load;         // Catalogue null on failure, with the error texts
  std::int32_t SelectedStar = -1;  // the selection after the load
};

class TCatalogueLoader : public QObject {
  Q_OBJECT

 public:
  explicit TCatalogueLoader(QObject* parent = nullptr);
  // Waits for a running load before anything is freed.
  ~TCatalogueLoader() override;

  // Starts a load on the worker. While one runs, the request is kept and
  // started when the running one ends (whose result is then dropped, since
  // the setting changed meanwhile). GUI thread only.
  void Start(TCatalogueLoadRequest request);
  // True from Start until the result was handed to the GUI thread.
  bool Busy() const { return busy_.load(std::memory_order_acquire); }
  // The last result handed over (GUI thread only; valid after Finished).
  const std::optional<TCatalogueLoadResult>& Result() const { return result_; }
  // Blocks until the worker has ended (the hand-over still goes through
  // the event queue).
  void WaitForWorker();

 signals:
  // Emitted on the GUI thread.
  void ProgressChanged(int percent);
  void Finished();

 private:
  void RunOnWorker(TCatalogueLoadRequest request);
  void HandOver(std::shared_ptr<TCatalogueLoadResult> result);

  std::atomic<bool> busy_{false};
  std::thread worker_;
  std::optional<TCatalogueLoadRequest> pending_;
  std::optional<TCatalogueLoadResult> result_;
};

// Wires background loading into the main window: the thread timer starts a
// load 100 ms after the window shows; the result is published to the window
// (or the loader's message shown and the catalogue setting lowered), the
// "Loading database" text shown in the eclipse panel meanwhile. Returns the
// loader, a child of the window.
TCatalogueLoader* InstallBackgroundLoading(TCommandHost& host);
// Starts a load of the catalogue the window's setting chooses (the options
// command calls it after the setting changed).
void StartCatalogueLoad(TCommandHost& host, TCatalogueLoader& loader);

}  // namespace kvx
