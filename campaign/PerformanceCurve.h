#pragma once
// The performance curve of an aeration system: SOTE and SOTR against air
// flow, y = a·Q^b, one point per workbook with an air flow. Workbooks
// without one stay in the summary only. Before the curve, the signs that
// the workbooks may not belong to one campaign.

#include <cstddef>
#include <string>
#include <vector>

#include "campaign/CampaignRow.h"
#include "campaign/PowerLaw.h"

namespace vk::campaign {

// Beyond these the workbooks may not be one campaign: their water
// temperatures (°C), and their effective saturation depths (relative to
// the smallest).
inline constexpr double kSameCampaignTemperatureSpreadC = 5;
inline constexpr double kSameCampaignDepthSpreadPercent = 10;
// A workbook whose log SOTE lies further off the curve, in residual
// standard deviations, is named.
inline constexpr double kOffCurveResidualSds = 2;
// A log residual this small is rounding (a relative 1e-9), never a point off
// the curve, however small the residual standard deviation of exact data.
inline constexpr double kNegligibleLogResidual = 1e-9;

struct PerformanceCurve {
  std::vector<std::size_t> rows;  // the rows that are its points, in the summary's order
  std::vector<double> q;          // scfm, by point
  std::vector<double> y;          // the row's figure, by point
  assess::Maybe<PowerLawFit> fit;
};

struct CampaignCurves {
  PerformanceCurve sote;  // %
  PerformanceCurve sotr;  // lb O2/h
  // Per row: its log SOTE lies more than kOffCurveResidualSds off the SOTE
  // curve. Only points of a fitted curve can be off it.
  std::vector<bool> offCurve;
  // Said above the curve: why the workbooks may not belong to one campaign.
  std::vector<std::string> warnings;
};

CampaignCurves performanceCurves(const std::vector<CampaignRow>& rows);

}  // namespace vk::campaign
