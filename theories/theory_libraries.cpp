#include "theories/theory_libraries.h"

#include <dlfcn.h>

#include <array>
#include <filesystem>
#include <span>
#include <system_error>
#include <type_traits>
#include <vector>

#include "platform/paths.h"
#include "theories/libraries/theory_library_abi.h"

namespace kvx {
namespace {

using theory_abi::ElementsFunction;
using theory_abi::MoonFunction;
using theory_abi::ProbeFunction;
using theory_abi::RectangularFunction;
using theory_abi::SphericalFunction;

// The entry points of every library; null while the library is absent.
struct EntryPoints {
  ProbeFunction probeElp = nullptr, probe82 = nullptr, probeD = nullptr, probeC = nullptr, probeA = nullptr;
  // VSOP87 D: Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Sun.
  std::array<SphericalFunction, 8> d{};
  // VSOP87 C: Mercury .. Neptune, then the Earth (vsopcsun).
  std::array<RectangularFunction, 8> c{};
  // VSOP87 A: Mercury .. Neptune, Earth, Earth-Moon barycentre.
  std::array<RectangularFunction, 9> a{};
  // VSOP82: Mercury, Venus, Earth, Mars, Jupiter, Saturn, Uranus, Neptune.
  std::array<ElementsFunction, 8> elements{};
  MoonFunction moon = nullptr;
};

EntryPoints entries;
std::array<void*, 5> handles{};  // in probe order

struct LibraryDescription {
  const char* file;
  const char* probe;
  std::int32_t code;
  std::vector<const char*> names;  // entry points besides the probe, table order
};

// In the order the probes are called at start-up.
const std::array<LibraryDescription, 5>& Libraries() {
  static const std::array<LibraryDescription, 5> libraries{{
      {"libelp2000.so", "ping_elp", theory_abi::kProbeElp2000, {"ELP82B"}},
      {"libvsop82.so",
       "ping_82",
       theory_abi::kProbeVsop82,
       {"vsop_mer", "vsop_ven", "vsop_ear", "vsop_mar", "vsop_jup", "vsop_sat", "vsop_ura", "vsop_nep"}},
      {"libvsop87d.so",
       "ping",
       theory_abi::kProbeVsop87D,
       {"vsopmerkur_hel", "vsopvenus_hel", "vsopmars_hel", "vsopjupiter_hel", "vsopsaturn_hel", "vsopuranus_hel",
        "vsopneptun_hel", "vsopsun_l"}},
      {"libvsop87c.so",
       "ping_c",
       theory_abi::kProbeVsop87C,
       {"vsop_c_mer", "vsop_c_ven", "vsop_c_mar", "vsop_c_jup", "vsop_c_sat", "vsop_c_ura", "vsop_c_nep", "vsopcsun"}},
      {"libvsop87a.so",
       "ping_a",
       theory_abi::kProbeVsop87A,
       {"vsop_a_mer", "vsop_a_ven", "vsop_a_mar", "vsop_a_jup", "vsop_a_sat", "vsop_a_ura", "vsop_a_nep", "vsop_a_erd",
        "vsop_a_emo"}},
  }};
  return libraries;
}

template <typename Function>
Function Resolve(void* handle, const char* name) {
  return reinterpret_cast<Function>(dlsym(handle, name));
}

// Calls visit(probe, slots) with the probe's slot of library `index` (in
// probe order) and the slots of its other entry points, in table order.
template <class Visit>
void VisitSlots(std::size_t index, EntryPoints& e, Visit visit) {
  switch (index) {
    case 0:
      visit(e.probeElp, std::span<MoonFunction>(&e.moon, 1));
      break;
    case 1:
      visit(e.probe82, std::span<ElementsFunction>(e.elements));
      break;
    case 2:
      visit(e.probeD, std::span<SphericalFunction>(e.d));
      break;
    case 3:
      visit(e.probeC, std::span<RectangularFunction>(e.c));
      break;
    default:
      visit(e.probeA, std::span<RectangularFunction>(e.a));
      break;
  }
}

// Resolves every entry point of library `index` into `e`; false when one is
// missing.
bool Bind(std::size_t index, void* handle, EntryPoints& e) {
  const LibraryDescription& lib = Libraries()[index];
  bool complete = true;
  auto bind = [&](auto& slot, const char* name) {
    using Function = std::remove_reference_t<decltype(slot)>;
    slot = Resolve<Function>(handle, name);
    if (slot == nullptr) complete = false;
  };
  VisitSlots(index, e, [&](ProbeFunction& probe, auto slots) {
    bind(probe, lib.probe);
    for (std::size_t i = 0; i < slots.size(); ++i) bind(slots[i], lib.names[i]);
  });
  return complete;
}

void Unbind(std::size_t index, EntryPoints& e) {
  VisitSlots(index, e, [](ProbeFunction& probe, auto slots) {
    probe = nullptr;
    for (auto& slot : slots) slot = nullptr;
  });
}

ProbeFunction ProbeOf(std::size_t index) {
  ProbeFunction probe = nullptr;
  VisitSlots(index, entries, [&](ProbeFunction& slot, auto) { probe = slot; });
  return probe;
}

// Calls a library function with T, the addresses of the outputs and the
// truncation level (or precision); without the function every output is 0.
template <typename Function, typename... Outputs>
void CallLibrary(Function f, double T, double level, Outputs&... outputs) {
  if (f == nullptr) {
    ((outputs = 0.0), ...);
    return;
  }
  f(T, &outputs..., level);
}

std::int32_t Probe(ProbeFunction f) { return f == nullptr ? 0 : f(); }

}  // namespace

std::vector<std::string> TheoryLibraryFolders(const std::string& programFolder) {
  const std::filesystem::path folder(programFolder);
  return {(folder.parent_path() / "lib").string(), folder.string()};
}

std::vector<std::string> DefaultTheoryLibraryFolders() { return TheoryLibraryFolders(ExecutableFolder()); }

void CloseTheoryLibraries() {
  entries = EntryPoints{};
  for (void*& handle : handles) {
    if (handle != nullptr) dlclose(handle);
    handle = nullptr;
  }
}

TLibraryAvailability OpenTheoryLibraries(const std::string& folder) {
  return OpenTheoryLibraries(std::vector<std::string>{folder});
}

TLibraryAvailability OpenTheoryLibraries(const std::vector<std::string>& folders) {
  CloseTheoryLibraries();
  // Each library from the first folder that holds it whole; all five are
  // opened and bound first, then probed once each in order.
  for (std::size_t i = 0; i < handles.size(); ++i) {
    for (const std::string& folder : folders) {
      const std::filesystem::path path = std::filesystem::path(folder) / Libraries()[i].file;
      void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle == nullptr) continue;
      if (!Bind(i, handle, entries)) {
        Unbind(i, entries);
        dlclose(handle);
        continue;
      }
      handles[i] = handle;
      break;
    }
  }
  std::array<std::uint8_t, 5> present{};
  for (std::size_t i = 0; i < handles.size(); ++i) {
    if (handles[i] == nullptr) continue;
    present[i] = Probe(ProbeOf(i)) == Libraries()[i].code ? 1 : 0;
    if (present[i] == 0) {
      Unbind(i, entries);
      dlclose(handles[i]);
      handles[i] = nullptr;
    }
  }
  TLibraryAvailability availability;
  availability.Elp2000 = present[0];
  availability.Vsop82 = present[1];
  availability.Vsop87D = present[2];
  availability.Vsop87C = present[3];
  availability.Vsop87A = present[4];
  return availability;
}

