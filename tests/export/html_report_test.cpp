// The HTML report, parsed as XML: its sections and pages in order, every
// plot with its points, verdicts as the checklist gives them, figures in
// both unit systems, and the same bytes from the same run. The browser test
// (html_browser_test.sh) loads and prints it.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "export/html/HtmlReport.h"
#include "plot/Numbers.h"
#include "tests/assess/Scenarios.h"

namespace vk::exporter {
namespace {

struct Analysed {
  assess::RunRecord record;
  assess::Assessment assessment;
};

Analysed analyse(const test::ProgramTest& t) {
  Analysed a{test::runProgram(t), {}};
  a.assessment = assess::assess(a.record, assess::Criteria(), {vk::trimWithProgram, true});
  return a;
}

const ReportHeader kHeader{"0.1.0", "2024-05-01T10:00:00Z", "embedded", "test.xlsx",
                           "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"};

std::string reportOf(const Analysed& a, const ReportHeader& header = kHeader) {
  std::ostringstream out;
  writeHtmlReport(out, header, a.record, a.assessment);
  return out.str();
}

struct Parsed {
  pugi::xml_document doc;

  explicit Parsed(const std::string& html) {
    const pugi::xml_parse_result result = doc.load_string(html.c_str());
    EXPECT_TRUE(result) << result.description() << " at " << result.offset << ": "
                        << html.substr(result.offset > 60 ? std::size_t(result.offset) - 60 : 0, 120);
  }
  std::vector<pugi::xml_node> all(const std::string& xpath, pugi::xml_node from = {}) const {
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xpath_node& n : (from ? from : doc.document_element()).select_nodes(xpath.c_str()))
      nodes.push_back(n.node());
    return nodes;
  }
  std::vector<std::string> values(const std::string& xpath, const char* attribute) const {
    std::vector<std::string> v;
    for (const auto& n : all(xpath)) v.push_back(n.attribute(attribute).value());
    return v;
  }
  pugi::xml_node plot(int set, const char* kind) const {
    const std::string scope = set ? "//div[@data-section='probe'][@data-set='" + std::to_string(set) + "']" : "";
    return doc.select_node((scope + "//figure[@data-plot='" + kind + "']").c_str()).node();
  }
};

std::string textOf(const pugi::xml_node& node) {
  std::string text;
  for (const pugi::xpath_node& t : node.select_nodes(".//text()")) text += t.node().value();
  return text;
}

// The data markers of a plot (the legend's swatches have no hover text).
std::vector<pugi::xml_node> markers(const Parsed& p, const pugi::xml_node& figure, const char* group = "") {
  return p.all(std::string(".//g") + group + "/circle[title]", figure);
}
constexpr const char* kFilled = "[contains(@class, 'plot-highlighted')]";

std::vector<std::string> repeated(std::vector<std::string> v, const std::string& item, std::size_t times) {
  v.insert(v.end(), times, item);
  return v;
}

TEST(HtmlReport, SectionsInOrderOnePageEachAsTheLayoutCounts) {
  const Analysed a = analyse(test::sixProbeTest());
  const Parsed p(reportOf(a));
  std::vector<std::string> sections{"header", "conditions", "results", "spread", "checklist"};
  sections = repeated(sections, "probe", 6);
  sections.insert(sections.end(), {"truncation", "basis"});
  EXPECT_EQ(p.values("//*[@data-section]", "data-section"), sections);

  const auto pages = p.values("//section[@data-page]", "data-page");
  EXPECT_EQ(pages.size(), htmlTestPages(6));
  EXPECT_EQ(pages, repeated(repeated({"summary", "checklist"}, "probe", 6), "truncation", 1));
  EXPECT_EQ(p.values("//div[@data-section='probe']", "data-set"),
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(htmlTestPages(1), 4u);
}

TEST(HtmlReport, EveryPlotHasItsPointsAndTheResidualsAreAboutTheDrawnCurve) {
  // A threshold that cuts the first readings, so kept and read times differ.
  test::ProgramTest t = test::sixProbeTest();
  t.startPercent = 30;
  const Analysed a = analyse(t);
  const Parsed p(reportOf(a));
  EXPECT_EQ(p.all("//svg").size(), 2 * 6 + 2u);
  for (std::size_t i = 0; i < 6; ++i) {
    const assess::SetRecord& rec = a.record.sets[i];
    ASSERT_GT(rec.timeShift, 0);
    const int set = rec.set;
    const pugi::xml_node doPlot = p.plot(set, "do"), residuals = p.plot(set, "residuals");
    EXPECT_EQ(markers(p, doPlot).size(), rec.raw.size()) << "probe " << set;
    EXPECT_EQ(markers(p, doPlot, kFilled).size(), rec.kept.size()) << "probe " << set;
    EXPECT_EQ(p.all(".//g[contains(@class, 'plot-line')]/polyline", doPlot).size(), 1u) << "the fitted curve";
    const auto r = markers(p, residuals);
    ASSERT_EQ(r.size(), rec.kept.size()) << "probe " << set;
    // "t = 12.5 min, r = 0.0123 mg/L": within a few standard errors of zero.
    for (const auto& m : r) {
      const std::string hover = m.child("title").text().get();
      const double residual = std::stod(hover.substr(hover.find("r = ") + 4));
      EXPECT_LT(std::fabs(residual), 5 * *rec.fit.stdErr) << hover;
    }
  }
  std::size_t fitted = 0;
  for (const auto& s : a.assessment.sets)
    for (const auto& point : s.truncation.points) fitted += point.fit ? 1u : 0u;
  EXPECT_EQ(fitted, 6 * 16u);
  for (const char* kind : {"kla20", "cinf20"}) EXPECT_EQ(markers(p, p.plot(0, kind)).size(), fitted) << kind;
}

TEST(HtmlReport, VerdictsAreTheChecklistsInColourAndInWords) {
  // Probe 6 stands out from the others: a warning among passes.
  const Analysed a = analyse(test::sixProbeTest(15, [](int probe, test::ProbeShape& s) {
    if (probe == 5) s.kla = 0.27;
  }));
  const Parsed p(reportOf(a));
  EXPECT_EQ(p.all("//td[@data-check]").size(), a.assessment.checks.size());
  int warnings = 0;
  for (const assess::CheckResult& c : a.assessment.checks) {
    const std::string where = std::string("//td[@data-check='") + c.row->name + "'][@data-set='" +
                              std::to_string(c.set) + "']/span[contains(@class, 'verdict ')]";
    const auto badge = p.all(where);
    ASSERT_EQ(badge.size(), 1u) << where;
    const std::string expected = std::string("verdict verdict-") +
                                 (c.verdict == assess::Verdict::NotApplicable ? "na" : assess::verdictName(c.verdict));
    EXPECT_EQ(badge[0].attribute("class").value(), expected) << where;
    EXPECT_EQ(badge[0].text().get(), std::string(assess::verdictName(c.verdict))) << where;
    warnings += c.verdict == assess::Verdict::Warn;
  }
  EXPECT_GT(warnings, 0);
  EXPECT_EQ(p.all("//div[@data-section='header']//span[@class='verdict verdict-warn']").size(), 1u);
}

TEST(HtmlReport, FiguresInUsUnitsWithSiBeside) {
  const Analysed a = analyse(test::sixProbeTest());
  const Parsed p(reportOf(a));
  auto row = [&](const std::string& table, const std::string& label) {
    std::vector<std::string> cells;
    for (const auto& td : p.all("//table[@class='" + table + "']/tr[td[1][contains(., '" + label + "')]]/td"))
      cells.push_back(textOf(td));
    return cells;
  };
  const auto pressure = row("conditions", "Barometric pressure");
  ASSERT_EQ(pressure.size(), 3u);
  EXPECT_EQ(pressure[1], "29.5 inHg");
  EXPECT_EQ(pressure[2], plot::significant(29.5 * 3.386389, 5) + " kPa");
  EXPECT_EQ(row("conditions", "Air flow")[2], plot::significant(50 * 1.699011, 5) + " m³/h");

  const auto us = row("results", "lb O₂/h"), si = row("results", "kg O₂/h"), metres = row("results", "(m)");
  ASSERT_EQ(si.size(), 8u);  // the figure, six probes, the average
  for (std::size_t i = 0; i < 6; ++i) {
    const assess::SetRecord& s = a.record.sets[i];
    // The figure, then its interval beneath.
    EXPECT_EQ(us[i + 1].rfind(plot::significant(s.figures.sotr, 4), 0), 0u) << us[i + 1];
    EXPECT_EQ(si[i + 1].rfind(plot::significant(s.figures.sotr * 0.45359237, 4), 0), 0u) << si[i + 1];
    EXPECT_EQ(metres[i + 1], plot::significant(s.figures.satDepthFt * 0.3048, 4));
  }
  EXPECT_EQ(si[7].rfind(plot::significant(*a.record.averages.sotr * 0.45359237, 4), 0), 0u) << si[7];
}

TEST(HtmlReport, WhatCannotBeGivenIsNotApplicableWithItsReason) {
  test::ProgramTest t = test::sixProbeTest();
  t.sets.resize(1);
  t.conditions.airFlowScfm = 0;
  const Analysed a = analyse(t);
  const Parsed p(reportOf(a));
  EXPECT_EQ(p.all("//section[@data-page]").size(), htmlTestPages(1));
  const auto sote = p.all("//table[@class='results']/tr[td[1][starts-with(., 'SOTE')]]/td");
  ASSERT_EQ(sote.size(), 2u) << "one cell across the probe and the average";
  EXPECT_NE(textOf(sote[1]).find("no air flow is given"), std::string::npos);
  for (const auto& row : p.all("//table[@class='spread']/tr[td]"))
    EXPECT_NE(textOf(row).find("not applicable"), std::string::npos) << textOf(row);
  EXPECT_EQ(p.all("//td[@data-check='probe-spread']/span[@class='verdict verdict-na']").size(), 1u);
  EXPECT_EQ(p.all("//td[@data-check='probe-outlier']/span[@class='verdict verdict-na']").size(), 1u);
  const std::string notes = textOf(p.all("//div[@data-section='checklist']/ol[@class='notes']").at(0));
  EXPECT_NE(notes.find("one probe"), std::string::npos) << notes;
}

TEST(HtmlReport, LongTestsAreDrawnThinnedAndSaySo) {
  test::ProgramTest t = test::sixProbeTest(15, {}, 0.012, 2500);
  t.sets.resize(1);
  const Analysed a = analyse(t);
  const Parsed p(reportOf(a));
  const pugi::xml_node doPlot = p.plot(1, "do");
  EXPECT_EQ(markers(p, doPlot).size(), 2000u);
  EXPECT_EQ(std::string(doPlot.child("figcaption").text().get()),
            "Showing 2,000 of 2,500 readings, thinned evenly; the fit statistics use every reading.");
  EXPECT_FALSE(p.plot(0, "kla20").child("figcaption")) << "16 thresholds are not thinned";
}

TEST(HtmlReport, SelfContainedWellUnderAMegabyteForSixBy300) {
  const std::string html = reportOf(analyse(test::sixProbeTest()));
  EXPECT_LT(html.size(), 1000000u);
  const Parsed p(html);
  for (const char* element : {"script", "link", "img", "iframe", "object", "embed"})
    EXPECT_TRUE(p.all(std::string("//") + element).empty()) << element;
  EXPECT_TRUE(p.all("//@src | //@href").empty());
  for (const auto& ns : p.all("//*[@xmlns]"))
    EXPECT_EQ(std::string(ns.attribute("xmlns").value()), "http://www.w3.org/2000/svg");
  EXPECT_EQ(html.find("url("), std::string::npos) << "the style sheet loads nothing";
}

TEST(HtmlReport, SameBytesFromTheSameRunTheAnalysisTimeApart) {
  const test::ProgramTest t = test::sixProbeTest();
  const Analysed first = analyse(t), second = analyse(t);
  std::string text = reportOf(first);
  EXPECT_EQ(text, reportOf(second));

  ReportHeader later = kHeader;
  later.analysisTime = "2024-05-01T11:30:00Z";
  const auto at = text.find(kHeader.analysisTime);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(text.find(kHeader.analysisTime, at + 1), std::string::npos);
  text.replace(at, kHeader.analysisTime.size(), later.analysisTime);
  EXPECT_EQ(text, reportOf(first, later));
}

TEST(HtmlReport, WorkbookNamesAreEscaped) {
  ReportHeader header = kHeader;
  header.workbookName = "Tank <3> & \"north\".xlsx";
  const Parsed p(reportOf(analyse(test::sixProbeTest()), header));
  EXPECT_EQ(std::string(p.doc.select_node("//title").node().text().get()),
            "Oxygen-transfer test report: " + header.workbookName);
  EXPECT_NE(textOf(p.doc.select_node("//h1").node()).find(header.workbookName), std::string::npos);
}

TEST(HtmlReport, ACampaignWritesItsTestsOneAfterAnother) {
  test::ProgramTest one = test::sixProbeTest(20);
  one.sets.resize(1);
  const Analysed six = analyse(test::sixProbeTest()), single = analyse(one);
  std::ostringstream out;
  writeHtmlHead(out, "Campaign");
  writeTestSection(out, kHeader, six.record, six.assessment);
  writeTestSection(out, kHeader, single.record, single.assessment);
  writeBasisSection(out);
  writeHtmlTail(out);
  const Parsed p(out.str());
  EXPECT_EQ(p.all("//article[@class='test']").size(), 2u);
  EXPECT_EQ(p.all("//section[@data-page]").size(), htmlTestPages(6) + htmlTestPages(1));
  EXPECT_EQ(p.all("//div[@data-section='basis']").size(), 1u);

  std::ostringstream mismatched;
  EXPECT_THROW(writeTestSection(mismatched, kHeader, six.record, single.assessment), std::invalid_argument);
}

TEST(FitHistory, OneRowPerPassFromTheStartingEstimatesToTheResult) {
  const Analysed a = analyse(test::sixProbeTest());
  const Parsed p(reportOf(a));
  for (const assess::SetRecord& s : a.record.sets) {
    const auto& h = s.fit.history;
    ASSERT_EQ(h.size(), std::size_t(s.fit.solver.passes));
    EXPECT_EQ(h.front().sumSq, s.fit.solver.initialSumSq);
    // A converged fit does not adopt its last trial: the result is where the last pass started.
    ASSERT_TRUE(s.fit.solver.converged);
    EXPECT_EQ(h.back().cinf, s.fit.cinf);
    EXPECT_EQ(h.back().kla, s.fit.kla);
    for (std::size_t k = 1; k < h.size(); ++k) EXPECT_LE(h[k].sumSq, h[k - 1].sumSq) << "pass " << h[k].pass;
    const std::string table = "//div[@data-set='" + std::to_string(s.set) + "']//table[@class='history']/tr[td]";
    EXPECT_EQ(p.all(table).size(), h.size() + 2) << "the passes, the result and the optimum";
  }
}

}  // namespace
}  // namespace vk::exporter
