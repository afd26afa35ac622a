// The sorted element list behind the asteroid, comet and variable-star
// lists: items of (text, owned record), kept in order of their texts, with a
// selected item, a change hook and the search the element dialogs use.
//
// Order: texts compare without regard to letter case (the Windows-1252
// letters included) and read digit runs as numbers, so "(99999)" comes
// before "(100000)" and "Ceres(1)" before "Ceres(10)"; equal texts keep the
// order in which they were added.
//
// Loading many items: AddItem inserts at its sorted place; a reader that adds
// thousands of items appends them with AppendItem and calls SortItems once
// at the end (a stable sort, so the order is the same).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "catalogues/element_format_row.h"
#include "catalogues/element_lines.h"
#include "catalogues/element_write_checks.h"
#include "catalogues/foreign_lines.h"
#include "catalogues/list_messages.h"
#include "catalogues/text_line_reader.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

// The number of items any element file gives at most (the dialogs and the
// batch tables were laid out for it). Lists take their limit as a constructor
// argument so that the conversion tool and the benchmarks can raise it.
inline constexpr int kElementItemLimit = 32000;

// The sort key of an item text: upper case (Windows-1252 letters included).
std::string ElementListSortKey(const std::string& text);

// Compares two sort keys; digit runs compare by value (then by length, so
// "007" follows "7"). Negative, zero or positive.
int CompareElementListKeys(const std::string& a, const std::string& b);

// One line of an element file that could not be used: its number (from 1)
// and its text as read, so that an editor can write it back, and the field
// to blame (element_format_fields.h; empty when none is).
struct TSkippedElementLine {
  int LineNumber = 0;
  std::string Text;
  std::string Field;
};

// Reports skipped lines once: "n Zeilen mit unbrauchbaren Bahnelementen
// übersprungen (erste: Zeile k, Feld f)" / "n lines with unusable elements
// skipped (first: line k, field f)", for one line "1 Zeile ... (Zeile k,
// Feld f)" / "1 line ... (line k, field f)", the field named in the
// language (FieldNameGerman) and left out when none is to blame; warning
// icon. Nothing for an empty list.
void ReportSkippedElementLines(const std::vector<TSkippedElementLine>& skipped, const std::string& fileName);
// The note of those lines, its text after `prefix`.
TSkippedLinesNote SkippedElementLinesNote(const std::vector<TSkippedElementLine>& skipped, const std::string& prefix);

// What a bound control (ElementListCombo) and the search see of any element
// list: the item texts, the selection, the change hook and the dialogs'
// state.
class TElementListBase {
 public:
  explicit TElementListBase(int itemLimit) : ItemLimit(itemLimit > 0 ? itemLimit : 1) {}
  virtual ~TElementListBase() = default;
  TElementListBase(const TElementListBase&) = delete;
  TElementListBase& operator=(const TElementListBase&) = delete;

  virtual int Count() const = 0;
  virtual const std::string& Text(int index) const = 0;

  // Selects `index` (-1 for none; other values outside the list select
  // nothing). Does not raise the change hook.
  void Select(int index) { ItemIndex = index >= 0 && index < Count() ? index : -1; }

  // Raised by Neuedateiladen and suchen (and by editors after their own
  // changes) so that a bound control shows the selected record.
  std::function<void()> OnChange;
  void Changed() {
    if (OnChange) OnChange();
  }

  // Selects the first item whose text begins with `text` (with SearchAnywhere:
  // contains it), ignoring letter case. False for an empty text (without the
  // change hook) and when nothing matches; the change hook is raised
  // otherwise.
  bool suchen(const std::string& text);
  void SetSearchAnywhere(bool anywhere) { SearchAnywhere = anywhere ? 1 : 0; }
  void SetStoredIndex(int index) { StoredIndex = index >= 0 && index <= Count() - 1 ? index : 0; }
  int GetStoredIndex() const { return StoredIndex >= 0 && StoredIndex <= Count() ? StoredIndex : 0; }
  void SetFileName(const std::string& name) { FileName = name; }

