#include "export/CampaignCsv.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>

#include "assess/CheckTable.h"
#include "assess/Units.h"
#include "export/CsvCells.h"

namespace vk::exporter {

namespace {

using namespace vk::campaign;
using assess::Maybe;
using assess::units::Dimension;

std::string cell(double v) { return numberCell(v); }

// The value and its interval: three cells.
std::string figureCells(const Maybe<RowFigure>& f, double scale = 1) {
  if (!f) return ",,";
  if (!f->ci95) return cell(f->value * scale) + ",,";
  return cell(f->value * scale) + "," + cell(f->ci95->low * scale) + "," + cell(f->ci95->high * scale);
}

const char* const kHeadings =
    "workbook,fault,water_temperature_c,air_flow_scfm,air_flow_m3_per_h,"
    "kla20_per_h,kla20_ci95_low,kla20_ci95_high,cinf20_mg_per_l,cinf20_ci95_low,cinf20_ci95_high,"
    "sotr_lb_o2_per_h,sotr_ci95_low_lb_o2_per_h,sotr_ci95_high_lb_o2_per_h,"
    "sotr_kg_o2_per_h,sotr_ci95_low_kg_o2_per_h,sotr_ci95_high_kg_o2_per_h,"
    "sote_percent,sote_ci95_low,sote_ci95_high,saturation_depth_ft,diffuser_submergence_ft,"
    "ssote_percent_per_ft,ssote_ci95_low_percent_per_ft,ssote_ci95_high_percent_per_ft,"
    "ssote_percent_per_m,ssote_ci95_low_percent_per_m,ssote_ci95_high_percent_per_m,"
    "checks_worst_verdict,sote_off_curve";
const std::size_t kColumns = std::size_t(std::count(kHeadings, kHeadings + std::strlen(kHeadings), ',')) + 1;

}  // namespace

void writeCampaignCsv(std::ostream& out, const std::vector<CampaignRow>& rows, const CampaignCurves& curves) {
  out << kHeadings << '\n';
  const double kgPerLb = assess::units::toSi(Dimension::MassRate, 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CampaignRow& r = rows[i];
    std::string line = textCell(r.name) + "," + textCell(r.fault) + ",";
    if (!r.analysed()) {
      out << line << std::string(kColumns - 3, ',') << '\n';  // the figures' cells, empty
      continue;
    }
    const Maybe<RowFigure> perMetreFigure =
        r.ssotePerFt ? Maybe<RowFigure>(perMetre(*r.ssotePerFt)) : Maybe<RowFigure>::none(r.ssotePerFt.reason);
    line += cell(r.waterTempC) + ",";
    line += r.hasAirFlow()
                ? cell(r.airFlowScfm) + "," + cell(assess::units::toSi(Dimension::AirFlow, r.airFlowScfm)) + ","
                : ",,";
    line += figureCells(r.kla20) + "," + figureCells(r.cinf20) + "," + figureCells(r.sotr) + "," +
            figureCells(r.sotr, kgPerLb) + "," + figureCells(r.sote) + ",";
    line += (r.satDepthFt ? cell(*r.satDepthFt) : "") + "," + (r.submergenceFt ? cell(*r.submergenceFt) : "") + ",";
    line += figureCells(r.ssotePerFt) + "," + figureCells(perMetreFigure) + ",";
    line += std::string(assess::verdictName(r.worst)) + "," + (curves.offCurve[i] ? "yes" : "no");
    out << line << '\n';
  }
}

}  // namespace vk::exporter
