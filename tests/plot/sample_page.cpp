// Writes a page of sample plots, as the reports draw them, for the browser
// test and for a look by eye: DO against time with more readings than are
// drawn, residuals about zero, a campaign curve with intervals, and a
// sensitivity plot. Usage: plot-sample-page OUTPUT.html

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "plot/Figure.h"

namespace {

using namespace vk::plot;

// Reproducible "noise" without a random generator.
double wobble(std::size_t i) { return 0.04 * std::sin(double(i) * 12.9898) + 0.02 * std::sin(double(i) * 0.37); }

double reaeration(double t) { return 9.1 - 8.6 * std::exp(-0.11 * t); }

std::string figure(const Figure& fig, const std::string& note) {
  std::string html = "<figure>\n" + fig.svg() + "\n";
  if (!note.empty()) html += "<figcaption>" + note + "</figcaption>\n";
  return html + "</figure>\n";
}

std::string thinnedNote(const Figure& fig) {
  std::string note;
  for (const Thinned& t : fig.thinned())
    note += thinningNote(t, "readings") + "; the fit statistics use every reading.";
  return note;
}

std::string doAndResiduals() {
  const std::size_t n = 5000;
  std::vector<double> t(n), c(n), residual(n);
  std::vector<bool> kept(n);
  for (std::size_t i = 0; i < n; ++i) {
    t[i] = 40.0 * double(i) / double(n - 1);
    c[i] = reaeration(t[i]) + wobble(i);
    residual[i] = c[i] - reaeration(t[i]);
    kept[i] = c[i] > 0.1 * 9.1 && c[i] < 0.98 * 9.1;
  }
  Figure doPlot{"Probe 1 <DO1 & DO2>: DO against time"};
  doPlot.xAxis("Time", "min", "t");
  doPlot.yAxis("DO", "mg/L");
  doPlot.add(Points{.label = "Readings", .x = t, .y = c, .highlighted = kept, .highlightLabel = "Kept for the fit"});
  doPlot.add(sampled("Fitted curve", reaeration, 0, 40));

  Figure residuals{"Probe 1: residuals"};
  residuals.xAxis("Time", "min", "t");
  residuals.yAxis("Residual", "mg/L", "r");
  residuals.add(ReferenceLine{});
  residuals.add(Points{.label = "Residuals of kept readings", .x = t, .y = residual});
  return figure(doPlot, thinnedNote(doPlot)) + figure(residuals, thinnedNote(residuals));
}

std::string campaignCurve() {
  const std::vector<double> flow{40, 80, 120, 160};
  std::vector<double> sote, low, high;
  for (std::size_t i = 0; i < flow.size(); ++i) {
    sote.push_back(38.0 * std::pow(flow[i], -0.18) + wobble(i) * 10);
    low.push_back(sote.back() - 0.8);
    high.push_back(sote.back() + 0.9);
  }
  Figure fig{"SOTE against air flow"};
  fig.xAxis("Air flow", "scfm", "Q").min = 0;
  fig.yAxis("SOTE", "%").min = 0;
  fig.add(ErrorBars{.label = "Workbooks, with 95 % intervals", .x = flow, .y = sote, .low = low, .high = high});
  Line curve = sampled(
      "SOTE = 38.0·Q^−0.18", [](double q) { return 38.0 * std::pow(q, -0.18); }, 30, 170);
  curve.dashed = true;
  fig.add(curve);
  return figure(fig, "");
}

std::string sensitivity() {
  std::vector<double> threshold, kla;
  for (int percent = 0; percent <= 40; percent += 5) {
    threshold.push_back(percent);
    kla.push_back(6.6 + 0.004 * percent + wobble(std::size_t(percent)));
  }
  Figure fig{"KLa20 against the start threshold", {720, 300}};
  fig.xAxis("Start threshold", "%");
  fig.yAxis("KLa20", "1/h");
  fig.add(Points{.label = "KLa20", .x = threshold, .y = kla});
  fig.add(Line{.label = "", .x = threshold, .y = kla});
  return figure(fig, "");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: plot-sample-page OUTPUT.html\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Sample plots</title>\n"
         "<style>\n@page { size: A4; margin: 15mm; }\n"
         "body { font-family: sans-serif; max-width: 180mm; margin: 0 auto; }\n"
         "figure { margin: 0 0 6mm; break-inside: avoid; }\n"
         "figcaption { font-size: 9pt; color: #555; }\n"
         ".page { break-after: page; }\n"
         ".plot .plot-line.plot-s1 { stroke: #b03a2e; }\n"
         "</style></head><body>\n"
      << "<section class=\"page\"><h1>Sample plots</h1>\n"
      << doAndResiduals() << "</section>\n"
      << "<section>\n"
      << campaignCurve() << sensitivity() << "</section>\n</body></html>\n";
  out.close();
  if (!out) {
    std::cerr << "plot-sample-page: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
