// Criteria files: limits change verdicts; anything but a JSON object of
// known keys and non-negative numbers is refused with the key named.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "assess/Assessment.h"
#include "tests/assess/Scenarios.h"

namespace vk::assess {
namespace {

TEST(Criteria, AFileChangesOnlyTheLimitsItNames) {
  const Criteria c = parseCriteria(R"({"water_temp_min_c": 4, "kept_readings_min": 50})", "c.json");
  EXPECT_EQ(c.limit(CheckId::WaterTemperature, 0), 4);
  EXPECT_EQ(c.limit(CheckId::WaterTemperature, 1), 30);
  EXPECT_EQ(c.limit(CheckId::KeptReadings, 0), 50);
  EXPECT_EQ(c.limit(CheckId::KeptReadings, 1), 4);
  EXPECT_EQ(parseCriteria("{}", "c.json").limit(CheckId::EndLevel, 0), 98);

  // The cold test warns under the defaults and passes under this file.
  const RunRecord cold = test::runProgram(test::sixProbeTest(5));
  const auto temperatureVerdict = [&](const Criteria& criteria) {
    for (const auto& check : assess(cold, criteria, {vk::trimWithProgram, false}).checks)
      if (check.row->id == CheckId::WaterTemperature) return check.verdict;
    return Verdict::NotApplicable;
  };
  EXPECT_EQ(temperatureVerdict(Criteria()), Verdict::Warn);
  EXPECT_EQ(temperatureVerdict(c), Verdict::Pass);
}

struct BadFile {
  const char* name;
  const char* text;
  const char* key;      // the key the error must name; "" for the file as a whole
  const char* message;  // a part of the message
};

class BadCriteria : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadCriteria, IsAClearErrorNamingTheKey) {
  const BadFile& f = GetParam();
  try {
    parseCriteria(f.text, "limits.json");
    FAIL() << "accepted " << f.text;
  } catch (const CriteriaError& e) {
    EXPECT_EQ(e.key(), f.key);
    const std::string what = e.what();
    EXPECT_NE(what.find("limits.json"), std::string::npos) << what;
    EXPECT_NE(what.find(f.message), std::string::npos) << what;
    if (*f.key) {
      EXPECT_NE(what.find(std::string("\"") + f.key + "\""), std::string::npos) << what;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadCriteria,
    ::testing::Values(
        BadFile{"NotJson", "water_temp_min_c = 4", "", "is not JSON"},
        BadFile{"Truncated", R"({"water_temp_min_c": 4)", "", "is not JSON"},
        BadFile{"NotAnObject", "[4, 30]", "", "one JSON object"},
        BadFile{"UnknownKey", R"({"water_temp_min": 4})", "water_temp_min", "not a known key"},
        BadFile{"Text", R"({"end_level_min_percent": "98"})", "end_level_min_percent", "must be a number, not text"},
        BadFile{"Boolean", R"({"runs_z_max": true})", "runs_z_max", "must be a number"},
        BadFile{"Null", R"({"runs_z_max": null})", "runs_z_max", "must be a number"},
        BadFile{"Fraction", R"({"kept_readings_min": 12.5})", "kept_readings_min", "must be a whole number, not 12.5"},
        BadFile{"Negative", R"({"probe_outlier_max_sd": -2})", "probe_outlier_max_sd", "0 or more"}),
    [](const auto& info) { return info.param.name; });

TEST(Criteria, AFileThatCannotBeReadIsAnError) {
  EXPECT_THROW(loadCriteria("/nonexistent/limits.json"), CriteriaError);
}

// Every key of the table is unique, and documented for users.
TEST(Criteria, EveryKeyIsUniqueAndDocumented) {
  std::ifstream doc(VK_SOURCE_DIR "/docs/assessment-criteria.md");
  ASSERT_TRUE(doc);
  std::stringstream text;
  text << doc.rdbuf();
  std::set<std::string> keys;
  for (const auto& row : kCheckTable)
    for (std::size_t l = 0; l < row.limitCount; ++l) {
      const char* key = row.limits[l].key;
      if (!key) continue;
      EXPECT_TRUE(keys.insert(key).second) << key;
      EXPECT_NE(text.str().find(std::string("`") + key + "`"), std::string::npos) << key << " is not documented";
      EXPECT_NO_THROW(parseCriteria(std::string("{\"") + key + "\": 1}", "one.json")) << key;
    }
}

}  // namespace
}  // namespace vk::assess
