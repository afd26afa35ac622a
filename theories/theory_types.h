// Types every Sun, Moon and planet routine receives from the main window:
// the theory selection, the truncation level of the theory libraries and the
// nine open precomputed position files; and the heliocentric place the
// planet routines give back.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

namespace kvx {

// The user's choice of theories, 12 bytes passed by value.
//   byte 0: planet theory: 0 internal series, 1 VSOP87 D library,
//           2 VSOP87 C library, 3 position files;
//   byte 1: Moon theory: 0 internal series, non-zero ELP-2000/82 library;
//   bytes 2..11: further switches (start-up default 1).
struct TTheorySelection {
  std::array<std::uint8_t, 12> bytes{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0};

  std::uint8_t PlanetTheory() const { return bytes[0]; }
  std::uint8_t MoonTheory() const { return bytes[1]; }
};

inline constexpr std::uint8_t kPlanetTheoryInternal = 0;
inline constexpr std::uint8_t kPlanetTheoryVsop87D = 1;
inline constexpr std::uint8_t kPlanetTheoryVsop87C = 2;
inline constexpr std::uint8_t kPlanetTheoryPositionFiles = 3;

// Truncation level of the theory libraries: -1 full series, 4, 6, 8 or 10
// for coarser ones. Handed to every library call as a double.
using TTruncationLevel = std::int32_t;
inline constexpr TTruncationLevel kFullTheory = -1;

// One open ".vsc" position file of a body: the stream (opened read-only by
// the main window), its block buffer of 8001 records and the block bounds
// S and E as six-byte reals. The handle is passed by value; the buffer and
// the bounds belong to the main window and are updated through the pointers.
struct PositionFileHandle {
  std::FILE* stream = nullptr;
  std::uint8_t* block = nullptr;
  std::uint8_t* blockStart = nullptr;
  std::uint8_t* blockEnd = nullptr;
};

// Body slots 0..8: Sun (the Earth's file), Mercury, Venus, Mars, Jupiter,
// Saturn, Uranus, Neptune, Pluto.
using PositionFileHandles = std::array<PositionFileHandle, 9>;

// A body's heliocentric place as a planet routine gives it: ecliptic
// longitude and latitude (degrees), radius vector (AU), rectangular
// position (AU) and velocity (AU per day), in the frame of its source.
struct THeliocentricPlace {
  double L = 0, B = 0, R = 0;
  double X = 0, Y = 0, Z = 0;
  double VX = 0, VY = 0, VZ = 0;

  // Hands the values to the separate outputs of the routines that return
  // them one by one.
  void CopyTo(double& l, double& b, double& r, double& x, double& y, double& z, double& vx, double& vy,
              double& vz) const {
    l = L;
    b = B;
    r = R;
    x = X;
    y = Y;
    z = Z;
    vx = VX;
    vy = VY;
    vz = VZ;
  }
};

}  // namespace kvx
