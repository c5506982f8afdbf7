#include <gtest/gtest.h>

#include "workbook/uno/MacroSource.h"

namespace vk {
namespace {

TEST(MacroSource, FindsTheSubWhateverItsCaseAndQualifiers) {
  EXPECT_TRUE(declaresSub("REM  *****  BASIC  *****\n\nSub Redraw\nEnd Sub\n", "Redraw"));
  EXPECT_TRUE(declaresSub("Option VBASupport 1\r\nPublic Sub redraw()\r\nEnd Sub", "Redraw"));
  EXPECT_TRUE(declaresSub("  private   static\tSUB REDRAW ' comment\n", "Redraw"));
  EXPECT_TRUE(declaresSub("Sub Main\nEnd Sub\nSub Redraw()", "Redraw"));
}

TEST(MacroSource, IgnoresOtherNamesCommentsAndCalls) {
  EXPECT_FALSE(declaresSub("Sub RedrawAll()\nEnd Sub", "Redraw"));
  EXPECT_FALSE(declaresSub("Sub Redraw_Old()\nEnd Sub", "Redraw"));
  EXPECT_FALSE(declaresSub("' Sub Redraw()\nREM Sub Redraw", "Redraw"));
  EXPECT_FALSE(declaresSub("Sub Main\n  Redraw\nEnd Sub", "Redraw"));
  EXPECT_FALSE(declaresSub("Function Redraw()\nEnd Function", "Redraw"));
  EXPECT_FALSE(declaresSub("Subroutine Redraw", "Redraw"));
  EXPECT_FALSE(declaresSub("", "Redraw"));
}

}  // namespace
}  // namespace vk
