// Analyses one built-in data set (13 readings of one probe) in a workbook held
// in memory and prints its figures: a quick look at the whole computation.

#include <cstdio>
#include <memory>

#include "estimate/Fit.h"
#include "intake/Trimming.h"
#include "report/Standardise.h"
#include "workbook/Book.h"
#include "workbook/MemoryWorkbook.h"

int main() {
  using namespace vk;
  const float times[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const float conc[] = {0.53f, 2.14f, 3.49f, 4.41f, 5.25f, 5.87f, 6.3f, 6.75f, 6.97f, 7.17f, 7.4f, 7.52f, 7.61f};
  try {
    Module1 m;
    m.Engine = std::make_shared<MemoryEngine>();
    m.WorkbookPath = m.WorkbookName = "demo.xlsx";
    OpenBook(m);
    m.NumSets = Integer(1);
    m.NumPoints = Integer(13);
    for (auto* a : {&m.Conc, &m.Times, &m.ConcRaw, &m.TimesRaw, &m.ConcFit, &m.Resid}) a->redim(1, 13);
    for (int p = 1; p <= 13; ++p) {
      m.ConcRaw(1, p) = conc[p - 1];
      m.TimesRaw(1, p) = times[p - 1];
    }
    RestoreData(m);
    m.StartPercent = 10;
    TrimWork work;
    FitLocals fit;
    SelectFitWindow(m, work, 1);
    StartEstimates(m, work, 1);
    StartFit(m, fit, 1);
    bool converged = FitDataSet(m, fit, 1);
    StandardFigures f = Standardise({15.0f, 29.5f, 1000.0f, 50.0f}, m.Cinf[1], m.KLa[1], 1);

    std::printf("Data set 1: %d readings kept, %s after %d passes\n", int(m.NumKept[1].asInteger()),
                converged ? "converged" : "not converged", int(fit.PassCount[1]));
    std::printf("  C-infinity %.5g mg/L, C0 %.5g mg/L, KLa %.5g per minute, standard error %.5g\n",
                m.Cinf[1], m.C0[1], m.KLa[1], fit.StdErr[1].asDouble());
    std::printf("At 15 degrees C, 29.5 inHg, 1000 cubic feet, 50 scfm:\n");
    std::printf("  KLa20 %.5g per hour, C-infinity standard %.5g mg/L, SOTR %.5g lb/h, SOTE %.5g %%, "
                "saturation depth %.5g ft\n",
                f.KLa20, f.CinfStd, f.SOTR.asDouble(), f.SOTE.asDouble(), f.SatDepth);
  } catch (const Fault& fault) {
    std::fprintf(stderr, "%s\n", fault.what());
    return 1;
  }
  return 0;
}
