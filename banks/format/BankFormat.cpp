#include "banks/format/BankFormat.h"

#include "db/BankBuilder.h"

namespace banks {

void writeBank(const QString& path, const QString& password, const std::vector<ChapterRow>& chapters,
               const std::vector<QuestionRow>& questions)
{
    const QStringList schema = {
        QStringLiteral("CREATE TABLE shiti2012 (id INTEGER, question TEXT, ans1 TEXT, ans2 TEXT, ans3 TEXT, ans4 TEXT, "
                       "ans TEXT, bmp TEXT, flash TEXT, txbz TEXT, state TEXT, zhangjie INTEGER, ycbz TEXT)"),
        QStringLiteral("CREATE INDEX shiti2012_id ON shiti2012 (id)"),
        QStringLiteral("CREATE INDEX shiti2012_zhangjie ON shiti2012 (zhangjie, id)"),
        // Clearing the answers finds the answered rows through this index.
        QStringLiteral("CREATE INDEX shiti2012_state ON shiti2012 (state)"),
        QStringLiteral("CREATE TABLE zhangjie (zhangjieid INTEGER, zhangjiename TEXT, state INTEGER)"),
    };
    db::TableRows chapterRows{QStringLiteral("INSERT INTO zhangjie VALUES (?, ?, ?)"), {}};
    for (const ChapterRow& c : chapters)
        chapterRows.rows.push_back({c.zhangjieid, c.zhangjiename, c.state});
    db::TableRows questionRows{QStringLiteral("INSERT INTO shiti2012 VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                               {}};
    questionRows.rows.reserve(questions.size());
    for (const QuestionRow& q : questions)
        questionRows.rows.push_back({q.id, q.question, q.ans1, q.ans2, q.ans3, q.ans4, q.ans, q.bmp, q.flash, q.txbz,
                                     q.state, q.zhangjie, q.ycbz});
    db::writeDatabase(path, password, schema, {chapterRows, questionRows});
}

} // namespace banks