std::int32_t ping_elp() { return Probe(entries.probeElp); }
std::int32_t ping_82() { return Probe(entries.probe82); }
std::int32_t ping() { return Probe(entries.probeD); }
std::int32_t ping_c() { return Probe(entries.probeC); }
std::int32_t ping_a() { return Probe(entries.probeA); }

#define KVX_SPHERICAL(name, index)                                     \
  void name(double T, double& L, double& B, double& R, double level) { \
    CallLibrary(entries.d[index], T, level, L, B, R);                  \
  }
KVX_SPHERICAL(vsopmerkur_hel, 0)
KVX_SPHERICAL(vsopvenus_hel, 1)
KVX_SPHERICAL(vsopmars_hel, 2)
KVX_SPHERICAL(vsopjupiter_hel, 3)
KVX_SPHERICAL(vsopsaturn_hel, 4)
KVX_SPHERICAL(vsopuranus_hel, 5)
KVX_SPHERICAL(vsopneptun_hel, 6)
KVX_SPHERICAL(vsopsun_l, 7)
#undef KVX_SPHERICAL

#define KVX_RECTANGULAR(name, table, index)                                                                \
  void name(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level) { \
    CallLibrary(entries.table[index], T, level, X, Y, Z, VX, VY, VZ);                                      \
  }
KVX_RECTANGULAR(vsop_c_mer, c, 0)
KVX_RECTANGULAR(vsop_c_ven, c, 1)
KVX_RECTANGULAR(vsop_c_mar, c, 2)
KVX_RECTANGULAR(vsop_c_jup, c, 3)
KVX_RECTANGULAR(vsop_c_sat, c, 4)
KVX_RECTANGULAR(vsop_c_ura, c, 5)
KVX_RECTANGULAR(vsop_c_nep, c, 6)
KVX_RECTANGULAR(vsopcsun, c, 7)
KVX_RECTANGULAR(vsop_a_mer, a, 0)
KVX_RECTANGULAR(vsop_a_ven, a, 1)
KVX_RECTANGULAR(vsop_a_mar, a, 2)
KVX_RECTANGULAR(vsop_a_jup, a, 3)
KVX_RECTANGULAR(vsop_a_sat, a, 4)
KVX_RECTANGULAR(vsop_a_ura, a, 5)
KVX_RECTANGULAR(vsop_a_nep, a, 6)
KVX_RECTANGULAR(vsop_a_erd, a, 7)
KVX_RECTANGULAR(vsop_a_emo, a, 8)
#undef KVX_RECTANGULAR

#define KVX_ELEMENTS(name, index)                                                                                \
  void name(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision) { \
    CallLibrary(entries.elements[index], T, precision, a, lambda, k, h, q, p);                                   \
  }
KVX_ELEMENTS(vsop_mer, 0)
KVX_ELEMENTS(vsop_ven, 1)
KVX_ELEMENTS(vsop_ear, 2)
KVX_ELEMENTS(vsop_mar, 3)
KVX_ELEMENTS(vsop_jup, 4)
KVX_ELEMENTS(vsop_sat, 5)
KVX_ELEMENTS(vsop_ura, 6)
KVX_ELEMENTS(vsop_nep, 7)
#undef KVX_ELEMENTS

void ELP82B(double JD, double& X, double& Y, double& Z, double level) {
  if (entries.moon == nullptr) {
    X = Y = Z = 0.0;
    return;
  }
  entries.moon(JD, &X, &Y, &Z, level);
}

}  // namespace kvx
