#include <gtest/gtest.h>

#include "module1/Arrays.h"
#include "module1/Fault.h"
#include "module1/Integer.h"
#include "module1/Single.h"
#include "module1/Variant.h"

namespace vk {
namespace {

TEST(Integer, CellValuesRoundHalfToEven) {
  EXPECT_EQ(Integer::fromCell(12.5, "C7"), 12);
  EXPECT_EQ(Integer::fromCell(13.5, "C7"), 14);
  EXPECT_EQ(Integer::fromCell(2.5, "C8"), 2);
  EXPECT_EQ(Integer::fromCell(-2.5, "C8"), -2);
  EXPECT_EQ(Integer::fromCell(2.6, "C8"), 3);
  EXPECT_EQ(Integer::fromCell(32767.4, "C7"), 32767);
  EXPECT_EQ(Integer::fromCell(-32768.5, "C7"), -32768);
  try {
    Integer::fromCell(32768, "sheet 1, cell C7");
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::Overflow);
    EXPECT_NE(std::string(f.what()).find("C7"), std::string::npos);
  }
}

TEST(Integer, ACellOutsideTheRangeIsNamedOnceWithItsNumberAsWritten) {
  auto text = [](double v) {
    try {
      Integer::fromCell(v, "sheet 1, cell C7");
    } catch (const Fault& f) {
      return f.text();
    }
    return std::string("no fault");
  };
  EXPECT_EQ(text(40000), "sheet 1, cell C7 holds 40000, outside the range of a 16-bit integer (-32768 to 32767)");
  EXPECT_EQ(text(1e308), "sheet 1, cell C7 holds 1e+308, outside the range of a 16-bit integer (-32768 to 32767)");
  EXPECT_EQ(text(-32768.75),
            "sheet 1, cell C7 holds -32768.75, outside the range of a 16-bit integer (-32768 to 32767)");
}

TEST(Integer, ArithmeticOverflowIsAFaultNotAWrap) {
  Integer big(32767);
  EXPECT_THROW(big += Integer(1), Fault);
  EXPECT_EQ(int(Integer(-32767) - Integer(1)), -32768);
  EXPECT_THROW(Integer(-32768) - Integer(1), Fault);
}

TEST(Variant, PromotionRules) {
  const Variant empty, i2 = Integer(2), s = Variant::single(0.5f), d = Variant::dbl(0.25);
  EXPECT_EQ(empty + empty, Variant(Integer(0)));
  EXPECT_EQ(i2 + empty, Variant(Integer(2)));
  EXPECT_EQ(i2 + s, Variant::single(2.5f));
  EXPECT_EQ(empty + s, Variant::single(0.5f));
  EXPECT_EQ(s + d, Variant::dbl(0.75));
  EXPECT_EQ(i2 + d, Variant::dbl(2.25));
  // Single sums round to a Single at every addition.
  EXPECT_EQ(Variant::single(1.0f) + Variant::single(1e-8f), Variant::single(1.0f));
  EXPECT_EQ(empty.asDouble(), 0.0);
  EXPECT_THROW(Variant(Integer(32767)) + Variant(Integer(1)), Fault);
}

TEST(Single, StoresRoundAndOverflowIsAFault) {
  EXPECT_EQ(toSingle(0.1, Where{}), 0.1f);
  EXPECT_THROW(toSingle(1e39, Where{"x"}), Fault);
  EXPECT_THROW(toSingle(std::nan(""), Where{"x"}), Fault);
  EXPECT_THROW(checkedDivide(1, 0, Where{"x"}), Fault);
  EXPECT_THROW(checkedLog(0, Where{"x"}), Fault);
  EXPECT_THROW(checkedExp(1000, Where{"x"}), Fault);
  try {
    checkedDivide(1, 0, Where{"the step", 2, 3});
  } catch (const Fault& f) {
    EXPECT_EQ(std::string(f.what()), "Division by zero: the step, data set 2, fit pass 3: the divisor is zero");
  }
}

TEST(Arrays, IndicesOutsideTheBoundsAreFaults) {
  SetArray<float> perSet("KLa");
  perSet[6] = 1;
  EXPECT_THROW(perSet[7], Fault);
  EXPECT_THROW(perSet[-1], Fault);
  ReadingArray<float> readings("Conc");
  EXPECT_THROW(readings(1, 1), Fault);  // not dimensioned yet
  readings.redim(2, 10);
  readings(2, 10) = 3;
  EXPECT_EQ(readings(2, 10), 3.0f);
  EXPECT_EQ(readings(0, 0), 0.0f);
  EXPECT_THROW(readings(3, 1), Fault);
  EXPECT_THROW(readings(1, 11), Fault);
  readings.redim(1, 4);
  EXPECT_EQ(readings(1, 4), 0.0f);  // dimensioned anew, all zero
}

}  // namespace
}  // namespace vk
