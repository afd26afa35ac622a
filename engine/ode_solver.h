// Variable-order, variable-step Adams solver for systems of first-order
// ordinary differential equations y' = F(t, y): the predictor-corrector
// method (PECE with local extrapolation, orders 1 to 12) in modified
// divided-difference form, with the driver SolveODE, the single step
// SolveODEStep and the interpolation SolveODEInterpolate.
//
// Reference: L. F. Shampine and M. K. Gordon, Computer Solution of Ordinary
// Differential Equations: the Initial Value Problem (Freeman, 1975), the
// routines DE, STEP and INTRP and their error constants.
//
// Arithmetic: long double, the 80-bit x87 format (64 mantissa bits). The
// independent variable is whatever the caller integrates over (the orbit
// integrations use the MJD of dynamical time, days); the solver gives it no
// meaning. Nothing is allocated: the arrays are sized by the traits.
//
// The template takes:
//   Traits  kEquations (array size), kTwoU and kFourU (twice and four times
//           the unit roundoff taken for the arithmetic), Time (the type of T
//           and TOUT at the interface).
//   F       a callable F(long double t, const long double* y, long double* yp)
//           writing the NEQN derivatives; callers bind whatever context the
//           derivatives need (settings, theory selection, precision level).
//   Pump    a policy object with
//             OdePumpAction BeforeStep(const OdePumpState&)  top of each pass
//             OdePumpAction AfterStep(const OdePumpState&)   after each step
//           Continue goes on; Abort returns IFLAG 7 with Y and T untouched;
//           ReturnUnchanged returns the IFLAG of the entry, Y and T untouched.
//
// Return codes (IFLAG):
//   2     T reached TOUT; Y is the solution at TOUT.
//   3*ISN RELERR and ABSERR were too small for the precision and have been
//         raised in place; Y, T = the point reached.
//   4*ISN MAXNUM (500) steps were taken without reaching TOUT.
//   5*ISN as 4, and at least 50 consecutive steps had order <= 4 (stiff).
//   6     invalid input, nothing done; every later call is refused until the
//         caller starts again with IFLAG 1.
//   7     the pump asked to stop; Y and T unchanged since the last return.
// ISN is the sign of IFLAG on entry: a negative IFLAG forbids the solver to
// step past TOUT (it extrapolates the last small distance instead).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kvx {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the multistep solver is tuned for the 80-bit extended format");

// Most steps in one call of SolveODE, and the stiffness test: this many
// consecutive steps at order 4 or below.
inline constexpr int kOdeMaxSteps = 500;
inline constexpr int kOdeStiffSteps = 50;
// Highest order; PHI has two more columns for the roundoff control.
inline constexpr int kOdeMaxOrder = 12;

// The published error constants GSTR(1..13) and the powers of two TWO(1..13).
inline constexpr long double kOdeGstr[13] = {0.500L,   0.0833L,  0.0417L,  0.0264L,  0.0188L,  0.0143L, 0.0114L,
                                             0.00936L, 0.00789L, 0.00679L, 0.00592L, 0.00524L, 0.00468L};
inline constexpr long double kOdeTwo[13] = {2.0L,   4.0L,   8.0L,    16.0L,   32.0L,   64.0L,  128.0L,
                                            256.0L, 512.0L, 1024.0L, 2048.0L, 4096.0L, 8192.0L};

// The six-equation instance of the small-body integrations.
struct SmallBodyOdeTraits {
  static constexpr int kEquations = 6;
  static constexpr long double kTwoU = 4e-17L;
  static constexpr long double kFourU = 8e-17L;
  using Time = double;
};

