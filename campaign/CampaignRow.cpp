#include "campaign/CampaignRow.h"

#include "assess/Units.h"

namespace vk::campaign {

using assess::Maybe;

namespace {

Maybe<RowFigure> figure(const std::optional<double>& average, const Maybe<assess::SpreadStats>& spread,
                        const char* whyNone) {
  if (!average) return Maybe<RowFigure>::none(whyNone);
  RowFigure f{*average, {}};
  f.ci95 = spread ? Maybe<assess::Interval>(spread->meanCi95) : Maybe<assess::Interval>::none(spread.reason);
  return f;
}

RowFigure scaled(const RowFigure& f, double by) {
  RowFigure s{f.value * by, f.ci95};
  if (f.ci95) s.ci95 = assess::Interval{f.ci95->low * by, f.ci95->high * by};
  return s;
}

Maybe<RowFigure> ssote(const Maybe<RowFigure>& sote, const std::optional<double>& submergenceFt) {
  if (!submergenceFt) return Maybe<RowFigure>::none("the workbook gives no diffuser submergence");
  if (!sote) return Maybe<RowFigure>::none(sote.reason);
  return scaled(*sote, 1 / *submergenceFt);
}

}  // namespace

CampaignRow analysedRow(std::string name, const assess::RunRecord& record, const assess::Assessment& assessment,
                        std::optional<double> submergenceFt) {
  const assess::ProgramAverages& avg = record.averages;
  const assess::ProbeSpread& spread = assessment.spread;
  const char* noAverage = "the program wrote no average";
  CampaignRow row;
  row.name = std::move(name);
  row.waterTempC = record.conditions.waterTempC;
  row.airFlowScfm = record.conditions.airFlowScfm;
  row.kla20 = figure(avg.kla20, spread.kla20, noAverage);
  row.cinf20 = figure(avg.cinf20, spread.cinf20, noAverage);
  row.sotr = figure(avg.sotr, spread.sotr, noAverage);
  row.sote = figure(avg.sote, spread.sote, row.airFlowScfm > 0 ? noAverage : "no air flow is given");
  row.satDepthFt = avg.satDepthFt ? Maybe<double>(*avg.satDepthFt) : Maybe<double>::none(noAverage);
  row.submergenceFt = submergenceFt;
  row.ssotePerFt = ssote(row.sote, submergenceFt);
  row.worst = assessment.worst();
  return row;
}

CampaignRow faultedRow(std::string name, std::string fault) {
  CampaignRow row;
  row.name = std::move(name);
  row.fault = std::move(fault);
  const std::string why = "not analysed";
  for (Maybe<RowFigure>* f : {&row.kla20, &row.cinf20, &row.sotr, &row.sote, &row.ssotePerFt})
    *f = Maybe<RowFigure>::none(why);
  row.satDepthFt = Maybe<double>::none(why);
  return row;
}

RowFigure perMetre(const RowFigure& perFoot) { return scaled(perFoot, 1 / assess::units::kMetresPerFoot); }

}  // namespace vk::campaign
