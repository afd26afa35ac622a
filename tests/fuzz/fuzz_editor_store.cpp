// The store path of the element-file editors and the location-file editor:
// a file opened for editing, an entry chosen, texts typed into its fields
// (each checked as the field's edit checks it), the entry stored, the file
// opened again. The first byte picks the editor, the second the entry, the
// third the number of typed fields; each field is a byte (which field) and
// a text; the rest is the file.
// Promises: the store writes the file; the file opens again with as many
// entries and kept lines as before; every entry comes back with the same
// values (exactly; places with their coordinates rounded to whole seconds
// in sexagesimal), the names as the writers put them.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogues/element_editor_model.h"
#include "catalogues/element_lines.h"
#include "core/text_conversion.h"
#include "fuzz/fuzz_support.h"
#include "platform/safe_file_write.h"
#include "platform/text_encoding.h"
#include "setup/location_editor.h"

using namespace kvx;

namespace {

struct TTyped {
  std::uint8_t Field = 0;
  std::string Text;
};

std::vector<double> Numbers(TElementEditorModelBase& model) {
  std::vector<double> values;
  for (std::size_t f = 0; f < model.Fields().size(); ++f) values.push_back(model.Field(f));
  return values;
}

template <typename Model>
std::vector<std::pair<std::string, std::vector<double>>> Entries(Model& model) {
  std::vector<std::pair<std::string, std::vector<double>>> entries;
  auto& list = model.Elements();
  for (int k = 0; k < list.Count(); ++k) {
    list.Select(k);
    model.ShowSelected();
    entries.emplace_back(WritableName(model.Name(), ';'), Numbers(model));
  }
  return entries;
}

template <typename Model, typename Usable>
void ElementEditor(Model& model, Model& again, const std::string& path, int pick, const std::vector<TTyped>& typed,
                   Usable usable) {
  if (!model.Load(path) || model.ReadOnly || model.Elements().Count() == 0) return;
  const std::size_t linesBefore = model.Lines.KeptLines.size() + static_cast<std::size_t>(model.Elements().Count());
  auto expected = Entries(model);
  const int at = pick % model.Elements().Count();
  model.Elements().Select(at);
  model.ShowSelected();
  for (const TTyped& t : typed) {
    const auto fields = model.Fields();
    if (t.Field % (fields.size() + 1) == fields.size()) {
      model.SetName(t.Text);
      continue;
    }
    const std::size_t field = t.Field % (fields.size() + 1);
    double value = 0;
    if (CheckEditorField(fields[field], t.Text, value) == TFieldState::Accepted) model.SetField(field, value);
  }
  expected[static_cast<std::size_t>(at)] = {WritableName(model.Name(), ';'), Numbers(model)};
  const bool stayed = usable(model.Working());
  fuzz::Require(model.Store(), "the store writes the file");

  fuzz::Require(again.Load(path), "the stored file opens");
  const std::size_t linesAfter = again.Lines.KeptLines.size() + static_cast<std::size_t>(again.Elements().Count());
  fuzz::Require(linesAfter == linesBefore, "no line lost");
  const auto read = Entries(again);
  std::vector<bool> used(read.size(), false);
  for (std::size_t k = 0; k < expected.size(); ++k) {
    if (k == static_cast<std::size_t>(at) && !stayed) continue;  // kept as a line the list cannot use
    bool found = false;
    for (std::size_t j = 0; j < read.size() && !found; ++j) {
      if (!used[j] && read[j] == expected[k]) used[j] = found = true;
    }
    fuzz::Require(found, "every entry comes back with its values");
  }
}

void LocationEditor(const std::string& path, int pick, const std::vector<TTyped>& typed) {
  TLocationEditorModel model;
  if (!model.Load(path) || model.ReadOnly || model.List.Count() == 0) return;
  const std::size_t linesBefore = model.List.Lines.KeptLines.size() + static_cast<std::size_t>(model.List.Count());
  const int at = pick % model.List.Count();
  model.List.SetItemIndex(at);
  model.ShowSelected();
  for (const TTyped& t : typed) {
    double packed = 0;
    const int small = t.Text.empty() ? 0 : static_cast<signed char>(t.Text[0]);
    switch (t.Field % 6) {
      case 0:
        model.WorkingName = t.Text;
        break;
      case 1:
        if (CheckLocationCoordinate(t.Text, 180, packed) == TFieldState::Accepted) model.Working.Longitude = packed;
        break;
      case 2:
        if (CheckLocationCoordinate(t.Text, 90, packed) == TFieldState::Accepted) model.Working.Latitude = packed;
        break;
      case 3:
        model.Working.Zone = small % 13;
        break;  // the spin box's range
      case 4:
        model.Working.ExtraMinutes = small * 5;
        break;
      default:
        model.Working.Postcode = EditorName(t.Text, 64);
        break;
    }
  }
  struct TPlace {
    std::string Name, Postcode;
    double Longitude, Latitude;
    std::int32_t Zone, Minutes;
  };
  std::vector<TPlace> expected;
  for (int k = 0; k < model.List.Count(); ++k) {
    const bool edited = k == at;
    const TOrtdatens& p = edited ? model.Working : model.List.Place(k);
    const std::string name = edited ? EditorName(model.WorkingName, 255) : model.List.Name(k);
    expected.push_back({WritableName(name, ';'), WritableName(p.Postcode, ';'), RoundPackedToWholeSeconds(p.Longitude),
                        RoundPackedToWholeSeconds(p.Latitude), p.Zone, p.ExtraMinutes});
  }
  fuzz::Require(model.Store(), "the store writes the file");
  TLocationEditorModel again;
  fuzz::Require(again.Load(path), "the stored file opens");
  fuzz::Require(again.List.Lines.KeptLines.size() + static_cast<std::size_t>(again.List.Count()) == linesBefore,
                "no line lost");
  std::vector<bool> used(static_cast<std::size_t>(again.List.Count()), false);
  for (const TPlace& e : expected) {
    bool found = false;
    for (int j = 0; j < again.List.Count() && !found; ++j) {
      const TOrtdatens& p = again.List.Place(j);
      if (used[static_cast<std::size_t>(j)] || again.List.Name(j) != e.Name || p.Postcode != e.Postcode) continue;
      found = std::fabs(p.Longitude - e.Longitude) < 1e-9 && std::fabs(p.Latitude - e.Latitude) < 1e-9 &&
              p.Zone == e.Zone && p.ExtraMinutes == e.Minutes;
      if (found) used[static_cast<std::size_t>(j)] = true;
    }
    fuzz::Require(found, "every place comes back");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const std::uint8_t editor = in.Byte() % 4;
  const int pick = in.Byte();
  std::vector<TTyped> typed(in.Byte() % 8);
  for (TTyped& t : typed) {
    t.Field = in.Byte();
    t.Text = DecodeTextBytes(in.Text(in.Byte() % 24));  // an edit's text is UTF-8
  }
  const std::string& path = fuzz::ScratchPath("-editor.csv");
  WriteFileReplacing(path, in.Rest());
  switch (editor) {
    case 0: {
      TAsteroidEditorModel model(kAsteroidEditor, AsteroidEditorFields()),
          again(kAsteroidEditor, AsteroidEditorFields());
      ElementEditor(model, again, path, pick, typed, AsteroidElementsUsable);
      break;
    }
    case 1: {
      TCometEditorModel model(kCometEditor, CometEditorFields()), again(kCometEditor, CometEditorFields());
      ElementEditor(model, again, path, pick, typed, CometElementsUsable);
      break;
    }
    case 2: {
      TVariableStarEditorModel model(kVariableStarEditor, VariableStarEditorFields()),
          again(kVariableStarEditor, VariableStarEditorFields());
      ElementEditor(model, again, path, pick, typed, VariableStarElementsUsable);
      break;
    }
    default:
      LocationEditor(path, pick, typed);
      break;
  }
  std::remove(path.c_str());
  return 0;
}