// The solver's state between calls, owned by the caller. Fields are indexed
// from 0 here; the comments give the published 1-based meaning.
template <int N>
struct TODEWorkspace {
  long double YY[N] = {};       // solution at the internal point X
  long double WT[N] = {};       // error weights RELEPS*|YY| + ABSEPS
  long double P[N] = {};        // predicted solution
  long double YP[N] = {};       // derivative
  long double YPOUT[N] = {};    // derivative at the output point
  long double PHI[N][16] = {};  // modified divided differences; 15, 16 roundoff control
  long double ALPHA[12] = {}, BETA[12] = {}, V[12] = {}, W[12] = {}, PSI[12] = {};
  long double SIG[13] = {}, G[13] = {};
  long double X = 0;        // internal independent variable
  long double H = 0;        // signed step for the next step
  long double HOLD = 0;     // step of the last successful step
  long double TOLD = 0;     // T at the last return
  long double DELSGN = 0;   // direction of integration, +1 or -1
  std::int32_t NS = 0;      // steps taken with the current step size
  std::int32_t K = 0;       // order of the next step
  std::int32_t KOLD = 0;    // order of the last successful step
  std::int32_t ISNOLD = 0;  // sign of IFLAG at the last return (1 after 3..5)
  std::uint8_t PHASE1 = 0;  // start phase: the order rises after every step
  std::uint8_t START = 0;   // the next step is the first of an integration
  std::uint8_t NORND = 0;   // clear: roundoff control active
};

enum class OdePumpAction { Continue, Abort, ReturnUnchanged };

// What a pump policy sees: the steps of this call, the internal point, and
// the T and TOUT the call was given (T changes only on return).
struct OdePumpState {
  std::int32_t stepsThisCall = 0;
  long double X = 0;
  long double T = 0;
  long double TOUT = 0;
};

// A pump that never stops the solver (tests, batch use).
struct OdeNoPump {
  OdePumpAction BeforeStep(const OdePumpState&) { return OdePumpAction::Continue; }
  OdePumpAction AfterStep(const OdePumpState&) { return OdePumpAction::Continue; }
};

namespace ode_detail {

// SIGN(a, b): |a| with the sign of b (b = 0 counts as positive).
inline long double Sign(long double a, long double b) { return b >= 0 ? std::fabs(a) : -std::fabs(a); }

}  // namespace ode_detail

// Evaluates the interpolating polynomial of the last step at XOUT.
// Given X (the internal point), YY (the solution there), XOUT, NEQN, KOLD,
// PHI and PSI from the workspace. Returned YOUT, YPOUT: the solution and its
// derivative at XOUT.
template <int N>
void SolveODEInterpolate(long double X, const long double* YY, long double XOUT, long double* YOUT, long double* YPOUT,
                         std::int32_t NEQN, std::int32_t KOLD, const long double (&PHI)[N][16],
                         const long double (&PSI)[12]) {
  const long double hi = XOUT - X;
  const int ki = KOLD + 1;
  long double w[13], g[13], rho[13];
  for (int i = 1; i <= ki; ++i) w[i - 1] = 1.0L / i;
  g[0] = 1.0L;
  rho[0] = 1.0L;
  long double term = 0;
  for (int j = 2; j <= ki; ++j) {
    const long double psiPrevious = PSI[j - 2];
    const long double gamma = (hi + term) / psiPrevious;
    const long double eta = hi / psiPrevious;
    for (int i = 1; i <= ki + 1 - j; ++i) w[i - 1] = gamma * w[i - 1] - eta * w[i];
    g[j - 1] = w[0];
    rho[j - 1] = gamma * rho[j - 2];
    term = psiPrevious;
  }
  for (int l = 0; l < NEQN; ++l) {
    long double sumY = 0, sumYp = 0;
    for (int i = ki; i >= 1; --i) {
      sumY += g[i - 1] * PHI[l][i - 1];
      sumYp += rho[i - 1] * PHI[l][i - 1];
    }
    YOUT[l] = YY[l] + hi * sumY;
    YPOUT[l] = sumYp;
  }
}

