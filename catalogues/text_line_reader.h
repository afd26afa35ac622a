// Reads a text file line by line without holding it whole: the element
// catalogues run to hundreds of megabytes and their readers stop after the
// first few thousand records.
//
// Line ends: CR LF, LF or a lone CR. Each line is decoded on its own: valid
// UTF-8 stays, anything else is read as Windows-1252 (a UTF-8 byte-order mark
// at the start of the file is dropped). A line longer than kMaxLineBytes is
// cut there and the rest of it skipped, so that a file without line ends
// never fills the memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace kvx {

// True when no byte of `text` is 0x80 or above (plain ASCII), looked at
// eight bytes at a time.
inline bool IsPlainAscii(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) return false;
  }
  for (; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  }
  return true;
}

class TTextLineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 1 << 20;

  TTextLineReader() = default;
  ~TTextLineReader();
  TTextLineReader(const TTextLineReader&) = delete;
  TTextLineReader& operator=(const TTextLineReader&) = delete;

  // Opens the file; false when it cannot be opened (or is a folder).
  bool Open(const std::string& path);
  // The next line (decoded, without its line end); false at the end of the
  // file. `endedByLineFeed` tells whether a line end followed it.
  bool Next(std::string& line);
  bool Next(std::string& line, bool& endedByLineEnd);
  // Raw form: the bytes of the next line as they stand.
  bool NextRaw(std::string& bytes, bool& endedByLineEnd);
  // Moves to byte `offset` of the file (for a reader that found its start);
  // `linesBefore` is the number of lines before that offset.
  bool SeekTo(std::uint64_t offset, int linesBefore = 0);
  // Byte offset of the next unread byte.
  std::uint64_t Position() const { return position_; }
  // The line number (from 1) of the line Next returned last.
  int LineNumber() const { return lineNumber_; }

 private:
  bool Fill();
  // Whether the bytes read ahead start with a UTF-8 byte-order mark.
  bool StartsWithByteOrderMark() const;
  std::FILE* file_ = nullptr;
  // The bytes read ahead, [0, size_) of data_ (capacity_ bytes, which a
  // read fills without their being cleared first).
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::string raw_;  // the line Next decodes, kept to reuse its memory
  std::size_t at_ = 0;
  std::uint64_t position_ = 0;
  int lineNumber_ = 0;
  bool eof_ = false;
};

}  // namespace kvx
