#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <locale>
#include <set>
#include <string>

#include "plot/Figure.h"

namespace vk::plot {
namespace {

bool hasClass(const pugi::xml_node& node, const std::string& cls) {
  const std::string classes = " " + std::string(node.attribute("class").value()) + " ";
  return classes.find(" " + cls + " ") != std::string::npos;
}

struct ParsedSvg {
  pugi::xml_document doc;
  pugi::xml_node svg;

  explicit ParsedSvg(const std::string& text) {
    const pugi::xml_parse_result result = doc.load_string(text.c_str());
    EXPECT_TRUE(result) << result.description() << " at " << result.offset;
    svg = doc.child("svg");
  }
  std::vector<pugi::xml_node> all(const char* tag) const {
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xpath_node& n : svg.select_nodes((std::string("//") + tag).c_str())) nodes.push_back(n.node());
    return nodes;
  }
  // Markers of the series groups with this class.
  std::vector<pugi::xml_node> markers(const std::string& cls) const {
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xml_node& c : all("circle")) {
      pugi::xml_node group = c.parent();
      if (!hasClass(group, cls)) group = group.parent();  // error bars: one group per point
      if (hasClass(group, cls) && !hasClass(group.parent(), "plot-legend")) nodes.push_back(c);
    }
    return nodes;
  }
  pugi::xml_node frame() const { return svg.find_child_by_attribute("rect", "class", "plot-frame"); }
};

double number(const pugi::xml_attribute& a) { return std::stod(a.value()); }

std::string hoverText(const pugi::xml_node& marker) {
  const pugi::xml_node own = marker.child("title");
  return own ? own.text().get() : marker.parent().child("title").text().get();
}

Figure readings(std::size_t n) {
  std::vector<double> t(n), c(n);
  std::vector<bool> kept(n);
  for (std::size_t i = 0; i < n; ++i) {
    t[i] = 0.05 * double(i);
    c[i] = 9 - 8 * std::exp(-0.1 * t[i]);
    kept[i] = i % 3 != 0;
  }
  Figure fig{"Probe 1"};
  fig.xAxis("Time", "min", "t");
  fig.yAxis("DO", "mg/L");
  fig.add(Points{.label = "Readings", .x = t, .y = c, .highlighted = kept, .highlightLabel = "Kept"});
  fig.add(sampled(
      "Fitted curve", [](double x) { return 9 - 8 * std::exp(-0.1 * x); }, 0, t.back()));
  return fig;
}

TEST(Figure, IsSelfContainedSvgForAnHtmlPage) {
  Figure fig = readings(50);
  fig.add(ErrorBars{.label = "Intervals", .x = {1}, .y = {5}, .low = {4}, .high = {6}});
  fig.add(ReferenceLine{});
  ParsedSvg parsed(fig.svg());
  EXPECT_STREQ(parsed.svg.attribute("xmlns").value(), "http://www.w3.org/2000/svg");
  EXPECT_STREQ(parsed.svg.attribute("viewBox").value(), "0 0 720 360");
  EXPECT_STREQ(parsed.svg.attribute("width").value(), "100%");
  // Only plain drawing elements: nothing runs, nothing is fetched.
  const std::set<std::string> drawing{"svg", "g", "text", "path", "rect", "circle", "polyline", "title"};
  for (const pugi::xpath_node& n : parsed.doc.select_nodes("//*")) {
    EXPECT_TRUE(drawing.count(n.node().name())) << n.node().name();
    for (const pugi::xml_attribute& a : n.node().attributes()) {
      const std::string name = a.name();
      EXPECT_TRUE(name.find("href") == std::string::npos && name.rfind("on", 0) != 0) << name;
    }
  }
  // The legend names each labelled series, and the highlighted points apart.
  std::vector<std::string> legend;
  for (const pugi::xpath_node& n : parsed.svg.select_nodes("g[@class='plot-legend']/text"))
    legend.push_back(n.node().text().get());
  EXPECT_EQ(legend, (std::vector<std::string>{"Readings", "Kept", "Fitted curve", "Intervals"}));
  EXPECT_EQ(parsed.markers("plot-points").size(), 17u);
  EXPECT_EQ(parsed.markers("plot-highlighted").size(), 33u);
  EXPECT_EQ(parsed.markers("plot-bars").size(), 1u);
}

