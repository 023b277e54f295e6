#pragma once

#include "vb/Variant.h"

#include <QString>
#include <vector>

namespace banks {

// One row of `shiti2012`; an Empty value is written as Null.
struct QuestionRow {
    vb::Variant id, question, ans1, ans2, ans3, ans4, ans, bmp, flash, txbz, state, zhangjie, ycbz;
};

// One row of `zhangjie`.
struct ChapterRow {
    vb::Variant zhangjieid, zhangjiename, state;
};

// Writes a question bank: the tables `shiti2012` and `zhangjie` in an
// SQLCipher file keyed with the database password.
void writeBank(const QString& path, const QString& password, const std::vector<ChapterRow>& chapters,
               const std::vector<QuestionRow>& questions);

} // namespace banks
