#include "platform/workbook/text_source.h"

#include <cstring>
#include <limits>

#include "platform/number_text.h"

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

void TTextSource::Keep(TCell& cell, std::string_view text, bool given) {
  cell.Source = kSourceInContents;
  if (given) return;
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
    text = std::string_view(number_, ShortestNumberChars(cell.Number, Decimal, number_));
    return !text.empty();
  }
  if (cell.Source == 0 || cell.Source > Cells.size()) return false;
  const TCellSource& source = Cells[cell.Source - 1];
  if (source.Content != ContentKey(cell)) return false;
  text = std::string_view(Texts).substr(source.Offset, source.Length);
  return true;
}

}  // namespace kvx::workbook