  // The lines the last reader skipped as unusable.
  const std::vector<TSkippedElementLine>& SkippedLines() const { return skipped_; }

  const int ItemLimit;
  int ItemIndex = -1;
  std::string FileName;
  int StoredIndex = 0;
  std::uint8_t SearchAnywhere = 0;
  std::uint8_t Loaded = 0;
  std::uint8_t BuiltInListShown = 0;

 protected:
  virtual const std::string& Key(int index) const = 0;
  // Selects `index` when it lies in the list, else item 0 (none when empty).
  void SelectRequested(int index) { Select(index >= 0 && index < Count() ? index : 0); }
  void ClearSkipped() { skipped_.clear(); }
  // Ends a load: when it failed, the built-in list through `loadBuiltIn`,
  // item 0 selected and (with showMessages) `errorText` or the invalid-format
  // message shown, false; otherwise the file's name kept, `index` selected
  // and the skipped lines reported, true. The change hook is raised in both.
  bool FinishLoad(bool ok, const std::string& fileName, const std::string& errorText, int index, bool showMessages,
                  const std::function<void()>& loadBuiltIn);
  // Reads `fileName` into `list` by the rows of `formats` that read its
  // extension (catalogues/element_format_row.h); `code` gets the code of
  // the last row tried and stays when no row reads the extension (the
  // invalid-format warning is shown then). True when a row read the file.
  template <class TList>
  bool ReadByFormat(TList& list, std::span<const TElementFileFormat<TList>> formats, std::uint8_t& code,
                    const std::string& fileName, bool showMessages, std::string& errorText) {
    const std::string extension = UpperExtension(fileName);
    bool tried = false;
    for (const TElementFileFormat<TList>& format : formats) {
      if (!format.Reads(extension)) continue;
      if (tried) {  // the format before found the file not its own: its complaint goes
        readError_.clear();
        errorText.clear();
      }
      tried = true;
      code = format.StoredCode;
      const TFormatRead read = format.Read(list, fileName, showMessages, errorText);
      if (read != TFormatRead::NotThisFormat) return read == TFormatRead::Read;
    }
    if (!tried) ShowInvalidFormatWarning(fileName);
    return false;
  }
  // Opens an existing plain file for reading (nullptr for a folder or a
  // missing or unreadable file).
  static std::FILE* OpenRecordFile(const std::string& fileName);
  void Skip(int lineNumber, const std::string& text, const char* field) {
    skipped_.push_back({lineNumber, text, field != nullptr ? field : ""});
  }
  // The reason for a file that gave no usable record: NoElementsText, and
  // the skipped lines when there were any ("... enthält keine
  // Bahnelemente. 2 Zeilen mit unbrauchbaren Bahnelementen übersprungen
  // (erste: Zeile 2, Feld e)").
  std::string NoElementsError(const std::string& fileName) const;
  // Why the last reader refused its file, when it knows better than the
  // invalid-format message (empty, or a reason naming the file).
  std::string readError_;
  std::vector<TSkippedElementLine> skipped_;
};

template <typename Record>
class TElementList : public TElementListBase {
 public:
  struct Item {
    std::string Text;
    std::string Key;  // ElementListSortKey(Text)
    std::unique_ptr<Record> Data;
  };

  explicit TElementList(int itemLimit = kElementItemLimit) : TElementListBase(itemLimit) {}

  int Count() const override { return static_cast<int>(items_.size()); }
  const std::string& Text(int index) const override { return items_.at(static_cast<std::size_t>(index)).Text; }
  const Record& Data(int index) const { return *items_.at(static_cast<std::size_t>(index)).Data; }
  Record& Data(int index) { return *items_.at(static_cast<std::size_t>(index)).Data; }

