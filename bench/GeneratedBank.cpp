#include "GeneratedBank.h"

#include "BankKey.h"
#include "banks/format/BankFormat.h"

void writeGeneratedBank(const QString& path, int size)
{
    std::vector<banks::QuestionRow> rows;
    rows.reserve(static_cast<std::size_t>(size));
    for (int id = 1; id <= size; ++id) {
        banks::QuestionRow q;
        q.id = id;
        q.question = QStringLiteral("驾驶机动车在道路上行驶，遇到这种情况应当怎样做？第%1题").arg(id);
        q.ans1 = QStringLiteral("减速慢行，注意观察");
        q.ans2 = QStringLiteral("加速通过");
        q.ans3 = QStringLiteral("鸣喇叭示意");
        q.ans4 = QStringLiteral("停车等待");
        q.ans = QStringLiteral("1");
        q.bmp = (id % 10 == 0) ? vb::Variant(QStringLiteral("\\p_stop.png")) : vb::Variant();
        q.txbz = (id % 10 == 3) ? QStringLiteral("2") : QStringLiteral("3");
        q.state = QString();
        q.zhangjie = static_cast<std::int64_t>(id) * 7 % size * 14 / size + 1;
        q.ycbz = (id % 5 == 0) ? QStringLiteral("1") : QStringLiteral("0");
        rows.push_back(q);
    }
    std::vector<banks::ChapterRow> chapters;
    for (int c = 1; c <= 14; ++c)
        chapters.push_back({c, QStringLiteral("第%1章").arg(c), c <= 7 ? 1 : 2});
    banks::writeBank(path, QStringLiteral(BANK_PASSWORD), chapters, rows);
}
