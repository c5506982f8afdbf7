// A campaign's rows and its performance curve: which workbooks are points,
// which lie off the curve, and when the workbooks may not be one campaign.

#include <gtest/gtest.h>

#include <cmath>

#include "campaign/PerformanceCurve.h"

namespace vk::campaign {
namespace {

using assess::Maybe;

// An analysed workbook on the curve SOTE = 40·Q^-0.15, SOTR = 0.01036·SOTE·Q.
CampaignRow onCurve(const std::string& name, double scfm, double factor = 1, double waterTempC = 16,
                    double depthFt = 5) {
  CampaignRow row;
  row.name = name;
  row.waterTempC = waterTempC;
  row.airFlowScfm = scfm;
  const double sote = scfm > 0 ? 40 * std::pow(scfm, -0.15) * factor : 0;
  if (scfm > 0)
    row.sote = RowFigure{sote, assess::Interval{sote - 1, sote + 1}};
  else
    row.sote = Maybe<RowFigure>::none("no air flow is given");
  row.sotr = RowFigure{scfm > 0 ? 0.01036 * sote * scfm : 40, Maybe<assess::Interval>::none("one probe")};
  row.satDepthFt = depthFt;
  return row;
}

TEST(PerformanceCurve, OnlyAnalysedWorkbooksWithAnAirFlowAreItsPoints) {
  const std::vector<CampaignRow> rows = {onCurve("a", 100), faultedRow("b", "Workbook error: no sheets"),
                                         onCurve("c", 0), onCurve("d", 200), onCurve("e", 300)};
  const CampaignCurves curves = performanceCurves(rows);
  EXPECT_EQ(curves.sote.rows, (std::vector<std::size_t>{0, 3, 4}));
  EXPECT_EQ(curves.sotr.rows, (std::vector<std::size_t>{0, 3, 4}));
  EXPECT_EQ(curves.sote.q, (std::vector<double>{100, 200, 300}));
  ASSERT_TRUE(curves.sote.fit) << curves.sote.fit.reason;
  EXPECT_NEAR(curves.sote.fit->b, -0.15, 1e-9);
  ASSERT_TRUE(curves.sotr.fit);
  EXPECT_NEAR(curves.sotr.fit->b, 0.85, 1e-9);
  EXPECT_EQ(curves.offCurve, std::vector<bool>(5, false));
  EXPECT_TRUE(curves.warnings.empty());

  // Two distinct air flows, whatever the number of workbooks: no curve.
  const CampaignCurves two = performanceCurves({onCurve("a", 100), onCurve("b", 200), onCurve("c", 200, 1.02)});
  EXPECT_FALSE(two.sote.fit);
  EXPECT_FALSE(two.sotr.fit);
  EXPECT_EQ(two.sote.rows.size(), 3u);
}

// With eight points the residual SD is small enough for one to stand out;
// exact points beside it are never named for their rounding.
TEST(PerformanceCurve, AWorkbookFarOffTheSoteCurveIsNamed) {
  std::vector<CampaignRow> rows;
  for (double q : {80, 120, 160, 200, 240, 280, 320, 360}) rows.push_back(onCurve(std::to_string(int(q)), q));
  EXPECT_EQ(performanceCurves(rows).offCurve, std::vector<bool>(8, false));
  rows[5] = onCurve("off", 280, 1.3);
  const CampaignCurves curves = performanceCurves(rows);
  std::vector<bool> expected(8, false);
  expected[5] = true;
  EXPECT_EQ(curves.offCurve, expected);
  const PowerLawFit& fit = *curves.sote.fit;
  EXPECT_GT(std::fabs(fit.residuals[5]), kOffCurveResidualSds * fit.residualSd);
}

TEST(PerformanceCurve, WorkbooksOfDifferentWaterOrDepthMayNotBeOneCampaign) {
  auto warnings = [](std::vector<CampaignRow> rows) { return performanceCurves(rows).warnings; };
  EXPECT_TRUE(warnings({onCurve("a", 100, 1, 12), onCurve("b", 200, 1, 17), onCurve("c", 300, 1, 14)}).empty());
  const auto warm = warnings({onCurve("a", 100, 1, 12), onCurve("b", 200, 1, 17.5), onCurve("c", 300, 1, 14)});
  ASSERT_EQ(warm.size(), 1u);
  EXPECT_EQ(warm[0],
            "The water temperatures differ by 5.5 °C (12 °C in a, 17.5 °C in b), more than 5 °C: the workbooks may not "
            "belong to one campaign.");

  EXPECT_TRUE(warnings({onCurve("a", 100, 1, 16, 5), onCurve("b", 200, 1, 16, 5.5)}).empty());
  const auto deep = warnings({onCurve("a", 100, 1, 16, 5.6), onCurve("b", 200, 1, 16, 5), onCurve("c", 300)});
  ASSERT_EQ(deep.size(), 1u);
  EXPECT_NE(deep[0].find("effective saturation depths differ by 12 % (5 ft in b, 5.6 ft in a)"), std::string::npos)
      << deep[0];
  // A workbook without an air flow is not on the curve, so it does not count.
  EXPECT_TRUE(warnings({onCurve("a", 100), onCurve("b", 200), onCurve("c", 0, 1, 30, 9)}).empty());
}

TEST(CampaignRow, SsoteIsSotePerFootOfSubmergenceAndNeverPerSaturationDepth) {
  assess::RunRecord record;
  record.conditions = {16.2, 29.7, 12000, 250};
  record.averages.kla20 = 8.5;
  record.averages.cinf20 = 10.5;
  record.averages.sotr = 70;
  record.averages.sote = 29;
  record.averages.satDepthFt = 5.2;
  assess::Assessment assessment;
  assessment.spread.sote = assess::SpreadStats{4, 29, 1, 3.4, {27.5, 30.5}};
  assessment.spread.kla20 = Maybe<assess::SpreadStats>::none("one probe");

  const CampaignRow row = analysedRow("run.xlsx", record, assessment, 14.5);
  EXPECT_EQ(row.airFlowScfm, 250);
  ASSERT_TRUE(row.kla20);
  EXPECT_EQ(row.kla20->value, 8.5);
  EXPECT_EQ(row.kla20->ci95.reason, "one probe");
  ASSERT_TRUE(row.ssotePerFt);
  EXPECT_DOUBLE_EQ(row.ssotePerFt->value, 2);
  EXPECT_DOUBLE_EQ(row.ssotePerFt->ci95->low, 27.5 / 14.5);
  EXPECT_DOUBLE_EQ(perMetre(*row.ssotePerFt).value, 29 / (14.5 * 0.3048));
  EXPECT_EQ(row.worst, assess::Verdict::Pass);

  EXPECT_EQ(analysedRow("run.xlsx", record, assessment, std::nullopt).ssotePerFt.reason,
            "the workbook gives no diffuser submergence");
  record.conditions.airFlowScfm = 0;
  record.averages.sote.reset();
  const CampaignRow still = analysedRow("still.xlsx", record, assessment, 14.5);
  EXPECT_FALSE(still.hasAirFlow());
  EXPECT_EQ(still.ssotePerFt.reason, "no air flow is given");
  EXPECT_FALSE(faultedRow("bad.xlsx", "Workbook error: x").analysed());
}

}  // namespace
}  // namespace vk::campaign
