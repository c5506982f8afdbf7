#include <gtest/gtest.h>

#include "workbook/Ascii.h"

namespace vk {
namespace {

TEST(Ascii, OnlyLettersChangeCaseAndOnlyHexDigitsHaveValues) {
  // The neighbours of the letter ranges and non-ASCII bytes stay as they are.
  EXPECT_EQ(asciiLowerCase("@AZ[`az{\xC4\xB0"), "@az[`az{\xC4\xB0");
  EXPECT_EQ(asciiUpperCase("@AZ[`az{\xC3\xA4"), "@AZ[`AZ{\xC3\xA4");
  EXPECT_TRUE(equalIgnoringAsciiCase("[Content_Types].XML", "[content_types].xml"));
  EXPECT_FALSE(equalIgnoringAsciiCase("sub", "subs"));
  EXPECT_FALSE(equalIgnoringAsciiCase("@", "`"));
  EXPECT_FALSE(equalIgnoringAsciiCase("\xC3\xA4", "\xC3\x84"));  // a-umlaut is not ASCII

  EXPECT_EQ(hexDigitValue('0'), 0);
  EXPECT_EQ(hexDigitValue('9'), 9);
  EXPECT_EQ(hexDigitValue('a'), 10);
  EXPECT_EQ(hexDigitValue('F'), 15);
  for (char c : {'/', ':', '@', 'G', '`', 'g', ' ', '\xB0'}) EXPECT_EQ(hexDigitValue(c), -1) << c;
}

}  // namespace
}  // namespace vk
