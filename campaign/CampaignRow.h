#pragma once
// One workbook of a campaign as its summary shows it: the conditions, the
// program's averages with the 95 % interval of the mean between the probes,
// the checklist's worst verdict and, where the workbook gives the diffuser's
// submergence, SSOTE: the SOTE per unit of that submergence.

#include <optional>
#include <string>

#include "assess/Assessment.h"
#include "assess/RunRecord.h"

namespace vk::campaign {

// A figure of the whole test: the program's average of its probes, and the
// 95 % interval of the mean between them (not applicable with one probe).
struct RowFigure {
  double value = 0;
  assess::Maybe<assess::Interval> ci95;
};

struct CampaignRow {
  std::string name;
  std::string fault;  // why the workbook was not analysed; empty when it was

  double waterTempC = 0;
  double airFlowScfm = 0;            // 0: none given, so no SOTE and no place on the curve
  assess::Maybe<RowFigure> kla20;    // 1/h
  assess::Maybe<RowFigure> cinf20;   // mg/L
  assess::Maybe<RowFigure> sotr;     // lb O2/h
  assess::Maybe<RowFigure> sote;     // %
  assess::Maybe<double> satDepthFt;  // the program's average effective saturation depth
  std::optional<double> submergenceFt;
  assess::Maybe<RowFigure> ssotePerFt;  // SOTE / submergence, %/ft
  assess::Verdict worst = assess::Verdict::NotApplicable;

  bool analysed() const { return fault.empty(); }
  bool hasAirFlow() const { return analysed() && airFlowScfm > 0; }
};

// `submergenceFt`: the diffuser's submergence the workbook gives, in feet;
// never the effective saturation depth, which is another quantity.
CampaignRow analysedRow(std::string name, const assess::RunRecord& record, const assess::Assessment& assessment,
                        std::optional<double> submergenceFt);
CampaignRow faultedRow(std::string name, std::string fault);

// "%/m" from "%/ft": the same SOTE over the submergence in metres.
RowFigure perMetre(const RowFigure& perFoot);

}  // namespace vk::campaign