// One step of the Adams method with order and step-size control, from X to
// X + H (H is the step tried; on success X and Y advance and H is the step
// proposed for the next call). EPS is the local error tolerance against the
// weights WT. CRASH is set when the step cannot be taken: the step would be
// below the resolution of X (H is then the smallest usable step) or EPS is
// too small for the precision (EPS is then raised to an acceptable value).
template <class Traits, class F>
void SolveODEStep(long double& X, long double* Y, F& f, std::int32_t NEQN, long double& H, long double& EPS,
                  const long double* WT, std::uint8_t& START, long double& HOLD, std::int32_t& K, std::int32_t& KOLD,
                  bool& CRASH, long double (&PHI)[Traits::kEquations][16], long double* P, long double* YP,
                  long double (&PSI)[12], long double (&ALPHA)[12], long double (&BETA)[12], long double (&SIG)[13],
                  long double (&V)[12], long double (&W)[12], long double (&G)[13], std::uint8_t& PHASE1,
                  std::int32_t& NS, std::uint8_t& NORND) {
  using ode_detail::Sign;
  constexpr long double kTwoU = Traits::kTwoU;
  constexpr long double kFourU = Traits::kFourU;
  // 1-based views of the published arrays.
  auto phi = [&PHI](int l, int i) -> long double& { return PHI[l - 1][i - 1]; };
  auto psi = [&PSI](int i) -> long double& { return PSI[i - 1]; };
  auto alpha = [&ALPHA](int i) -> long double& { return ALPHA[i - 1]; };
  auto beta = [&BETA](int i) -> long double& { return BETA[i - 1]; };
  auto sig = [&SIG](int i) -> long double& { return SIG[i - 1]; };
  auto v = [&V](int i) -> long double& { return V[i - 1]; };
  auto w = [&W](int i) -> long double& { return W[i - 1]; };
  auto g = [&G](int i) -> long double& { return G[i - 1]; };
  auto gstr = [](int i) { return kOdeGstr[i - 1]; };

  // Block 0: is the step possible at all; the first step.
  // The tests are written so that a value that is not a number counts as a
  // failure: a non-finite state or step ends in CRASH, never in a loop.
  CRASH = true;
  if (!(std::fabs(H) >= kFourU * std::fabs(X))) {
    H = Sign(kFourU * std::fabs(X), H);
    return;
  }
  const long double p5eps = 0.5L * EPS;
  long double round = 0;
  for (int l = 0; l < NEQN; ++l) round += (Y[l] / WT[l]) * (Y[l] / WT[l]);
  round = kTwoU * std::sqrt(round);
  if (!(p5eps >= round)) {
    EPS = 2.0L * round * (1.0L + kFourU);
    return;
  }
  CRASH = false;
  g(1) = 1.0L;
  g(2) = 0.5L;
  sig(1) = 1.0L;
  if (START != 0) {
    f(X, Y, YP);
    long double sum = 0;
    for (int l = 1; l <= NEQN; ++l) {
      phi(l, 1) = YP[l - 1];
      phi(l, 2) = 0;
      sum += (YP[l - 1] / WT[l - 1]) * (YP[l - 1] / WT[l - 1]);
    }
    sum = std::sqrt(sum);
    long double absh = std::fabs(H);
    if (EPS < 16.0L * sum * H * H) absh = 0.25L * std::sqrt(EPS / sum);
    H = Sign(std::fmax(absh, kFourU * std::fabs(X)), H);
    HOLD = 0;
    K = 1;
    KOLD = 0;
    START = 0;
    PHASE1 = 1;
    NORND = 1;
    if (p5eps <= 100.0L * round) {
      NORND = 0;
      for (int l = 1; l <= NEQN; ++l) phi(l, 15) = 0;
    }
  }
  int ifail = 0;

  long double xold = X, absh = 0, erk = 0, erkm1 = 0, erkm2 = 0;
  int knew = K;
  for (;;) {
    // Block 1: coefficients for the current order and step size; only those
    // that changed since the step size last changed are recomputed.
    const int kp1 = K + 1, kp2 = K + 2, km1 = K - 1, km2 = K - 2;
    if (H != HOLD) NS = 0;
    if (NS <= KOLD) NS = NS + 1;
    const int nsp1 = NS + 1;
    if (K >= NS) {
      beta(NS) = 1.0L;
      alpha(NS) = 1.0L / NS;
      long double temp1 = H * NS;
      sig(nsp1) = 1.0L;
      for (int i = nsp1; i <= K; ++i) {
        const long double temp2 = psi(i - 1);
        psi(i - 1) = temp1;
        beta(i) = beta(i - 1) * psi(i - 1) / temp2;
        temp1 = temp2 + H;
        alpha(i) = H / temp1;
        sig(i + 1) = i * alpha(i) * sig(i);
      }
      psi(K) = temp1;
      if (NS <= 1) {
        for (int iq = 1; iq <= K; ++iq) {
          v(iq) = 1.0L / (iq * (iq + 1));
          w(iq) = v(iq);
        }
      } else {
        if (K > KOLD) {
          // The order was raised: the new diagonal entry of V.
          v(K) = 1.0L / (K * kp1);
          for (int j = 1; j <= NS - 2; ++j) {
            const int i = K - j;
            v(i) = v(i) - alpha(j + 1) * v(i + 1);
          }
        }
        const long double temp5 = alpha(NS);
        for (int iq = 1; iq <= kp1 - NS; ++iq) {
          v(iq) = v(iq) - temp5 * v(iq + 1);
          w(iq) = v(iq);
        }
        g(nsp1) = w(1);
      }
      for (int i = NS + 2; i <= kp1; ++i) {
        const long double temp6 = alpha(i - 1);
        for (int iq = 1; iq <= kp2 - i; ++iq) w(iq) = w(iq) - temp6 * w(iq + 1);
        g(i) = w(1);
      }
    }

    // Block 2: predict, evaluate, estimate the local errors.
    for (int i = nsp1; i <= K; ++i) {
      const long double b = beta(i);
      for (int l = 1; l <= NEQN; ++l) phi(l, i) = b * phi(l, i);
    }
    for (int l = 1; l <= NEQN; ++l) {
      phi(l, kp2) = phi(l, kp1);
      phi(l, kp1) = 0;
      P[l - 1] = 0;
    }
    for (int j = 1; j <= K; ++j) {
      const int i = kp1 - j;
      const long double gi = g(i);
      for (int l = 1; l <= NEQN; ++l) {
        P[l - 1] += gi * phi(l, i);
        phi(l, i) += phi(l, i + 1);
      }
    }
    if (NORND == 0) {
      for (int l = 1; l <= NEQN; ++l) {
        const long double tau = H * P[l - 1] - phi(l, 15);
        P[l - 1] = Y[l - 1] + tau;
        phi(l, 16) = (P[l - 1] - Y[l - 1]) - tau;
      }
    } else {
      for (int l = 0; l < NEQN; ++l) P[l] = Y[l] + H * P[l];
    }
    xold = X;
    X = X + H;
    absh = std::fabs(H);
    f(X, P, YP);

    erkm2 = 0;
    erkm1 = 0;
    erk = 0;
    for (int l = 1; l <= NEQN; ++l) {
      const long double weight = 1.0L / WT[l - 1];
      const long double d = YP[l - 1] - phi(l, 1);
      if (km2 > 0) erkm2 += ((phi(l, km1) + d) * weight) * ((phi(l, km1) + d) * weight);
      if (km2 >= 0) erkm1 += ((phi(l, K) + d) * weight) * ((phi(l, K) + d) * weight);
      erk += (d * weight) * (d * weight);
    }
    if (km2 > 0) erkm2 = absh * sig(km1) * gstr(km2) * std::sqrt(erkm2);
    if (km2 >= 0) erkm1 = absh * sig(K) * gstr(km1) * std::sqrt(erkm1);
    const long double temp5 = absh * std::sqrt(erk);
    const long double err = temp5 * (g(K) - g(kp1));
    erk = temp5 * sig(kp1) * gstr(K);
    knew = K;
    if (km2 > 0) {
      if (std::fmax(erkm1, erkm2) <= erk) knew = km1;
    } else if (km2 == 0) {
      if (erkm1 <= 0.5L * erk) knew = km1;
    }
    if (err <= EPS) break;

    // Block 3: the step failed. Restore X, PHI and PSI; halve the step; from
    // the third failure on take order 1 and, later, the optimal step.
    PHASE1 = 0;
    X = xold;
    for (int i = 1; i <= K; ++i) {
      const long double inverse = 1.0L / beta(i);
      for (int l = 1; l <= NEQN; ++l) phi(l, i) = inverse * (phi(l, i) - phi(l, i + 1));
    }
    for (int i = 2; i <= K; ++i) psi(i - 1) = psi(i) - H;
    ++ifail;
    long double factor = 0.5L;
    if (ifail > 3 && p5eps < 0.25L * erk) factor = std::sqrt(p5eps / erk);
    if (ifail >= 3) knew = 1;
    H = factor * H;
    K = knew;
    if (!(std::fabs(H) >= kFourU * std::fabs(X))) {
      CRASH = true;
      H = Sign(kFourU * std::fabs(X), H);
      EPS = EPS + EPS;
      return;
    }
  }

  // Block 4: the step succeeded. Correct, evaluate, update the differences,
  // choose the order and the step for the next step.
  const int kp1 = K + 1, kp2 = K + 2, km1 = K - 1;
  KOLD = K;
  HOLD = H;
  const long double hg = H * g(kp1);
  if (NORND == 0) {
    for (int l = 1; l <= NEQN; ++l) {
      const long double rho = hg * (YP[l - 1] - phi(l, 1)) - phi(l, 16);
      Y[l - 1] = P[l - 1] + rho;
      phi(l, 15) = (Y[l - 1] - P[l - 1]) - rho;
    }
  } else {
    for (int l = 1; l <= NEQN; ++l) Y[l - 1] = P[l - 1] + hg * (YP[l - 1] - phi(l, 1));
  }
  f(X, Y, YP);
  for (int l = 1; l <= NEQN; ++l) {
    phi(l, kp1) = YP[l - 1] - phi(l, 1);
    phi(l, kp2) = phi(l, kp1) - phi(l, kp2);
  }
  for (int i = 1; i <= K; ++i)
    for (int l = 1; l <= NEQN; ++l) phi(l, i) += phi(l, kp1);

  long double erkp1 = 0;
  if (knew == km1 || K == kOdeMaxOrder) PHASE1 = 0;
  enum class OrderChange { Raise, Lower, Keep };
  OrderChange change = OrderChange::Keep;
  if (PHASE1 != 0) {
    change = OrderChange::Raise;
  } else if (knew == km1) {
    change = OrderChange::Lower;
  } else if (kp1 <= NS) {
    for (int l = 1; l <= NEQN; ++l) erkp1 += (phi(l, kp2) / WT[l - 1]) * (phi(l, kp2) / WT[l - 1]);
    erkp1 = absh * gstr(kp1) * std::sqrt(erkp1);
    if (K == 1) {
      if (erkp1 < 0.5L * erk) change = OrderChange::Raise;
    } else if (erkm1 <= std::fmin(erk, erkp1)) {
      change = OrderChange::Lower;
    } else if (erkp1 < erk && K != kOdeMaxOrder) {
      change = OrderChange::Raise;
    }
  }
  if (change == OrderChange::Raise) {
    K = kp1;
    erk = erkp1;
  } else if (change == OrderChange::Lower) {
    K = km1;
    erk = erkm1;
  }

  long double hnew = H + H;
  if (PHASE1 == 0 && p5eps < erk * kOdeTwo[K]) {
    hnew = H;
    if (p5eps < erk) {
      const long double r = std::pow(p5eps / erk, 1.0L / (K + 1));
      hnew = absh * std::fmax(0.5L, std::fmin(0.9L, r));
      hnew = Sign(std::fmax(hnew, kFourU * std::fabs(X)), H);
    }
  }
  H = hnew;
}

