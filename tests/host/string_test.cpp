// MString's parsing, splitting and number formatting, and MStatus's messages.

#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

std::vector<std::string> pieces(const char* text, char delimiter) {
    MStringArray out;
    out.append("stale"); // split replaces what was there
    EXPECT_EQ(MString(text).split(delimiter, out), MS::kSuccess);
    std::vector<std::string> result;
    for (unsigned int i = 0; i < out.length(); ++i)
        result.push_back(out[i].asChar());
    return result;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(MString, SplitDropsEmptyPieces) {
    EXPECT_EQ(pieces("a,,b", ','), (Strings{"a", "b"}));
    EXPECT_EQ(pieces(",a,b,", ','), (Strings{"a", "b"}));
    EXPECT_EQ(pieces(",,,", ','), Strings{});
    EXPECT_EQ(pieces("", ','), Strings{});
    EXPECT_EQ(pieces("abc", ','), Strings{"abc"});
    EXPECT_EQ(pieces("node.attr[2].child", '.'), (Strings{"node", "attr[2]", "child"}));
    EXPECT_EQ(pieces("  x  y ", ' '), (Strings{"x", "y"}));
}

TEST(MString, UnsignedNeedsWholeTextInRange) {
    const struct {
        const char* text;
        bool valid;
        unsigned int value;
    } cases[] = {{"0", true, 0u},
                 {"4294967295", true, 4294967295u},
                 {"4294967296", false, 0u},
                 {"-1", false, 0u},
                 {"12a", false, 0u},
                 {"", false, 0u},
                 {" 12", false, 0u},
                 {"12 ", false, 0u},
                 {"99999999999999999999", false, 0u}};
    for (const auto& c : cases) {
        EXPECT_EQ(MString(c.text).isUnsigned(), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(MString(c.text).asUnsigned(), c.value) << '"' << c.text << '"';
    }
}

TEST(MString, SignedIntegersRespectTheirRange) {
    EXPECT_TRUE(MString("2147483647").isInt());
    EXPECT_TRUE(MString("-2147483648").isInt());
    EXPECT_FALSE(MString("2147483648").isInt());
    EXPECT_EQ(MString("2147483648").asInt(), 0);
    EXPECT_EQ(MString("-42").asInt(), -42);
    EXPECT_FALSE(MString("1.5").isInt());
    EXPECT_FALSE(MString("-").isInt());

    EXPECT_TRUE(MString("32767").isShort());
    EXPECT_TRUE(MString("-32768").isShort());
    EXPECT_FALSE(MString("32768").isShort());
    EXPECT_EQ(MString("40000").asShort(), 0);
    EXPECT_EQ(MString("-7").asShort(), -7);
}

TEST(MString, RealsAreWholeDecimalText) {
    for (const char* good : {"1.5", "-2e3", ".5", "5.", "+0.25", "1E-300", "7"})
        EXPECT_TRUE(MString(good).isDouble()) << good;
    for (const char* bad : {"", ".", "1e", "e5", "1.5x", " 1", "1 ", "inf", "nan", "0x10", "1e999"})
        EXPECT_FALSE(MString(bad).isDouble()) << bad;
    EXPECT_EQ(MString("-2e3").asDouble(), -2000.0);
    EXPECT_EQ(MString("1.5x").asDouble(), 0.0);

    // Out of float range but within double's.
    EXPECT_TRUE(MString("1e300").isDouble());
    EXPECT_FALSE(MString("1e300").isFloat());
    EXPECT_EQ(MString("1e300").asFloat(), 0.0f);
    EXPECT_EQ(MString("0.1").asFloat(), 0.1f);
}

TEST(MString, NumbersAppendInShortestRoundTripForm) {
    MString s("v");
    s += 0.1;
    EXPECT_EQ(s, "v0.1");
    EXPECT_EQ(MString("") + 3.0, "3");
    EXPECT_EQ(MString("") + 1e20, "1e+20");
    EXPECT_EQ(MString("") + -5, "-5");
    EXPECT_EQ(MString("") + 4294967295u, "4294967295");
    MString f;
    f += 0.1f;
    EXPECT_EQ(f, "0.1");
    const double third = 1.0 / 3.0;
    EXPECT_EQ((MString() + third).asDouble(), third);
    MString fixed;
    fixed.set(3.14159, 2);
    EXPECT_EQ(fixed, "3.14");
}

TEST(MString, SubstringIsInclusiveAndClamped) {
    const MString s("pCube1.translateX");
    EXPECT_EQ(s.substring(0, 5), "pCube1");
    EXPECT_EQ(s.substring(s.index('.') + 1, 100), "translateX");
    EXPECT_EQ(s.substring(-3, 0), "p");
    EXPECT_EQ(s.substring(5, 4), "");
    EXPECT_EQ(s.index('z'), -1);
    EXPECT_EQ(MString("a.b.c").rindex('.'), 3);
    EXPECT_EQ(s.indexW("translate"), 7);
    EXPECT_EQ(s.toLowerCase(), "pcube1.translatex");
}

TEST(MStatus, PerrorWritesTextAndDescription) {
    const MStatus failure(MS::kInvalidParameter);
    const MString description = failure.errorString();
    EXPECT_GT(description.length(), 0u);
    EXPECT_NE(description, MStatus(MS::kFailure).errorString());

    ::testing::internal::CaptureStderr();
    failure.perror("setValue");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              std::string("setValue: ") + description.asChar() + "\n");

    ::testing::internal::CaptureStderr();
    failure.perror();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), std::string(description.asChar()) + "\n");
}

