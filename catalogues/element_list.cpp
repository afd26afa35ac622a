#include "catalogues/element_list.h"

#include <sys/stat.h>

#include "catalogues/element_format_fields.h"
#include "catalogues/list_messages.h"
#include "platform/busy_cursor.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

std::string ElementListSortKey(const std::string& text) {
  // Most names are ASCII: upper-case them in place; the rest goes through
  // the Windows-1252 letter table.
  std::string key = text;
  for (char& c : key) {
    if (static_cast<unsigned char>(c) >= 0x80) return UpperCaseText(text);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int CompareElementListKeys(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      // Whole digit runs: by value (leading zeros dropped), then the shorter
      // run first.
      std::size_t ei = i, ej = j;
      while (ei < a.size() && IsDigit(a[ei])) ++ei;
      while (ej < b.size() && IsDigit(b[ej])) ++ej;
      std::size_t si = i, sj = j;
      while (si + 1 < ei && a[si] == '0') ++si;
      while (sj + 1 < ej && b[sj] == '0') ++sj;
      const std::size_t li = ei - si, lj = ej - sj;
      if (li != lj) return li < lj ? -1 : 1;
      const int digits = a.compare(si, li, b, sj, lj);
      if (digits != 0) return digits < 0 ? -1 : 1;
      if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
      i = ei;
      j = ej;
      continue;
    }
    const unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool ElementListKeyMatches(const std::string& key, const std::string& upperText, bool anywhere) {
  if (anywhere) return key.find(upperText) != std::string::npos;
  return key.compare(0, upperText.size(), upperText) == 0;
}

std::FILE* TElementListBase::OpenRecordFile(const std::string& fileName) {
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return nullptr;
  return std::fopen(fileName.c_str(), "rb");
}

bool TElementListBase::FinishLoad(bool ok, const std::string& fileName, const std::string& errorText, int index,
                                  bool showMessages, const std::function<void()>& loadBuiltIn) {
  if (!ok) {
    loadBuiltIn();
    Select(0);
    Changed();
    if (showMessages) {
      if (!errorText.empty()) {
        ShowMessage(errorText, errorText, MessageIcon::Error);
      } else {
        ShowInvalidFormatError(fileName);
      }
    }
    return false;
  }
  SetFileName(fileName);
  SelectRequested(index);
  BuiltInListShown = 0;
  Changed();
  if (showMessages) ReportSkippedElementLines(skipped_, fileName);
  return true;
}

bool TElementListBase::suchen(const std::string& text) {
  if (text.empty()) return false;
  BusyCursorScope busy;
  const std::string wanted = ElementListSortKey(text);
  bool found = false;
  for (int k = 0; k < Count(); ++k) {
    if (ElementListKeyMatches(Key(k), wanted, SearchAnywhere != 0)) {
      ItemIndex = k;
      found = true;
      break;
    }
  }
  Changed();
  return found;
}

TSkippedLinesNote SkippedElementLinesNote(const std::vector<TSkippedElementLine>& skipped, const std::string& prefix) {
  TSkippedLinesNote note;
  note.Prefix = prefix;
  note.GermanOne = " Zeile mit unbrauchbaren Bahnelementen übersprungen (Zeile ";
  note.GermanMany = " Zeilen mit unbrauchbaren Bahnelementen übersprungen (erste: Zeile ";
  note.EnglishOne = " line with unusable elements skipped (line ";
  note.EnglishMany = " lines with unusable elements skipped (first: line ";
  note.Count = static_cast<int>(skipped.size());
  if (!skipped.empty()) {
    note.FirstLine = skipped.front().LineNumber;
    note.GermanField = FieldNameGerman(skipped.front().Field.c_str());
    note.EnglishField = skipped.front().Field;
  }
  note.Caption = ByLanguage("Hinweis", "Note");
  return note;
}

void ReportSkippedElementLines(const std::vector<TSkippedElementLine>& skipped, const std::string& fileName) {
  if (skipped.empty()) return;
  ShowSkippedLinesNote(SkippedElementLinesNote(skipped, fileName + ": "));
}

std::string TElementListBase::NoElementsError(const std::string& fileName) const {
  std::string text = NoElementsText(fileName);
  if (!skipped_.empty()) {
    text += ' ';
    text += SkippedLinesText(SkippedElementLinesNote(skipped_, ""), LanguageEnglish != 0);
  }
  return text;
}

}  // namespace kvx
