// Small helpers of the fuzz targets: taking typed values from the fuzzer's
// bytes, a message sink that answers silently, a scratch file for readers
// that take a path, and the check that stops a run on a broken promise.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/messages.h"

namespace kvx::fuzz {

// Reads typed values from the front of the input; past its end every value
// is zero and every text empty.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // Eight bytes as they stand (any bit pattern: NaN, infinities, subnormals).
  double Double() {
    unsigned char raw[8] = {};
    for (unsigned char& b : raw) b = Byte();
    double value = 0;
    std::memcpy(&value, raw, sizeof value);
    return value;
  }
  long double LongDouble() { return Double(); }
  std::int32_t Int32() {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= static_cast<std::uint32_t>(Byte()) << (8 * k);
    return static_cast<std::int32_t>(v);
  }
  // Up to `count` bytes as a text.
  std::string Text(std::size_t count) {
    std::size_t n = std::min(count, size_ - pos_);
    std::string text(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return text;
  }
  // A text of a length given by the next byte.
  std::string ShortText() { return Text(Byte()); }
  std::string Rest() { return Text(size_ - pos_); }
  std::size_t Left() const { return size_ - pos_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Answers every message box with Ok (Yes) and shows nothing.
class QuietSink : public MessageSink {
 public:
  MessageResult Show(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override {
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                       : MessageResult::Ok;
  }
};

inline void SilenceMessages() {
  static QuietSink sink;
  SetMessageSink(&sink);
}

// A scratch file of this process, rewritten for each input.
inline const std::string& ScratchPath(const char* suffix) {
  static std::string path;
  if (path.empty()) {
    const char* folder = std::getenv("TMPDIR");
    path = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/kvx-fuzz-" +
           std::to_string(getpid()) + suffix;
  }
  return path;
}

inline const std::string& WriteScratch(std::string_view bytes, const char* suffix) {
  const std::string& path = ScratchPath(suffix);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Stops the run (the fuzzer records the input) when a promise is broken.
inline void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
  }
}

inline bool Finite(double x) { return std::isfinite(x); }

}  // namespace kvx::fuzz
