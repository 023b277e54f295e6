#include "vb/Codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(Codepage, ChineseCharactersAreTwoBytesAsciiOne)
{
    struct Case {
        const char* text;
        int bytes;
    } const cases[] = {
        {"", 0},        {"Torvasen", 8}, {"关闭", 4}, {"驾驶员理论考试模拟系", 20}, // ten characters
        {"第1章，", 7}, // a full-width comma is two bytes too
        {"&A还原", 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vb::lenB(QString::fromUtf8(c.text)), c.bytes) << c.text;
}

TEST(Codepage, RoundTripAndKnownBytes)
{
    const QString text = QStringLiteral("最小化 Alt+F4，科目一");
    EXPECT_EQ(vb::fromAnsi(vb::toAnsi(text)), text);
    // 关 is B9 D8 in code page 936.
    EXPECT_EQ(vb::toAnsi(QStringLiteral("关")), QByteArray("\xB9\xD8"));
    EXPECT_EQ(vb::fromAnsi(QByteArray("\xB9\xD8")), QStringLiteral("关"));
}

TEST(Codepage, WhatCannotBeHeldBecomesAQuestionMark)
{
    // An emoji has no place in code page 936; the rest of the text stays.
    EXPECT_EQ(vb::toAnsi(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                           "b")),
              QByteArray("a?b"));
    // A lone lead byte at the end and a byte that is no GBK lead.
    EXPECT_EQ(vb::fromAnsi(QByteArray("x\xB9")), QStringLiteral("x?"));
    EXPECT_EQ(vb::fromAnsi(QByteArray("\xFF"
                                      "y")),
              QStringLiteral("?y"));
}

} // namespace
