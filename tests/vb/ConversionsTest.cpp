#include "vb/Conversions.h"
#include "vb/Failure.h"
#include "vb/Paths.h"
#include "vb/Variant.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

using namespace vb;

namespace {
long failureNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Failure& e) {
        return e.number();
    }
    return 0;
}
} // namespace

TEST(Conversions, RoundsHalfToEvenAndOverflowsOutsideTheRange)
{
    struct Case {
        double in;
        long integer; // 0 with overflow = true
        bool overflow;
    };
    const Case cases[] = {{2.5, 2, false},
                          {3.5, 4, false},
                          {-2.5, -2, false},
                          {0.5, 0, false},
                          {1.5, 2, false},
                          {2.4999, 2, false},
                          {32767.4, 32767, false},
                          {32767.5, 0, true},
                          {-32768.5, -32768, false},
                          {-32769, 0, true},
                          {std::numeric_limits<double>::quiet_NaN(), 0, true}};
    for (const Case& c : cases) {
        if (c.overflow)
            EXPECT_EQ(failureNumber([&] { toInteger(c.in); }), err::Overflow) << c.in;
        else
            EXPECT_EQ(toInteger(c.in), c.integer) << c.in;
    }
    EXPECT_EQ(toLong(2147483647.4), 2147483647);
    EXPECT_EQ(toLong(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(failureNumber([] { toLong(2147483647.5); }), err::Overflow);
}

TEST(Conversions, SingleTextAsTheRuntimeWritesIt)
{
    struct Case {
        float in;
        const char* text;
    };
    const Case cases[] = {
        {0.7055475f, "0.7055475"},
        {0.01401764f, "1.401764E-02"},
        {0.5f, "0.5"},
        {0.1f, "0.1"},
        {0.0001f, "0.0001"},
        {0.0001234f, "0.0001234"},
        {0.00012345f, "1.2345E-04"},
        {1e7f, "1E+07"},
        {1234567.f, "1234567"},
        {12345678.f, "1.234568E+07"},
        {5.960464e-8f, "5.960464E-08"},
        {-2.5f, "-2.5"},
        {0.f, "0"},
        {100.f, "100"},
        {1.401298e-45f, "1.401298E-45"},
        {0.9999999f, "0.9999999"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(singleText(c.in).toStdString(), c.text);
}

TEST(Conversions, DoubleTextKeepsFifteenDigits)
{
    EXPECT_EQ(doubleText(1.0 / 3).toStdString(), "0.333333333333333");
    EXPECT_EQ(doubleText(1.0 / 30).toStdString(), "3.33333333333333E-02");
    EXPECT_EQ(doubleText(123456789012345.0).toStdString(), "123456789012345");
    EXPECT_EQ(doubleText(1e15).toStdString(), "1E+15");
    EXPECT_EQ(doubleText(1e100).toStdString(), "1E+100");
    EXPECT_EQ(doubleText(12.0).toStdString(), "12");
}

TEST(Conversions, NumberTextIgnoresTheUserLocale)
{
    // A comma-decimal locale must change neither direction.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(singleText(0.25f).toStdString(), "0.25");
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("0.25")), 0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Conversions, TextToNumber)
{
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral(" 15 ")), 15);
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral(".5")), 0.5);
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("+1.4E-02")), 0.014);
    EXPECT_DOUBLE_EQ(textToDouble(QStringLiteral("-3")), -3);
    for (const char* bad : {"", ".", "..", "abc", "1e", "1 2", "1,5", "--1"})
        EXPECT_EQ(failureNumber([&] { textToDouble(QString::fromLatin1(bad)); }), err::TypeMismatch) << bad;
    EXPECT_EQ(failureNumber([] { textToDouble(QStringLiteral("1e400")); }), err::Overflow);
}

TEST(Variant, NullAndConversions)
{
    EXPECT_EQ(failureNumber([] { Variant::null().toString(); }), err::InvalidUseOfNull);
    EXPECT_EQ(Variant::null().toStringOrEmpty(), QString());
    EXPECT_EQ(Variant(std::int64_t{1041}).toString(), QStringLiteral("1041"));
    EXPECT_DOUBLE_EQ(Variant(QStringLiteral("2")).toDouble(), 2.0);
    EXPECT_EQ(failureNumber([] { Variant(QStringLiteral("x")).toDouble(); }), err::TypeMismatch);
    EXPECT_TRUE(Variant().isEmpty());
}

TEST(Paths, BackslashesBecomeSlashes)
{
    EXPECT_EQ(nativePath(QStringLiteral("/opt/app\\testimages\\a.png")), QStringLiteral("/opt/app/testimages/a.png"));
}
