#include "estimate/Fit.h"

#include <cmath>

#include "module1/Single.h"

// Stop tests, in this order after every pass p, with the tolerances and the
// limit of FitOptions (the program's values in brackets):
//   (1) |dCinf / CinfTry| < stepTolerance and |dC0 / C0Try| < stepTolerance
//       and |dKLa / KLaTry| < stepTolerance  (1e-5)      -> converged
//       Each ratio is tested in turn; the first that fails sends the pass
//       to (2).
//   (2) |(SumSq - SumSqTry) / SumSqTry| <= sumSqTolerance  (1e-6)
//                                                         -> converged
//       (skipped when SumSqTry is 0: an exact fit is adopted instead)
//   (3) p >= maxPasses  (11)                              -> stopped, not converged
// Otherwise the trial estimates are adopted and the next pass starts. On
// convergence the trial of the converging pass is not adopted.
//
// Precision is part of the result: the readings, estimates, model values,
// residuals and the A-sums are 32-bit floats (each A-sum rounded after every
// addition, each squared residual rounded before it is added); exponentials,
// derivatives, B-sums, the trial sum of squares and the steps are doubles.

namespace vk {

namespace {

// The model at one reading, stored as a 32-bit float, and its residual.
struct Evaluation {
  float fit;
  float resid;
};

inline Evaluation evaluate(double cinf, double c0, double decay, float conc, const Where& where) {
  const float fit = toSingle(cinf - (cinf - c0) * decay, where);
  const float resid = toSingle(double(conc) - double(fit), where);
  return {fit, resid};
}

inline float addSingle(float sum, double term, const Where& where) { return toSingle(double(sum) + term, where); }

// A fit that fails numerically says what the user can do about it: most often
// an outlier, or early readings the curve cannot follow. Other faults (of
// whoever listens to the passes) pass as they are. Called from the handler.
[[noreturn]] void failedFit(const Fault& fault, int set) {
  const FaultKind kind = fault.kind();
  if (kind != FaultKind::DivisionByZero && kind != FaultKind::InvalidOperation && kind != FaultKind::Overflow) throw;
  const std::string n = std::to_string(set);
  throw Fault(fault.kind(),
              fault.text() + ". The fit of data set " + n + " cannot go on: check the readings of data set " + n +
                  " for a wrong value, or raise its start threshold so that the fit begins later on the curve",
              fault.detail());
}

void startFit(Module1& m, FitLocals& fit, int set) {
  const int n = m.NumKept[set].asInteger();
  fit.PassCount[set] = Integer(0);
  Variant sumSq = Integer(0);
  const double cinf = m.Cinf[set], c0 = m.C0[set], kla = m.KLa[set];
  for (int j = 1; j <= n; ++j) {
    const Where where{"the starting estimates", set, 0, j};
    const double decay = checkedExp(-kla * double(m.Times(set, j)), where);
    const Evaluation e = evaluate(cinf, c0, decay, m.Conc(set, j), where);
    m.ConcFit(set, j) = e.fit;
    m.Resid(set, j) = e.resid;
    sumSq += Variant::single(toSingle(double(e.resid) * double(e.resid), where));
  }
  m.SumSq[set] = sumSq;
}

FitSummary fitDataSet(Module1& m, FitLocals& fit, int set, const FitOptions& options, const FitCallbacks& callbacks) {
  const int n = m.NumKept[set].asInteger();
  FitSummary summary;
  summary.initialSumSq = m.SumSq[set].asDouble();
  auto stop = [&](FitStop why) {
    summary.passes = fit.PassCount[set];
    summary.stop = why;
    summary.finalSumSq = m.SumSq[set].asDouble();
    return summary;
  };

  for (;;) {
    const Integer pass = fit.PassCount[set] += Integer(1);
    if (callbacks.passStarted) callbacks.passStarted(pass);

    const double cinf = m.Cinf[set], c0 = m.C0[set], kla = m.KLa[set];
    float a11 = 0, a12 = 0, a13 = 0, a22 = 0, a23 = 0, a33 = 0;
    double b1 = 0, b2 = 0, b3 = 0;
    for (int j = 1; j <= n; ++j) {
      const Where where{"the fit", set, pass, j};
      const double t = m.Times(set, j);
      const double decay = checkedExp(-kla * t, where);
      const double rise = 1.0 - decay;
      const double derivKLa = checkedDouble((cinf - c0) * decay * t, where);
      a11 = addSingle(a11, rise * rise, where);
      a12 = addSingle(a12, decay * rise, where);
      a13 = addSingle(a13, derivKLa * rise, where);
      a22 = addSingle(a22, decay * decay, where);
      a23 = addSingle(a23, derivKLa * decay, where);
      a33 = addSingle(a33, derivKLa * derivKLa, where);
      const Evaluation e = evaluate(cinf, c0, decay, m.Conc(set, j), where);
      m.ConcFit(set, j) = e.fit;
      m.Resid(set, j) = e.resid;
      b1 += rise * e.resid;
      b2 += decay * e.resid;
      b3 += derivKLa * e.resid;
    }

    // Normal equations, dCinf eliminated. P, R, S and the denominator are
    // rounded to 32-bit floats; Q, U, the numerator and the steps stay double.
    const Where where{"the Gauss-Newton step", set, pass};
    const float p = toSingle(double(a22) * a11 - double(a12) * a12, where);
    const double q = b3 * a11 - b1 * a13;
    const float r = toSingle(double(a23) * a11 - double(a13) * a12, where);
    const float s = toSingle(double(a11) * a33 - double(a13) * a13, where);
    const double u = b2 * a11 - b1 * a12;
    const float denominator = toSingle(double(s) * p - double(r) * r, where);
    const double dKLa = checkedDivide(q * p - u * r, denominator, where);
    const double dC0 = checkedDivide(u - dKLa * r, p, where);
    const double dCinf = checkedDivide(b1 - dC0 * a12 - dKLa * a13, a11, where);

    const float cinfTry = toSingle(cinf + dCinf, Where{"the trial C-infinity", set, pass});
    const float c0Try = toSingle(c0 + dC0, Where{"the trial C0", set, pass});
    const float klaTry = toSingle(kla + dKLa, Where{"the trial KLa", set, pass});

    double sumSqTry = 0;
    for (int j = 1; j <= n; ++j) {
      const Where trial{"the trial estimates", set, pass, j};
      const double decay = checkedExp(-double(klaTry) * double(m.Times(set, j)), trial);
      const Evaluation e = evaluate(cinfTry, c0Try, decay, m.Conc(set, j), trial);
      m.ConcFit(set, j) = e.fit;
      m.Resid(set, j) = e.resid;
      sumSqTry += toSingle(double(e.resid) * double(e.resid), trial);
    }
    sumSqTry = checkedDouble(sumSqTry, Where{"the trial sum of squares", set, pass});

    if (callbacks.passEnded) callbacks.passEnded(FitPass{pass, m.Cinf[set], m.C0[set], m.KLa[set], m.SumSq[set]});

    const Where test{"the convergence test", set, pass};
    const double tolerance = options.stepTolerance;
    const bool stepsSmall = std::fabs(checkedDivide(dCinf, cinfTry, test)) < tolerance &&
                            std::fabs(checkedDivide(dC0, c0Try, test)) < tolerance &&
                            std::fabs(checkedDivide(dKLa, klaTry, test)) < tolerance;
    // A trial that fits every reading exactly has no relative change of the
    // sum of squares; it is adopted, and the next pass's zero step converges.
    const bool sumSqSteady =
        !stepsSmall && sumSqTry != 0 &&
        std::fabs(checkedDivide(m.SumSq[set].asDouble() - sumSqTry, sumSqTry, test)) <= options.sumSqTolerance;
    if (stepsSmall || sumSqSteady) {
      // With three readings the fit has no residual degree of freedom: no
      // variance can be estimated, so both stay Empty.
      if (n > 3) {
        const double resVar = sumSqTry / double(n - 3);
        fit.ResVar[set] = Variant::dbl(resVar);
        fit.StdErr[set] = Variant::dbl(std::pow(resVar, 0.5));
      }
      return stop(stepsSmall ? FitStop::StepsSmall : FitStop::SumSqSteady);
    }
    if (pass >= options.maxPasses) return stop(FitStop::PassLimit);

    m.Cinf[set] = cinfTry;
    m.C0[set] = c0Try;
    m.KLa[set] = klaTry;
    m.SumSq[set] = Variant::dbl(sumSqTry);
  }
}

}  // namespace

void StartFit(Module1& m, FitLocals& fit, int set) {
  try {
    startFit(m, fit, set);
  } catch (const Fault& fault) {
    failedFit(fault, set);
  }
}

FitSummary FitDataSet(Module1& m, FitLocals& fit, int set, const FitOptions& options, const FitCallbacks& callbacks) {
  try {
    return fitDataSet(m, fit, set, options, callbacks);
  } catch (const Fault& fault) {
    failedFit(fault, set);
  }
}

}  // namespace vk
