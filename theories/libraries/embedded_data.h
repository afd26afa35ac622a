// Coefficient files built into a theory library. Each file of data/ is placed
// into the read-only data of the library that needs it at build time (the
// assembler's .incbin), so a library carries its series and needs no file
// access at run time. The symbols are hidden: every library has its own copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// KVX_EMBED_FILE(name, "path") defines name_begin/name_end around the bytes of
// the file. The path comes from the build (a compile definition).
#define KVX_EMBED_FILE(name, path)          \
  __asm__(".section .rodata." #name         \
          ",\"a\",@progbits\n"              \
          ".balign 16\n"                    \
          ".globl " #name                   \
          "_begin\n"                        \
          ".hidden " #name "_begin\n" #name \
          "_begin:\n"                       \
          ".incbin \"" path                 \
          "\"\n"                            \
          ".globl " #name                   \
          "_end\n"                          \
          ".hidden " #name "_end\n" #name   \
          "_end:\n"                         \
          ".byte 0\n"                       \
          ".previous\n");

extern "C" {
extern const std::uint8_t kvx_vsop87b_begin[];
extern const std::uint8_t kvx_vsop87b_end[];
extern const std::uint8_t kvx_vsop87d_begin[];
extern const std::uint8_t kvx_vsop87d_end[];
extern const std::uint8_t kvx_elp82b_begin[];
extern const std::uint8_t kvx_elp82b_end[];
}

namespace kvx::theory_data {

inline std::span<const std::uint8_t> Vsop87BFile() {
  return {kvx_vsop87b_begin, static_cast<std::size_t>(kvx_vsop87b_end - kvx_vsop87b_begin)};
}
inline std::span<const std::uint8_t> Vsop87DFile() {
  return {kvx_vsop87d_begin, static_cast<std::size_t>(kvx_vsop87d_end - kvx_vsop87d_begin)};
}
inline std::span<const std::uint8_t> Elp82BFile() {
  return {kvx_elp82b_begin, static_cast<std::size_t>(kvx_elp82b_end - kvx_elp82b_begin)};
}

}  // namespace kvx::theory_data
