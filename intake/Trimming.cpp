#include "intake/Trimming.h"

#include <cmath>

#include "module1/NumberText.h"
#include "module1/Single.h"

namespace vk {

void SelectFitWindow(Module1& m, TrimWork& work, int set) {
  const int points = m.NumPoints;
  work.StartLevel[set] =
      toSingle(double(m.StartPercent) / 100.0 * double(m.Conc(set, points)), Where{"the start level", set});

  int firstKept = points + 1;
  for (int p = 1; p <= points; ++p) {
    if (m.Conc(set, p) > work.StartLevel[set]) {
      firstKept = p;
      break;
    }
  }
  if (firstKept > points)
    raise(FaultKind::BadInput, Where{"", set},
          "no reading is above the start threshold of " + numberText(m.StartPercent) + " % of the last reading (" +
              numberText(work.StartLevel[set]) + " mg/L)");

  const Integer kept = Integer::checked(points - firstKept + 1, "the number of kept readings");
  m.NumKept[set] = kept;
  m.TimeShift[set] = m.Times(set, firstKept);
  for (int q = 1; q <= kept; ++q) {
    m.Conc(set, q) = m.Conc(set, firstKept - 1 + q);
    m.Times(set, q) = toSingle(double(m.Times(set, firstKept - 1 + q)) - double(m.TimeShift[set]),
                               Where{"the shifted time", set, 0, q});
  }
}

void StartEstimates(Module1& m, TrimWork& work, int set) {
  const int kept = m.NumKept[set].asInteger();

  float& peak = work.PeakConc[set];
  peak = m.Conc(set, kept);
  for (int r = 1; r <= kept - 1; ++r)
    if (m.Conc(set, r) >= peak) peak = m.Conc(set, r);
  peak = toSingle(double(peak) * 1.001, Where{"the starting C-infinity", set});
  m.Cinf[set] = peak;
  if (kept < 3)
    raise(FaultKind::BadInput, Where{"", set},
          "only " + std::to_string(kept) +
              " readings are above the start threshold; the starting estimates need at least three");

  // Regression over all retained readings but the last.
  const int nReg = kept - 1;
  float sumT = 0, sumT2 = 0, sumY = 0, sumTY = 0;
  for (int k = 1; k <= nReg; ++k) {
    const Where where{"the starting estimate of KLa", set, 0, k};
    const double deficit = double(peak) - double(m.Conc(set, k));
    if (!(deficit > 0))
      raise(FaultKind::InvalidOperation, where,
            "the reading is not below 1.001 times the largest reading, so ln(Cinf - C) is undefined");
    const float logDeficit = toSingle(std::log(deficit), where);
    const double t = m.Times(set, k);
    sumT = toSingle(double(sumT) + t, where);
    sumT2 = toSingle(double(sumT2) + t * t, where);
    sumY = toSingle(double(sumY) + double(logDeficit), where);
    sumTY = toSingle(double(sumTY) + t * double(logDeficit), where);
  }
  const Where where{"the starting estimate of KLa", set};
  const double denominator = double(nReg) * double(sumT2) - double(sumT) * double(sumT);
  if (denominator == 0)
    raise(FaultKind::DivisionByZero, where,
          "the readings used for the estimate all share one time, so no slope can be found");
  const double slope = (double(nReg) * double(sumTY) - double(sumY) * double(sumT)) / denominator;
  m.KLa[set] = toSingle(std::fabs(slope), where);
  m.C0[set] = m.Conc(set, 1);
}

void RestoreData(Module1& m) {
  m.Conc.copyFrom(m.ConcRaw, m.NumSets, m.NumPoints);
  m.Times.copyFrom(m.TimesRaw, m.NumSets, m.NumPoints);
}

}  // namespace vk