// Integrates from T to TOUT (see the return codes at the top). Y holds the
// state at T on entry and at the returned T on return; RELERR and ABSERR are
// the relative and absolute local error tolerances (raised in place with
// code 3); IFLAG 1 starts an integration, 2..5 with T unchanged continue it;
// a negative IFLAG forbids stepping past TOUT.
template <class Traits, class F, class Pump>
void SolveODE(F& f, std::int32_t NEQN, long double* Y, typename Traits::Time& T, typename Traits::Time& TOUT,
              long double& RELERR, long double& ABSERR, std::int32_t& IFLAG, TODEWorkspace<Traits::kEquations>& ws,
              Pump& pump) {
  using ode_detail::Sign;
  constexpr long double kFourU = Traits::kFourU;
  const std::int32_t entryFlag = IFLAG;
  const std::int32_t isn = IFLAG < 0 ? -1 : 1;
  IFLAG = IFLAG < 0 ? -IFLAG : IFLAG;
  long double eps = std::fmax(RELERR, ABSERR);
  if (NEQN < 1 || NEQN > Traits::kEquations || T == TOUT || RELERR < 0 || ABSERR < 0 || !(eps > 0) || IFLAG == 0 ||
      IFLAG > 5 || (IFLAG != 1 && static_cast<long double>(T) != ws.TOLD)) {
    IFLAG = 6;
    return;
  }

  const long double t = T;
  const long double tout = TOUT;
  const long double del = tout - t;
  const long double absdel = std::fabs(del);
  const long double tend = isn < 0 ? tout : t + 10.0L * del;
  int nostep = 0;
  int kle4 = 0;
  bool stiff = false;
  const long double releps = RELERR / eps;
  const long double abseps = ABSERR / eps;

  if (IFLAG == 1 || ws.ISNOLD < 0 || !(ws.DELSGN * del > 0)) {
    ws.START = 1;
    ws.X = t;
    for (int l = 0; l < NEQN; ++l) ws.YY[l] = Y[l];
    ws.DELSGN = Sign(1.0L, del);
    ws.H = Sign(std::fmax(std::fabs(tout - ws.X), kFourU * std::fabs(ws.X)), tout - ws.X);
  }

  // Every return with a result: the code, the new T (TOUT exactly when it
  // was reached) and what the next call checks against.
  auto finishAt = [&](typename Traits::Time newT, std::int32_t flag, std::int32_t isnold) {
    IFLAG = flag;
    T = newT;
    ws.TOLD = T;
    ws.ISNOLD = isnold;
  };

  for (;;) {
    // Past the output point: interpolate.
    if (std::fabs(ws.X - t) >= absdel) {
      SolveODEInterpolate<Traits::kEquations>(ws.X, ws.YY, tout, Y, ws.YPOUT, NEQN, ws.KOLD, ws.PHI, ws.PSI);
      finishAt(TOUT, 2, isn);
      return;
    }
    // May not pass TOUT and close enough: one Euler extrapolation.
    if (isn < 0 && std::fabs(tout - ws.X) < kFourU * std::fabs(ws.X)) {
      ws.H = tout - ws.X;
      f(ws.X, ws.YY, ws.YP);
      for (int l = 0; l < NEQN; ++l) Y[l] = ws.YY[l] + ws.H * ws.YP[l];
      finishAt(TOUT, 2, isn);
      return;
    }
    if (nostep >= kOdeMaxSteps) {
      for (int l = 0; l < NEQN; ++l) Y[l] = ws.YY[l];
      finishAt(static_cast<typename Traits::Time>(ws.X), isn * (stiff ? 5 : 4), 1);
      return;
    }
    const OdePumpState before{nostep, ws.X, t, tout};
    const OdePumpAction beforeAction = pump.BeforeStep(before);
    if (beforeAction == OdePumpAction::ReturnUnchanged) {
      IFLAG = entryFlag;
      return;
    }
    if (beforeAction == OdePumpAction::Abort) {
      IFLAG = 7;
      return;
    }

    ws.H = Sign(std::fmin(std::fabs(ws.H), std::fabs(tend - ws.X)), ws.H);
    for (int l = 0; l < NEQN; ++l) ws.WT[l] = releps * std::fabs(ws.YY[l]) + abseps;
    bool crash = false;
    SolveODEStep<Traits>(ws.X, ws.YY, f, NEQN, ws.H, eps, ws.WT, ws.START, ws.HOLD, ws.K, ws.KOLD, crash, ws.PHI, ws.P,
                         ws.YP, ws.PSI, ws.ALPHA, ws.BETA, ws.SIG, ws.V, ws.W, ws.G, ws.PHASE1, ws.NS, ws.NORND);
    if (crash) {
      RELERR = eps * releps;
      ABSERR = eps * abseps;
      for (int l = 0; l < NEQN; ++l) Y[l] = ws.YY[l];
      finishAt(static_cast<typename Traits::Time>(ws.X), isn * 3, 1);
      return;
    }
    ++nostep;
    ++kle4;
    if (ws.KOLD > 4) kle4 = 0;
    if (kle4 >= kOdeStiffSteps) stiff = true;

    const OdePumpState after{nostep, ws.X, t, tout};
    const OdePumpAction afterAction = pump.AfterStep(after);
    if (afterAction == OdePumpAction::Abort) {
      IFLAG = 7;
      return;
    }
    if (afterAction == OdePumpAction::ReturnUnchanged) {
      IFLAG = entryFlag;
      return;
    }
  }
}

}  // namespace kvx
