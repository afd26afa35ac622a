#include "catalogues/text_line_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/text_encoding.h"

namespace kvx {

namespace {
constexpr std::size_t kChunk = 1 << 16;
}

TTextLineReader::~TTextLineReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TTextLineReader::Open(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  size_ = 0;
  at_ = 0;
  position_ = 0;
  lineNumber_ = 0;
  eof_ = false;
  // A UTF-8 byte-order mark is not part of the first line.
  if (Fill() && StartsWithByteOrderMark()) {
    at_ = 3;
    position_ = 3;
  }
  return true;
}

bool TTextLineReader::StartsWithByteOrderMark() const {
  return size_ >= 3 && std::memcmp(data_.get(), "\xEF\xBB\xBF", 3) == 0;
}

bool TTextLineReader::Fill() {
  if (eof_ || file_ == nullptr) return false;
  if (at_ > 0) {
    std::memmove(data_.get(), data_.get() + at_, size_ - at_);
    size_ -= at_;
    at_ = 0;
  }
  if (capacity_ < size_ + kChunk) {
    std::unique_ptr<char[]> grown = std::make_unique_for_overwrite<char[]>(size_ + kChunk);
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = size_ + kChunk;
  }
  const std::size_t got = std::fread(data_.get() + size_, 1, kChunk, file_);
  size_ += got;
  if (got == 0) eof_ = true;
  return got > 0;
}

bool TTextLineReader::SeekTo(std::uint64_t offset, int linesBefore) {
  if (file_ == nullptr || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  size_ = 0;
  at_ = 0;
  position_ = offset;
  lineNumber_ = linesBefore;
  eof_ = false;
  if (offset == 0 && Fill() && StartsWithByteOrderMark()) {
    at_ = 3;
    position_ = 3;
  }
  return true;
}

bool TTextLineReader::NextRaw(std::string& bytes, bool& endedByLineEnd) {
  bytes.clear();
  endedByLineEnd = false;
  bool any = false;
  for (;;) {
    if (at_ >= size_ && !Fill()) break;
    any = true;
    // The first line end: a LF, or a CR before it.
    const char* data = data_.get();
    const void* lineFeed = std::memchr(data + at_, '\n', size_ - at_);
    std::size_t end = lineFeed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - data) : size_;
    if (const void* carriageReturn = std::memchr(data + at_, '\r', end - at_)) {
      end = static_cast<std::size_t>(static_cast<const char*>(carriageReturn) - data);
    }
    if (end == size_) end = std::string::npos;
    const std::size_t stop = end == std::string::npos ? size_ : end;
    const std::size_t room = kMaxLineBytes > bytes.size() ? kMaxLineBytes - bytes.size() : 0;
    bytes.append(data + at_, std::min(room, stop - at_));
    position_ += stop - at_;
    at_ = stop;
    if (end == std::string::npos) continue;
    // The line end: CR LF counts as one.
    endedByLineEnd = true;
    const char c = data_[at_++];
    ++position_;
    if (c == '\r') {
      if (at_ >= size_) Fill();
      if (at_ < size_ && data_[at_] == '\n') {
        ++at_;
        ++position_;
      }
    }
    break;
  }
  if (!any) return false;
  ++lineNumber_;
  return true;
}

bool TTextLineReader::Next(std::string& line, bool& endedByLineEnd) {
  if (!NextRaw(raw_, endedByLineEnd)) return false;
  if (IsPlainAscii(raw_) || IsValidUtf8(raw_)) {
    line.assign(raw_);
  } else {
    line = Cp1252ToUtf8(raw_);
  }
  return true;
}

bool TTextLineReader::Next(std::string& line) {
  bool ended = false;
  return Next(line, ended);
}

}  // namespace kvx
