#include "app/ui/catalogue_loader.h"

#include <QLabel>
#include <QMainWindow>
#include <QMetaObject>
#include <QTimer>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

TCatalogueLoader::TCatalogueLoader(QObject* parent) : QObject(parent) {}

TCatalogueLoader::~TCatalogueLoader() { WaitForWorker(); }

void TCatalogueLoader::WaitForWorker() {
  if (worker_.joinable()) worker_.join();
}

void TCatalogueLoader::Start(TCatalogueLoadRequest request) {
  if (Busy()) {
    pending_ = std::move(request);
    return;
  }
  // A finished worker may still be returning from its last statement.
  WaitForWorker();
  busy_.store(true, std::memory_order_release);
  worker_ = std::thread([this, request = std::move(request)]() mutable { RunOnWorker(std::move(request)); });
}

void TCatalogueLoader::RunOnWorker(TCatalogueLoadRequest request) {
  auto result = std::make_shared<TCatalogueLoadResult>();
  result->SelectedStar = request.SelectedStar;
  int lastPercent = -1;
  result->Load =
      LoadStarCatalogue(request.DataFolder, request.Choice, result->SelectedStar, [this, &lastPercent](int percent) {
        if (percent == lastPercent) return;
        lastPercent = percent;
        QMetaObject::invokeMethod(
            this, [this, percent] { emit ProgressChanged(percent); }, Qt::QueuedConnection);
      });
  result->Request = std::move(request);
  QMetaObject::invokeMethod(
      this, [this, result] { HandOver(result); }, Qt::QueuedConnection);
}

void TCatalogueLoader::HandOver(std::shared_ptr<TCatalogueLoadResult> result) {
  WaitForWorker();
  busy_.store(false, std::memory_order_release);
  if (pending_) {
    // The setting changed while this load ran: its result is stale.
    TCatalogueLoadRequest next = std::move(*pending_);
    pending_.reset();
    Start(std::move(next));
    return;
  }
  result_ = std::move(*result);
  emit Finished();
}

void StartCatalogueLoad(TCommandHost& host, TCatalogueLoader& loader) {
  TStarCatalogueState& catalogue = host.StarCatalogueState();
  if (catalogue.Setting == 0) return;
  catalogue.Loading = 1;
  if (QLabel* panel = host.Panel("Finsternispanel")) {
    panel->setText(QString::fromUtf8(ByLanguage("Datenbank wird geladen", "Loading database")));
    panel->show();
  }
  // The star occultations wait for the catalogue (the menus are refreshed
  // again when the load ends).
  host.RefreshMenuStates();
  loader.Start({host.DataFolder(), catalogue.Setting, catalogue.SelectedStar});
}

TCatalogueLoader* InstallBackgroundLoading(TCommandHost& host) {
  auto* loader = new TCatalogueLoader(&host.Window());
  QObject::connect(loader, &TCatalogueLoader::ProgressChanged, &host.Window(), [&host](int percent) {
    if (QLabel* panel = host.Panel("Finsternispanel")) {
      panel->setText(QString::fromUtf8(ByLanguage("Datenbank wird geladen", "Loading database")) +
                     QStringLiteral(" %1%").arg(percent));
    }
  });
  QObject::connect(loader, &TCatalogueLoader::Finished, &host.Window(), [&host, loader] {
    const TCatalogueLoadResult& result = *loader->Result();
    TStarCatalogueState& catalogue = host.StarCatalogueState();
    catalogue.Loading = 0;
    if (QLabel* panel = host.Panel("Finsternispanel")) panel->hide();
    if (result.Load.Catalogue) {
      catalogue.SelectedStar = result.SelectedStar;
      host.PublishStarCatalogue(result.Load.Catalogue);
    } else {
      ShowMessage(result.Load.ErrorGerman, result.Load.ErrorEnglish, MessageIcon::Error);
      LowerCatalogueAfterFailedLoad(catalogue, host.DataFolder(), result.Request.Choice);
    }
    if (host.RefreshMenusHook) host.RefreshMenusHook();
  });
  host.ThreadTimerHook = [&host, loader] {
    QTimer::singleShot(100, loader, [&host, loader] { StartCatalogueLoad(host, *loader); });
  };
  return loader;
}

}  // namespace kvx
