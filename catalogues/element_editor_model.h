// The state of one element-file editor over its list: the file and its
// surrounding lines, the working record behind the edits, the undo
// snapshot, and the operations of the editor's buttons. Every operation
// that changes an entry writes the whole file (SaveEditorFile).
#pragma once

#include <string>
#include <type_traits>

#include "catalogues/element_editor.h"
#include "catalogues/list_messages.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

class TElementEditorModelBase {
 public:
  virtual ~TElementEditorModelBase() = default;
  virtual const TEditorKind& Kind() const = 0;
  virtual std::span<const TEditorFieldRule> Fields() const = 0;
  virtual TElementListBase& List() = 0;

  // The working record.
  virtual double Field(std::size_t field) const = 0;
  virtual void SetField(std::size_t field, double value) = 0;
  virtual std::string Name() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual std::string Type() const { return {}; }
  virtual void SetType(const std::string&) {}

  // Reads the file; false (with a message) when it cannot be edited, and
  // the file in use (FileName, empty for none) and its entries then stay.
  virtual bool Load(const std::string& fileName) = 0;
  // The selected entry becomes the working record.
  virtual void ShowSelected() = 0;
  // The working record into the selected entry (re-sorted by its name),
  // then the file is written. False when the file could not be written.
  virtual bool Store() = 0;
  // The selected entry as stored, for Undo.
  virtual void TakeSnapshot() = 0;
  // Restores every field of the snapshot and writes the file.
  virtual bool Undo() = 0;
  virtual bool NewRecord(double jd) = 0;
  // A new file: the editor's first line and one new entry. False with a
  // message when it cannot be written.
  virtual bool CreateFile(const std::string& fileName, double jd) const = 0;
  // False with "Der letzte Datensatz kann nicht gelöscht werden." when only
  // one entry is left.
  virtual bool DeleteSelected() = 0;

  std::string FileName;
  TEditorFileLines Lines;
  bool ReadOnly = false;
  bool HasSnapshot = false;
};

template <typename ListT, typename RecordT>
class TElementEditorModel final : public TElementEditorModelBase {
 public:
  TElementEditorModel(const TEditorKind& kind, std::span<const TEditorFieldRule> fields)
      : kind_(kind), fields_(fields) {}

  const TEditorKind& Kind() const override { return kind_; }
  std::span<const TEditorFieldRule> Fields() const override { return fields_; }
  TElementListBase& List() override { return list_; }
  ListT& Elements() { return list_; }
  RecordT& Working() { return working_; }

  double Field(std::size_t field) const override { return EditorField(const_cast<RecordT&>(working_), field); }
  void SetField(std::size_t field, double value) override { EditorField(working_, field) = value; }
  std::string Name() const override { return working_.Name; }
  void SetName(const std::string& name) override { working_.Name = EditorName(name, kind_.NameLength); }
  std::string Type() const override {
    if constexpr (std::is_same_v<RecordT, TVariableStarElements>) return working_.Type;
    return {};
  }
  void SetType(const std::string& type) override {
    if constexpr (std::is_same_v<RecordT, TVariableStarElements>) working_.Type = type;
  }

  bool Load(const std::string& fileName) override {
    // Read into a fresh list: a refused file leaves the file in use (if
    // any) and its entries as they were.
    ListT fresh;
    bool loaded = false;
    std::uint8_t format = 0;
    if constexpr (std::is_same_v<ListT, variablentabelle>) {
      loaded = fresh.Neuedateiladen(fileName, 0, true);
    } else {
      loaded = fresh.Neuedateiladen(format, fileName, true, 0);
    }
    if (!loaded || format != 0 || fresh.BuiltInListShown != 0) {
      // Saving would turn a foreign file into one its own readers refuse.
      if (loaded) {
        ShowMessage("Die Datei " + fileName + " hat ein fremdes Format und kann hier nicht bearbeitet werden.",
                    "The file " + fileName + " has a foreign format and cannot be edited here.", MessageIcon::Error);
      }
      return false;
    }
    list_.TakeOver(fresh);
    FileName = fileName;
    list_.SetFileName(fileName);
    Lines = ReadEditorFileLines(fileName, list_.SkippedLines());
    ReadOnly = list_.Count() >= list_.ItemLimit;
    if (ReadOnly) {
      ShowMessage("Die Datei " + fileName + " hat mehr Einträge, als die Liste fassen kann; sie wird nur angezeigt.",
                  "The file " + fileName + " holds more entries than the list can take; it is shown read-only.",
                  MessageIcon::Warning);
    }
    if (list_.Count() > 0 && list_.ItemIndex < 0) list_.Select(0);
    HasSnapshot = false;
    ShowSelected();
    return true;
  }

  void ShowSelected() override {
    if (const RecordT* r = list_.Selected()) working_ = *r;
  }

  bool Store() override {
    if (list_.ItemIndex < 0) return false;
    Replace(list_.ItemIndex, working_);
    return Save();
  }

  void TakeSnapshot() override {
    if (const RecordT* r = list_.Selected()) {
      snapshot_ = *r;
      HasSnapshot = true;
    }
  }

  bool Undo() override {
    if (!HasSnapshot || list_.ItemIndex < 0) return false;
    HasSnapshot = false;
    Replace(list_.ItemIndex, snapshot_);
    working_ = snapshot_;
    return Save();
  }

  bool CreateFile(const std::string& fileName, double jd) const override {
    return CreateEditorFile(fileName, std::string(kind_.FirstLine) + "\r\n" + EditorRecordToLine(NewOne(jd)));
  }

  bool NewRecord(double jd) override {
    const RecordT r = NewOne(jd);
    list_.Select(list_.AddItem(r.Name, r));
    working_ = r;
    HasSnapshot = false;
    return Save();
  }

  bool DeleteSelected() override {
    if (list_.Count() <= 1 || list_.ItemIndex < 0) {
      ShowMessage("Der letzte Datensatz kann nicht gelöscht werden.", "You cannot delete the last dataset.",
                  MessageIcon::Error);
      return false;
    }
    const int at = list_.ItemIndex;
    list_.DeleteItem(at);
    list_.Select(at < list_.Count() ? at : 0);
    HasSnapshot = false;
    ShowSelected();
    return Save();
  }

  bool Save() {
    if (ReadOnly) return false;
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list_.Count()));
    for (int k = 0; k < list_.Count(); ++k) entries.push_back(EditorRecordToLine(list_.Data(k)));
    return SaveEditorFile(FileName, Lines, entries);
  }

 private:
  static RecordT NewOne(double jd) {
    if constexpr (std::is_same_v<RecordT, TAsteroidElements>) return NewAsteroidEditorRecord(jd);
    if constexpr (std::is_same_v<RecordT, TCometElements>) return NewCometEditorRecord(jd);
    if constexpr (std::is_same_v<RecordT, TVariableStarElements>) return NewVariableStarEditorRecord(jd);
  }
  // The entry at `index` replaced by `r`, sorted in by its name and selected.
  void Replace(int index, const RecordT& r) {
    list_.DeleteItem(index);
    list_.Select(list_.AddItem(r.Name, r));
  }

  const TEditorKind& kind_;
  std::span<const TEditorFieldRule> fields_;
  ListT list_;
  RecordT working_{};
  RecordT snapshot_{};
};

using TAsteroidEditorModel = TElementEditorModel<Planetoidentabelle, TAsteroidElements>;
using TCometEditorModel = TElementEditorModel<Kometentabelle, TCometElements>;
using TVariableStarEditorModel = TElementEditorModel<variablentabelle, TVariableStarElements>;

}  // namespace kvx
