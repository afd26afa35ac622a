#include "tables/batch_tables.h"

#include <filesystem>
#include <functional>
#include <string>

#include "engine/nbody_integrator.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"

namespace kvx {

namespace {

// Each object of a batch is tabulated at the run's start alone.
TTableRequest RequestOf(const TBatchRun& run) {
  TTableRequest request = PeriodRequest(run.Language, run.Selection, run.Config, run.Start, run.Start, run.Step);
  request.Accuracy = run.Accuracy;
  request.SecondEquinoxT = run.SecondEquinoxT;
  request.RiseSet = run.RiseSet;
  return request;
}

// The bar's shares of the two passes: the objects one by one, the table.
constexpr double kObjectsShare = 9.0;
constexpr double kOutputShare = 1.0;

// The run over `count` objects: `initialise(i)` sets the table object up for
// object i and returns its name.
TBatchResult RunBatch(const TBatchRun& run, TKeplereph& table, int count,
                      const std::function<std::string(int)>& initialise, const std::function<void()>& restore) {
  TBatchResult result;
  int stored = 0;
  bool limit = false;
  AbortRequested = 0;
  // One bar over the objects and the writing of their table.
  TRunProgress progress(table.ProgressCaption, {kObjectsShare, kOutputShare});
  {
    for (int i = 0; i < count; ++i) {
      progress.Done(static_cast<double>(i) / count);
      progress.ProcessEvents();
      if (AbortRequested != 0) {
        result.Cancelled = true;
        break;
      }
      std::string name = initialise(i);
      if (name.size() > kResultNameLength) name.resize(kResultNameLength);
      progress.Label(name);
      // The object's own loop keeps no rows: row i is its result record.
      if (run.Mode == 1) {
        table.schleife(run.Settings, run.SiderealFlag, 0);
      } else if (run.Mode == 0) {
        table.integriere(run.Settings, run.SiderealFlag, 0, 0);
      }
      if (table.Stopped != 0) {
        result.Cancelled = true;
        break;
      }
      if (stored >= kMaxTableRows) {
        limit = true;
        break;
      }
      table.Result.Name = name;
      RowStore.Store(i, table.Result);
      stored = i + 1;
    }
  }
  AbortRequested = 0;
  if (limit) {
    const std::string n = std::to_string(kMaxTableRows);
    ShowMessage("Es konnten nicht alle Objekte aus der Datei berechnet werden. Die Ausgabe ist auf " + n +
                    " Datensätze begrenzt.",
                "File too large for complete calculation. The output ist limited on " + n + " datasets.",
                MessageIcon::Information);
  }
  restore();
  table.Stopped = 0;
  table.Rows = stored;
  if (stored == 0) {
    if (run.ToSheet != 0 && table.OutputSheet != nullptr) FinishIntegrationSheet(*table.OutputSheet);
    return result;
  }
  progress.Pass(1, run.Language != 0 ? "Formatting output" : "Formatiere Ausgabe");
  if (run.Output == 0) {
    table.paint(run.ToSheet);
  } else {
    table.paintelemente(1, run.ToSheet);
  }
  progress.Finish();
  result.Written = true;
  return result;
}

// The run over an element list (asteroids or comets), loaded from
// `fileName` first when it is not marked loaded; the table is left set up
// with the elements `own`.
template <class Table, class List, class Elements>
TBatchResult ElementListEphemerides(const TBatchRun& run, Table& table, List& list, const std::string& fileName,
                                    std::uint8_t kind, const Elements& own) {
  if (list.Loaded == 0 && !fileName.empty()) {
    CurrentProgress().SetLabel(run.Language != 0 ? "Loading file" : "Datei wird eingelesen");
    std::uint8_t k = kind;
    list.Neuedateiladen(k, fileName, true, 0);
  }
  auto setUp = [&](const Elements& elements) { table.initialisieren(RequestOf(run), elements); };
  return RunBatch(
      run, table, list.Count(),
      [&](int i) {
        const Elements& elements = list.Data(i);
        setUp(elements);
        return elements.Name;
      },
      [&] { setUp(own); });
}

}  // namespace

TBatchResult AsteroidFileEphemerides(const TBatchRun& run, TKeplereph& table, Planetoidentabelle& list,
                                     const std::string& fileName, std::uint8_t kind, const TAsteroidElements& own) {
  return ElementListEphemerides(run, table, list, fileName, kind, own);
}

TBatchResult CometFileEphemerides(const TBatchRun& run, TKometeph& table, Kometentabelle& list,
                                  const std::string& fileName, std::uint8_t kind, const TCometElements& own) {
  return ElementListEphemerides(run, table, list, fileName, kind, own);
}

TBatchResult AsteroidDatabaseEphemerides(const TBatchRun& run, TKeplereph& table, const std::vector<std::string>& files,
                                         const TAsteroidElements& own) {
  auto setUp = [&](std::uint8_t database, const TAsteroidElements& elements, const std::string& file) {
    table.initialisieren(RequestOf(run), elements, database, file);
  };
  return RunBatch(
      run, table, static_cast<int>(files.size()),
      [&](int i) {
        const std::string& file = files[static_cast<std::size_t>(i)];
        table.Result = TEphemerisResultRecord{};  // a refused file leaves no other object's values
        setUp(1, own, file);
        const std::string name = table.Elements().Name;
        return name.empty() ? std::filesystem::path(file).stem().string() : name;
      },
      [&] { setUp(0, own, std::string()); });
}

TBatchResult UserCatalogEphemerides(const TBatchRun& run, Tusertab& table, const tuserlist& list) {
  TBatchRun user = run;
  user.Mode = 1;
  user.Output = 0;
  const tuserobject* own = table.UserObject;
  auto setUp = [&](const tuserobject* object) { table.initialisieren(object, RequestOf(run), kBodyIndexAsteroid); };
  return RunBatch(
      user, table, list.Count(),
      [&](int i) {
        const tuserobject* object = list.Item(i);
        setUp(object);
        return object != nullptr ? object->Name : std::string();
      },
      [&] { setUp(own); });
}

}  // namespace kvx