TEST(Figure, EveryMarkerTellsItsValueOnHover) {
  Figure fig{"Hover"};
  fig.xAxis("Time", "min", "t");
  fig.yAxis("SOTE", "%");
  fig.add(Points{.x = {12.5, 20}, .y = {double(6.43f), 7}});
  fig.add(ErrorBars{.x = {30}, .y = {25.1}, .low = {22.3}, .high = {28}});
  fig.add(Points{.x = {1}, .y = {1}, .titles = {"run3.xlsx"}});
  ParsedSvg parsed(fig.svg());
  std::vector<std::string> texts;
  for (const pugi::xml_node& m : parsed.markers("plot-points")) texts.push_back(hoverText(m));
  for (const pugi::xml_node& m : parsed.markers("plot-bars")) texts.push_back(hoverText(m));
  EXPECT_EQ(texts, (std::vector<std::string>{"t = 12.5 min, SOTE = 6.43 %", "t = 20 min, SOTE = 7 %", "run3.xlsx",
                                             "t = 30 min, SOTE = 25.1 % (22.3 to 28 %)"}));
}

TEST(Figure, MapsDataOntoTheAxes) {
  Figure fig{"Mapping"};
  fig.xAxis("Time", "min").min = 0;
  fig.yAxis("DO", "mg/L").min = 0;
  fig.add(Points{.x = {0, 30, 40}, .y = {0, 5, 10}});
  ParsedSvg parsed(fig.svg());
  const pugi::xml_node frame = parsed.frame();
  const double left = number(frame.attribute("x")), top = number(frame.attribute("y"));
  const double right = left + number(frame.attribute("width")), bottom = top + number(frame.attribute("height"));
  const std::vector<pugi::xml_node> m = parsed.markers("plot-points");
  ASSERT_EQ(m.size(), 3u);
  // The axis ends on the data's extremes (0 and 40 are ticks), so the
  // extreme points sit on the corners of the frame.
  EXPECT_NEAR(number(m[0].attribute("cx")), left, 0.051);
  EXPECT_NEAR(number(m[0].attribute("cy")), bottom, 0.051);
  EXPECT_NEAR(number(m[2].attribute("cx")), right, 0.051);
  EXPECT_NEAR(number(m[2].attribute("cy")), top, 0.051);
  // A point at x = 30 lies under the tick labelled 30.
  const pugi::xml_node label30 = parsed.svg.select_node("g[@class='plot-tick-labels']/g/text[text()='30']").node();
  ASSERT_TRUE(label30);
  EXPECT_NEAR(number(m[1].attribute("cx")), number(label30.attribute("x")), 0.051);
}

TEST(Figure, LinesStayOnThePlotAreaAndBreakAtGaps) {
  Figure fig{"Clipped"};
  fig.xAxis("x");
  Axis& y = fig.yAxis("y");
  y.min = 0, y.max = 1;
  fig.add(Line{.x = {0, 1, 2, 3, 4, 5, 6}, .y = {0.5, 50, 0.5, std::nan(""), 0.2, 0.4, -3}});
  ParsedSvg parsed(fig.svg());
  const pugi::xml_node frame = parsed.frame();
  const double top = number(frame.attribute("y")), bottom = top + number(frame.attribute("height"));
  const std::vector<pugi::xml_node> lines = parsed.all("polyline");
  EXPECT_EQ(lines.size(), 3u);  // up and out, back in and down, after the gap
  for (const pugi::xml_node& line : lines) {
    std::istringstream points(line.attribute("points").value());
    std::string point;
    while (points >> point) {
      const double py = std::stod(point.substr(point.find(',') + 1));
      EXPECT_TRUE(py >= top - 0.051 && py <= bottom + 0.051) << point;
    }
  }
}