TEST(MString, NullAndCountedConstruction) {
    EXPECT_EQ(MString(static_cast<const char*>(nullptr)), "");
    EXPECT_EQ(MString("abcdef", 3), "abc");
    EXPECT_TRUE(MString() == static_cast<const char*>(nullptr));
    MString s("x");
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s, "x");
    EXPECT_EQ(MString("ABC").toUpperCase(), "ABC");
    EXPECT_EQ(MString("node") + "." + MString("attr") + 3u, "node.attr3");
}

TEST(MString, FormatKeepsEnoughDigits) {
    // Plain %g would print 1.23457e+06 and 0.333333, losing the value.
    EXPECT_EQ(MString() + 1234567.0, "1234567");
    EXPECT_EQ(MString() + 100.0, "100");
    EXPECT_EQ(MString() + 0.5, "0.5");
    MString f;
    f += 1e-7f;
    EXPECT_EQ(f, "1e-07");
    MString g;
    g += 16777216.0f;
    EXPECT_EQ(g, "16777216");
    MString set;
    set.set(2.0 / 3.0);
    EXPECT_EQ(set.asDouble(), 2.0 / 3.0);
}

TEST(MString, FloatRangeBoundaries) {
    EXPECT_TRUE(MString("3.4e38").isFloat());
    EXPECT_FALSE(MString("3.5e38").isFloat());
    EXPECT_TRUE(MString("-3.5e38").isDouble());
    EXPECT_TRUE(MString("1e-400").isDouble()); // underflow reads as 0
    EXPECT_EQ(MString("1e-400").asDouble(), 0.0);
}

TEST(MStatus, CodesAreDistinctAndTestable) {
    const MS::MStatusCode codes[] = {
        MS::kSuccess,          MS::kFailure,        MS::kInsufficientMemory,
        MS::kInvalidParameter, MS::kLicenseFailure, MS::kUnknownParameter,
        MS::kNotImplemented,   MS::kNotFound,       MS::kEndOfFile};
    for (auto a : codes) {
        for (auto b : codes) {
            if (a != b) {
                EXPECT_NE(MStatus(a).errorString(), MStatus(b).errorString()) << a << " " << b;
            }
        }
    }
    const MStatus ok;
    EXPECT_TRUE(ok);
    EXPECT_FALSE(ok.error());
    MStatus bad(MS::kNotFound);
    EXPECT_FALSE(bad);
    EXPECT_TRUE(bad == MS::kNotFound);
    std::ostringstream os;
    os << bad;
    EXPECT_EQ(os.str(), bad.errorString().asChar());
    bad.clear();
    EXPECT_EQ(bad, MS::kSuccess);
}
