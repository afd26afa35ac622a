#include "platform/workbook/text_source.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace kvx::workbook {

namespace {

// 64-bit FNV-1a.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

void Mix(std::uint64_t& hash, std::string_view bytes) {
  for (const char ch : bytes) {
    hash ^= static_cast<unsigned char>(ch);
    hash *= kFnvPrime;
  }
}

// A number as its shortest text that reads back as the same number, with
// the decimal mark `decimal`; its length.
std::size_t ShortestNumberText(double number, char decimal, char (&text)[32]) {
  const auto [end, error] = std::to_chars(text, text + sizeof text, number);
  if (error != std::errc()) return 0;
  const auto length = static_cast<std::size_t>(end - text);
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '.') text[i] = decimal;
  }
  return length;
}

}  // namespace

std::uint64_t ContentKey(const TCell& cell) {
  std::uint64_t hash = kFnvOffset;
  const char kind = static_cast<char>(cell.Kind);
  Mix(hash, std::string_view(&kind, 1));
  switch (cell.Kind) {
    case TCellKind::Number: {
      char bits[sizeof cell.Number];
      std::memcpy(bits, &cell.Number, sizeof bits);
      Mix(hash, std::string_view(bits, sizeof bits));
      break;
    }
    case TCellKind::Text:
      Mix(hash, cell.Text);
      break;
    case TCellKind::Formula:
      Mix(hash, cell.Formula);
      break;
    case TCellKind::Empty:
      break;
  }
  return hash;
}

std::uint32_t TTextSource::Add(std::string_view text) {
  constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max();
  if (text.size() > kMost - Texts.size() || Cells.size() + 1 >= kSourceInContents) return 0;
  Cells.push_back(TCellSource{static_cast<std::uint32_t>(Texts.size()), static_cast<std::uint32_t>(text.size()), 0});
  Texts.append(text);
  return static_cast<std::uint32_t>(Cells.size());
}

void TTextSource::Keep(TCell& cell, std::string_view text) {
  cell.Source = kSourceInContents;
  std::string_view own;
  if (Of(cell, own) && own == text) return;
  cell.Source = Add(text);
  if (cell.Source != 0) Cells.back().Content = ContentKey(cell);
}

bool TTextSource::Of(const TCell& cell, std::string_view& text) const {
  if (cell.Source == kSourceInContents) {
    if (cell.Kind == TCellKind::Text) {
      text = cell.Text;
      return true;
    }
    if (cell.Kind != TCellKind::Number) return false;
    text = std::string_view(number_, ShortestNumberText(cell.Number, Decimal, number_));
    return !text.empty();
  }
  if (cell.Source == 0 || cell.Source > Cells.size()) return false;
  const TCellSource& source = Cells[cell.Source - 1];
  if (source.Content != ContentKey(cell)) return false;
  text = std::string_view(Texts).substr(source.Offset, source.Length);
  return true;
}

}  // namespace kvx::workbook