TEST(Figure, LargeSeriesAreThinnedAndSaySo) {
  const Figure fig = readings(32723);
  const std::vector<Thinned> thinned = fig.thinned();
  ASSERT_EQ(thinned.size(), 1u);
  EXPECT_EQ(thinned[0].label, "Readings");
  EXPECT_EQ(thinned[0].shown, 2000u);
  EXPECT_EQ(thinned[0].total, 32723u);
  ParsedSvg parsed(fig.svg());
  std::vector<pugi::xml_node> drawn = parsed.markers("plot-points");
  const std::vector<pugi::xml_node> kept = parsed.markers("plot-highlighted");
  drawn.insert(drawn.end(), kept.begin(), kept.end());
  EXPECT_EQ(drawn.size(), 2000u);
  std::set<std::string> texts;
  for (const pugi::xml_node& m : drawn) texts.insert(hoverText(m));
  EXPECT_TRUE(texts.count("t = 0 min, DO = 1 mg/L"));       // the first reading
  EXPECT_TRUE(texts.count("t = 1636.1 min, DO = 9 mg/L"));  // and the last
  EXPECT_TRUE(readings(2000).thinned().empty());
}

TEST(Figure, SameBytesEveryTimeWhateverTheLocale) {
  const std::string first = readings(300).svg();
  struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
  const std::string second = readings(300).svg();
  std::locale::global(previous);
  EXPECT_EQ(first, second);
}

TEST(Figure, EscapesText) {
  Figure fig{"DO <probe 1> & 2"};
  fig.xAxis("Time", "\"min\"");
  fig.yAxis("DO", "mg/L");
  fig.add(Points{.label = "a<&b", .x = {1}, .y = {2}, .titles = {"<&>"}});
  ParsedSvg parsed(fig.svg());
  EXPECT_STREQ(parsed.svg.find_child_by_attribute("text", "class", "plot-title").text().get(), "DO <probe 1> & 2");
  EXPECT_TRUE(parsed.svg.find_child_by_attribute("text", "class", "plot-axis-title").text().get() ==
              std::string("Time (\"min\")"));
  EXPECT_STREQ(parsed.svg.select_node("g[@class='plot-legend']/text").node().text().get(), "a<&b");
  EXPECT_EQ(hoverText(parsed.markers("plot-points").at(0)), "<&>");
}

TEST(Figure, RefusesSeriesOfMismatchedLengths) {
  Figure fig{"Wrong"};
  EXPECT_THROW(fig.add(Points{.x = {1, 2}, .y = {1}}), std::invalid_argument);
  EXPECT_THROW(fig.add(Points{.x = {1, 2}, .y = {1, 2}, .highlighted = {true}}), std::invalid_argument);
  EXPECT_THROW(fig.add(ErrorBars{.x = {1}, .y = {1}, .low = {0}, .high = {}}), std::invalid_argument);
  EXPECT_THROW(fig.add(Line{.x = {1}, .y = {}}), std::invalid_argument);
}

// Six probes of 300 readings, each with its DO plot and its residual plot.
TEST(Figure, SixProbesOfThreeHundredReadingsStayCompact) {
  std::size_t bytes = 0;
  for (int probe = 0; probe < 6; ++probe) {
    bytes += readings(300).svg().size();
    Figure residuals{"Residuals"};
    residuals.xAxis("Time", "min", "t");
    residuals.yAxis("Residual", "mg/L", "r");
    residuals.add(ReferenceLine{});
    std::vector<double> t, r;
    for (int i = 0; i < 300; ++i) t.push_back(0.2 * i), r.push_back(0.05 * std::sin(i * 7.1));
    residuals.add(Points{.x = t, .y = r});
    bytes += residuals.svg().size();
  }
  EXPECT_LT(bytes, 400'000u);
}

}  // namespace
}  // namespace vk::plot