  // Adds a copy of `record` under `text` at its sorted place (after equal
  // texts); returns the new item's index. The selection keeps its item.
  int AddItem(const std::string& text, const Record& record) {
    Item item{text, ElementListSortKey(text), std::make_unique<Record>(record)};
    auto at = std::upper_bound(items_.begin(), items_.end(), item.Key, [](const std::string& key, const Item& it) {
      return CompareElementListKeys(key, it.Key) < 0;
    });
    const int index = static_cast<int>(at - items_.begin());
    items_.insert(at, std::move(item));
    if (ItemIndex >= index) ++ItemIndex;
    return index;
  }
  // Removes one item; the selection moves to the next item (or the last).
  void DeleteItem(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    if (ItemIndex > index || ItemIndex >= Count()) --ItemIndex;
  }
  // Frees every record and empties the list; nothing is selected.
  void ClearAndFree() {
    items_.clear();
    ItemIndex = -1;
  }
  // The record of the selected item, or nullptr when nothing is selected.
  const Record* Selected() const { return ItemIndex >= 0 && ItemIndex < Count() ? &Data(ItemIndex) : nullptr; }

  // The item holding `record`: the first whose record equals it in every
  // field, else the first of its name (elements edited by hand); -1 when
  // no item has that name.
  int IndexOfRecord(const Record& record) const {
    int named = -1;
    for (int k = 0; k < Count(); ++k) {
      const Record& r = Data(k);
      if (r.Name != record.Name) continue;
      if (r == record) return k;
      if (named < 0) named = k;
    }
    return named;
  }

  // Takes over what `other` holds (a list of the same kind that a file was
  // just loaded into): its items, selection, file name, loaded and
  // built-in flags and skipped lines; `other` is left empty. The search
  // mode, the stored index and the current record stay. Raises the change
  // hook. With it a caller loads into a fresh list first, so that a
  // refused file leaves the list in use as it was.
  void TakeOver(TElementList& other) {
    items_ = std::move(other.items_);
    other.items_.clear();
    ItemIndex = other.ItemIndex;
    other.ItemIndex = -1;
    FileName = other.FileName;
    Loaded = other.Loaded;
    BuiltInListShown = other.BuiltInListShown;
    skipped_ = std::move(other.skipped_);
    other.skipped_.clear();
    Changed();
  }

  Record CurrentRecord{};

  // The whole list as it stands (items, selection, file name, the loaded
  // and built-in marks), for a dialog whose Cancel undoes a file loaded
  // meanwhile.
  struct TKept {
    std::vector<Item> Items;
    int ItemIndex = -1, StoredIndex = 0;
    std::string FileName;
    std::uint8_t Loaded = 0, BuiltInListShown = 0;
    Record Current{};
    std::vector<TSkippedElementLine> Skipped;
  };
  TKept Kept() const {
    TKept kept{{}, ItemIndex, StoredIndex, FileName, Loaded, BuiltInListShown, CurrentRecord, skipped_};
    kept.Items.reserve(items_.size());
    for (const Item& item : items_)
      kept.Items.push_back(Item{item.Text, item.Key, std::make_unique<Record>(*item.Data)});
    return kept;
  }
  // Puts a kept list back and raises the change hook.
  void Restore(TKept kept) {
    items_ = std::move(kept.Items);
    ItemIndex = kept.ItemIndex;
    StoredIndex = kept.StoredIndex;
    FileName = std::move(kept.FileName);
    Loaded = kept.Loaded;
    BuiltInListShown = kept.BuiltInListShown;
    CurrentRecord = kept.Current;
    skipped_ = std::move(kept.Skipped);
    Changed();
  }

