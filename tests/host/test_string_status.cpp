#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

TEST(MStringNumbers, JoiningWritesTheShortestTextThatReadsBack) {
    EXPECT_EQ(MString("x") + 2.5, MString("x2.5"));
    EXPECT_EQ(MString("") + 0.1, MString("0.1"));
    EXPECT_EQ(MString("") + 100.0, MString("100"));
    EXPECT_EQ(MString("") + 1e-7, MString("1e-07"));
    EXPECT_EQ(MString("") + -0.0, MString("-0"));
    EXPECT_EQ(MString("") + 3, MString("3"));
    EXPECT_EQ(MString("") + 0.1f, MString("0.1"));

    for (double v : {1.0 / 3.0, 2.0 / 3.0 * 1e300, -123.456e-200, 0.30000000000000004,
                     std::numeric_limits<double>::denorm_min()}) {
        MString text;
        text += v;
        EXPECT_EQ(std::strtod(text.asChar(), nullptr), v) << text;
    }
}

TEST(MStringText, SplitSubstringAndConversions) {
    MStringArray parts;
    MString("a b  c").split(' ', parts);
    ASSERT_EQ(parts.length(), 3u);
    EXPECT_EQ(parts[2], MString("c"));
    EXPECT_EQ(MString("abcdef").substring(1, 3), MString("bcd"));
    EXPECT_EQ(MString("abc").substring(2, 10), MString("c"));
    EXPECT_TRUE(MString("42").isInt());
    EXPECT_FALSE(MString("42x").isInt());
    EXPECT_TRUE(MString("-1.5e3").isDouble());
    EXPECT_DOUBLE_EQ(MString("-1.5e3").asDouble(), -1500.0);
    EXPECT_EQ(MString("a.b.c").rindex('.'), 3);
    MString s("pSphere1|pSphereShape1");
    EXPECT_EQ(s.substitute("pSphere", "ball"), MString("ball1|ballShape1"));
}

TEST(MStatusReport, CarriesCodeAndText) {
    MStatus ok;
    EXPECT_TRUE(ok);
    MStatus bad(MStatus::kInvalidParameter, "no node named \"x\"");
    EXPECT_FALSE(bad);
    EXPECT_EQ(bad, MStatus::kInvalidParameter);
    EXPECT_EQ(bad.errorString(), MString("(kInvalidParameter): no node named \"x\""));
    EXPECT_EQ(MStatus(MStatus::kFailure).errorString(),
              MString("(kFailure): Unexpected Internal Failure"));
    EXPECT_EQ(MStatus(MStatus::kUnknownParameter).statusCode(), 5);
}
