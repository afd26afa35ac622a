// An access control list set on a file as the system stores it (the
// extended attribute "system.posix_acl_access"), without the tools of a
// package: the owner, one named user, the owning group, the mask and the
// others, each with its read/write/execute bits.
#pragma once

#include <sys/xattr.h>

#include <cstdint>
#include <string>

namespace kvx::test {

inline constexpr const char* kAccessListAttribute = "system.posix_acl_access";

// The list "user::<owner>, user:<user>:<named>, group::<group>,
// mask::<mask>, other::<other>" (bits 4 read, 2 write, 1 execute).
inline std::string AccessList(unsigned owner, std::uint32_t user, unsigned named, unsigned group, unsigned mask,
                              unsigned other) {
  std::string bytes;
  const auto put = [&](std::uint32_t value, int size) {
    for (int k = 0; k < size; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xFF);
  };
  const auto entry = [&](std::uint16_t tag, unsigned bits, std::uint32_t id) {
    put(tag, 2);
    put(bits, 2);
    put(id, 4);
  };
  constexpr std::uint32_t kNoId = 0xFFFFFFFF;
  put(2, 4);  // the version
  entry(0x01, owner, kNoId);
  entry(0x02, named, user);
  entry(0x04, group, kNoId);
  entry(0x10, mask, kNoId);
  entry(0x20, other, kNoId);
  return bytes;
}

// The value of the extended attribute `name` of `path`; empty when it has none.
inline std::string Attribute(const std::string& path, const char* name) {
  std::string value(4096, '\0');
  const ssize_t got = ::getxattr(path.c_str(), name, value.data(), value.size());
  value.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return value;
}

inline bool SetAttribute(const std::string& path, const char* name, const std::string& value) {
  return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

}  // namespace kvx::test