 protected:
  const std::string& Key(int index) const override { return items_[static_cast<std::size_t>(index)].Key; }
  // For readers: append without sorting, then sort once.
  void AppendItem(std::string text, const Record& record) {
    std::string key = ElementListSortKey(text);
    items_.push_back(Item{std::move(text), std::move(key), std::make_unique<Record>(record)});
  }
  // One line of a text file through `parse` (line, record, unusable field)
  // -> TLineParse: a parsed record appended, an unusable line kept as
  // skipped under its line number and field, a blank line passed over.
  template <typename Parse>
  void FileParsedLine(int lineNumber, const std::string& line, Parse parse) {
    Record record;
    const char* field = nullptr;
    switch (parse(line, record, &field)) {
      case TLineParse::Parsed:
        AppendItem(record.Name, record);
        break;
      case TLineParse::Unusable:
        Skip(lineNumber, line, field);
        break;
      case TLineParse::Blank:
        break;
    }
  }
  void SortItems() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return CompareElementListKeys(a.Key, b.Key) < 0; });
  }
  // Ends a reader: the items sorted, the limit message when the file held
  // more, then true with the list marked loaded, or false with the
  // no-elements reason when nothing usable was read.
  bool EndRead(const std::string& fileName, bool more) {
    SortItems();
    if (more) ShowFileLimitMessage(ItemLimit);
    if (Count() == 0) {
      readError_ = NoElementsError(fileName);
      return false;
    }
    Loaded = 1;
    return true;
  }

  // Loads a file of fixed-size binary records (".opl", ".oko"): each usable
  // record goes through `add`, unusable ones are kept as skipped (named by
  // UnusableField), a trailing part record is ignored and reading stops at
  // the item limit with its message. False when the file cannot be opened
  // or holds no usable record.
  template <std::size_t N, typename Decode, typename Add>
  bool ReadRecordFile(const std::string& fileName, Decode decode, Add add) {
    std::FILE* file = OpenRecordFile(fileName);
    if (file == nullptr) return false;
    ClearAndFree();
    ClearSkipped();
    std::array<std::uint8_t, N> bytes{};
    int recordNumber = 0;
    bool more = false;
    while (std::fread(bytes.data(), 1, N, file) == N) {
      if (Count() >= ItemLimit) {
        more = true;
        break;
      }
      ++recordNumber;
      Record record = decode(bytes);
      if (const char* field = UnusableField(record)) {
        Skip(recordNumber, record.Name, field);
        continue;
      }
      add(record);
    }
    std::fclose(file);
    return EndRead(fileName, more);
  }
  // Reads an element file of the program's own text form: 0 when it cannot
  // be opened, 2 when its first line (under 255 characters) begins with
  // neither `fieldLine` nor `header`. Each further line goes through
  // `parse` (line, record, unusable field) -> TLineParse: parsed records are appended,
  // unusable lines kept as skipped, blank ones passed over; reading stops at
  // the item limit (with its message when a further data line follows).
  // Then 1, or 0 when no usable record was read (EndRead).
  template <typename Parse>
  int ReadOwnTextFile(const std::string& fileName, const char* fieldLine, const char* header, Parse parse) {
    TTextLineReader in;
    if (!in.Open(fileName)) return 0;
    std::string line;
    if (!in.Next(line)) return 2;  // an empty file has no own first line
    if (line.size() >= 255 || !(line.rfind(fieldLine, 0) == 0 || line.rfind(header, 0) == 0)) return 2;
    ClearAndFree();
    ClearSkipped();
    bool more = false;
    while (in.Next(line)) {
      if (Count() >= ItemLimit) {
        more = IsElementDataLine(line);
        while (!more && in.Next(line)) more = IsElementDataLine(line);
        break;
      }
      FileParsedLine(in.LineNumber(), line, parse);
    }
    return EndRead(fileName, more) ? 1 : 0;
  }
  // Reads a SkyMap file (no header line; a first line of more than
  // kSkyMapLineLimit characters is no SkyMap file): every line that is not
  // blank goes through `parse` (line, record, item text, unusable field) ->
  // TForeignLineRead; parsed records are appended, unusable lines kept as
  // skipped, and a line that does not read ends the reading with false.
  template <typename Parse>
  bool ReadSkyMapLines(const std::string& fileName, Parse parse) {
    TTextLineReader in;
    if (!in.Open(fileName)) return false;
    std::string line;
    if (!in.Next(line) || Utf8Length(line) > kSkyMapLineLimit) return false;
    in.SeekTo(0);
    ClearAndFree();
    ClearSkipped();
    while (in.Next(line)) {
      if (line.find_first_not_of(" \t") == std::string::npos) continue;
      Record record;
      std::string itemText;
      const char* field = nullptr;
      switch (parse(line, record, itemText, &field)) {
        case TForeignLineRead::Parsed:
          AppendItem(std::move(itemText), record);
          break;
        case TForeignLineRead::Unusable:
          Skip(in.LineNumber(), line, field);
          break;
        default:
          return false;
      }
    }
    return EndRead(fileName, false);
  }
  // Writes every record through `encode` (N bytes each) in list order,
  // each as AsWritten gives it for `listFormat` (as the text files): a name
  // without a form in its encoding is refused, and `keeps` (record, bytes,
  // refusals) checks that each record reads back and notes it in the
  // refusals when it does not. Refused objects are named in one message;
  // then nothing is written.
  template <std::size_t N, typename Encode, typename Keeps>
  bool WriteRecordFile(const std::string& fileName, const TListFormat& listFormat, Encode encode, Keeps keeps) {
    TSaveRefusals refusals(listFormat.Name, fileName);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(Count()) * N);
    for (int k = 0; k < Count(); ++k) {
      const Record written = AsWritten(Data(k), listFormat);
      if (!KeepsEncoding(written.Name, written.Name, listFormat, refusals)) continue;
      const std::array<std::uint8_t, N> record = encode(written);
      if (!keeps(written, record, refusals)) continue;
      bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    if (refusals.ShowIfAny()) return false;
    if (!WriteElementFile(fileName, bytes)) return false;
    Loaded = 1;
    return true;
  }
  // Writes a text file: `text` (the header lines), then one line per record
  // in list order made by `format` (record) and checked by `keeps`
  // (record, line, lost fields, refusals) before anything is written; CR LF
  // line ends, encoded as `listFormat` says (a name without a Windows-1252
  // form refuses a Windows-1252 file). A format whose readers take the
  // equinox 2000 gets each record as AsWritten gives it. Refused objects
  // are gathered over the whole list and named in one message; then
  // nothing is written. When some record loses values the user is asked
  // once (AskToSaveDespiteLosses); No writes nothing.
  template <typename Format, typename Keeps, typename Precision>
  bool WriteTextFile(const std::string& fileName, std::string text, const TListFormat& listFormat,
                     const Precision& precision, Format format, Keeps keeps) {
    TSaveRefusals refusals(listFormat.Name, fileName);
    TLossTally losses;
    for (int k = 0; k < Count(); ++k) {
      const Record written = AsWritten(Data(k), listFormat);
      const std::string line = format(written);
      TLostFields lost = 0;
      if (!keeps(written, line, lost, refusals) || !KeepsEncoding(line, written.Name, listFormat, refusals)) continue;
      losses.Add(lost);
      if (written.Equinox == 2000 && Data(k).Equinox != 2000) ++losses.ConvertedToEquinox2000;
      text += line;
      text += "\r\n";
    }
    if (refusals.ShowIfAny()) return false;
    if (losses.Any() && !AskToSaveDespiteLosses(losses, precision, listFormat.Name)) return false;
    return WriteElementFile(fileName, ListFileBytes(text, listFormat.Encoding));
  }

  std::vector<Item> items_;
};

// Search rule shared by every list (upper-case keys).
bool ElementListKeyMatches(const std::string& key, const std::string& upperText, bool anywhere);

}  // namespace kvx
