// A stand-in for all five theory libraries, for the loader tests: it
// defines every probe and entry point, records the order in which the
// probes are called and answers either the right codes or wrong ones.
#include <cstdint>
#include <cstring>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
char probeLog[256];
bool rightCodes = true;

std::int32_t Probe(const char* name, std::int32_t code) {
  if (std::strlen(probeLog) + std::strlen(name) + 2 < sizeof probeLog) {
    std::strcat(probeLog, name);
    std::strcat(probeLog, " ");
  }
  return rightCodes ? code : code + 1;
}
}  // namespace

FAKE_EXPORT const char* fake_probe_log() { return probeLog; }
FAKE_EXPORT void fake_reset(bool answerRightCodes) {
  probeLog[0] = '\0';
  rightCodes = answerRightCodes;
}

FAKE_EXPORT std::int32_t ping_elp() { return Probe("ping_elp", 17); }
FAKE_EXPORT std::int32_t ping_82() { return Probe("ping_82", 115); }
FAKE_EXPORT std::int32_t ping() { return Probe("ping", 112); }
FAKE_EXPORT std::int32_t ping_c() { return Probe("ping_c", 113); }
FAKE_EXPORT std::int32_t ping_a() { return Probe("ping_a", 114); }

// Every entry point writes 1 into its first output.
#define FAKE_SPHERICAL(name) \
  FAKE_EXPORT void name(double, double* a, double*, double*, double) { *a = 1.0; }
#define FAKE_RECTANGULAR(name) \
  FAKE_EXPORT void name(double, double* a, double*, double*, double*, double*, double*, double) { *a = 1.0; }
#define FAKE_ELEMENTS(name) \
  FAKE_EXPORT void name(double, double* a, double*, double*, double*, double*, double*, double) { *a = 1.0; }

FAKE_SPHERICAL(vsopmerkur_hel)
FAKE_SPHERICAL(vsopvenus_hel)
FAKE_SPHERICAL(vsopmars_hel)
FAKE_SPHERICAL(vsopjupiter_hel)
FAKE_SPHERICAL(vsopsaturn_hel)
FAKE_SPHERICAL(vsopuranus_hel)
FAKE_SPHERICAL(vsopneptun_hel)
FAKE_SPHERICAL(vsopsun_l)
FAKE_RECTANGULAR(vsop_c_mer)
FAKE_RECTANGULAR(vsop_c_ven)
FAKE_RECTANGULAR(vsop_c_mar)
FAKE_RECTANGULAR(vsop_c_jup)
FAKE_RECTANGULAR(vsop_c_sat)
FAKE_RECTANGULAR(vsop_c_ura)
FAKE_RECTANGULAR(vsop_c_nep)
FAKE_RECTANGULAR(vsopcsun)
FAKE_RECTANGULAR(vsop_a_mer)
FAKE_RECTANGULAR(vsop_a_ven)
FAKE_RECTANGULAR(vsop_a_mar)
FAKE_RECTANGULAR(vsop_a_jup)
FAKE_RECTANGULAR(vsop_a_sat)
FAKE_RECTANGULAR(vsop_a_ura)
FAKE_RECTANGULAR(vsop_a_nep)
FAKE_RECTANGULAR(vsop_a_erd)
FAKE_RECTANGULAR(vsop_a_emo)
FAKE_ELEMENTS(vsop_mer)
FAKE_ELEMENTS(vsop_ven)
FAKE_ELEMENTS(vsop_ear)
FAKE_ELEMENTS(vsop_mar)
FAKE_ELEMENTS(vsop_jup)
FAKE_ELEMENTS(vsop_sat)
FAKE_ELEMENTS(vsop_ura)
FAKE_ELEMENTS(vsop_nep)
FAKE_EXPORT void ELP82B(double, double* x, double*, double*, double) { *x = 1.0; }
