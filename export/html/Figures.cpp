#include "export/html/Figures.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "assess/Curve.h"
#include "export/html/Text.h"
#include "plot/Numbers.h"

namespace vk::exporter::html {
namespace {

using namespace vk::assess;

std::string probeName(const SetRecord& s) { return "Probe " + std::to_string(s.set); }

CurveParams programCurve(const SetRecord& s) { return {s.fit.c0, s.fit.cinf, s.fit.kla}; }

}  // namespace

plot::Figure doFigure(const SetRecord& s) {
  plot::Figure fig{probeName(s) + ": DO against time", {720, 270}};
  fig.xAxis("Time", "min", "t");
  fig.yAxis("DO", "mg/L");
  // The Run keeps the readings from the first above its threshold to the last.
  const std::size_t n = s.raw.size(), firstKept = n - std::min(n, s.kept.size());
  std::vector<bool> kept(n);
  for (std::size_t i = firstKept; i < n; ++i) kept[i] = true;
  fig.add(plot::Points{.label = firstKept > 0 ? "Reading not kept" : "",
                       .x = s.raw.times,
                       .y = s.raw.conc,
                       .highlighted = kept,
                       .highlightLabel = "Reading kept for the fit"});
  if (s.kept.size() >= 2) {
    const CurveParams p = programCurve(s);
    const double shift = s.timeShift;
    fig.add(plot::sampled(
        "Fitted curve (the program's result)", [&](double t) { return curveAt(p, t - shift); }, shift,
        shift + s.kept.times.back()));
  }
  return fig;
}

plot::Figure residualFigure(const SetRecord& s) {
  plot::Figure fig{probeName(s) + ": residuals", {720, 170}};
  fig.xAxis("Time", "min", "t");
  fig.yAxis("Residual", "mg/L", "r");
  const CurveParams p = programCurve(s);
  plot::Points residuals{.label = "Kept reading minus fitted curve"};
  for (std::size_t i = 0; i < s.kept.size(); ++i) {
    residuals.x.push_back(s.kept.times[i] + s.timeShift);
    residuals.y.push_back(s.kept.conc[i] - curveAt(p, s.kept.times[i]));
  }
  fig.add(plot::ReferenceLine{});
  fig.add(std::move(residuals));
  return fig;
}

plot::Figure sensitivityFigure(const RunRecord& record, const Assessment& assessment, Standardised which) {
  const bool kla = which == Standardised::KLa20;
  const std::string name = kla ? "KLa20" : "C∞20", unit = kla ? "1/h" : "mg/L";
  plot::Figure fig{name + " against the start threshold", {720, 250}};
  fig.xAxis("Start threshold", "%");
  fig.yAxis(name, unit);
  for (std::size_t i = 0; i < assessment.sets.size() && i < record.sets.size(); ++i) {
    const std::string probe = probeName(record.sets[i]);
    plot::Points points{.highlightLabel = probe};
    for (const TruncationPoint& t : assessment.sets[i].truncation.points) {
      if (!t.fit) continue;
      const double value = kla ? t.fit->kla20 : t.fit->cinf20;
      points.x.push_back(t.thresholdPercent);
      points.y.push_back(value);
      points.titles.push_back(probe + ", start threshold " + plot::significant(t.thresholdPercent, 3) + " %: " + name +
                              " = " + plot::significant(value, 6) + " " + unit + ", " + std::to_string(t.kept) +
                              " readings kept");
    }
    points.highlighted.assign(points.x.size(), true);
    fig.add(std::move(points));
  }
  return fig;
}

void writeFigure(std::ostream& out, const plot::Figure& figure, std::string_view kind, std::string_view noun) {
  out << "<figure data-plot=\"" << kind << "\">\n" << figure.svg() << "\n";
  for (const plot::Thinned& t : figure.thinned())
    out << "<figcaption>" << esc(plot::thinningNote(t, noun)) << "; the fit statistics use every reading."
        << "</figcaption>\n";
  out << "</figure>\n";
}

}  // namespace vk::exporter::html
