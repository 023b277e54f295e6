#pragma once

#include "banks/format/BankFormat.h"

namespace bankrows {

// A question row of a fixture bank: "问题<id>" with four options; the
// rest as the test needs.
inline banks::QuestionRow question(int id, int chapter, const char* ycbz = "0", const char* txbz = "3",
                                   const char* ans = "1")
{
    banks::QuestionRow q;
    q.id = id;
    q.question = QStringLiteral("问题%1").arg(id);
    q.ans1 = QStringLiteral("甲");
    q.ans2 = QStringLiteral("乙");
    q.ans3 = QStringLiteral("丙");
    q.ans4 = QStringLiteral("丁");
    q.ans = QString::fromLatin1(ans);
    q.bmp = vb::Variant::null();
    q.txbz = QString::fromLatin1(txbz);
    q.state = QString();
    q.zhangjie = chapter;
    q.ycbz = QString::fromLatin1(ycbz);
    return q;
}

} // namespace bankrows
