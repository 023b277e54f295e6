#include "BankSource.h"

#include "forms/Runtime.h"
#include "study/TextFit.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <map>
#include <set>
#include <tuple>

namespace banks {

namespace {

struct Record {
    QString file;
    int line = 0;
    long long id = 0;
    std::map<QString, QString> values;
};

QString where(const QString& file, int line)
{
    return QStringLiteral("%1:%2: ").arg(file).arg(line);
}

QStringList readLines(const QString& path, QStringList& errors)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        errors << QStringLiteral("%1: cannot read").arg(path);
        return {};
    }
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
}

void readChapters(const QString& path, std::map<long long, banks::ChapterRow>& chapters, QStringList& errors)
{
    const QStringList lines = readLines(path, errors);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = lines[i].split(QLatin1Char('\t'));
        bool idOk = false, groupOk = false;
        const long long id = parts.value(0).trimmed().toLongLong(&idOk);
        const int group = parts.value(1).trimmed().toInt(&groupOk);
        if (parts.size() != 3 || !idOk || !groupOk || (group != 1 && group != 2) || parts[2].trimmed().isEmpty()) {
            errors << where(path, i + 1) + QStringLiteral("expected id<TAB>group (1 or 2)<TAB>title");
            continue;
        }
        if ((group == 1) != (id >= 1 && id <= 7) && !(group == 2 && id >= 8 && id <= 14))
            errors << where(path, i + 1) + QStringLiteral("chapter %1 is not in group %2").arg(id).arg(group);
        chapters[id] = {static_cast<std::int64_t>(id), parts[2].trimmed(), group};
    }
}

std::vector<Record> readRecords(const QString& path, QStringList& errors)
{
    std::vector<Record> out;
    const QStringList lines = readLines(path, errors);
    static const QRegularExpression header(QStringLiteral("^\\[(\\d+)\\]$"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto m = header.match(line);
        if (m.hasMatch()) {
            Record r;
            r.file = path;
            r.line = i + 1;
            r.id = m.captured(1).toLongLong();
            out.push_back(r);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (out.empty() || eq <= 0) {
            errors << where(path, i + 1) + QStringLiteral("expected [id] or key = value");
            continue;
        }
        const QString key = line.left(eq).trimmed();
        if (out.back().values.count(key))
            errors << where(path, i + 1) + QStringLiteral("%1 given twice").arg(key);
        out.back().values[key] = line.mid(eq + 1).trimmed();
    }
    return out;
}

banks::QuestionRow toRow(const Record& r, const QString& pictureFolder, QStringList& pictures, QStringList& errors)
{
    const QString at = where(r.file, r.line);
    static const std::set<QString> known = {QStringLiteral("ch"),  QStringLiteral("type"), QStringLiteral("q"),
                                            QStringLiteral("A"),   QStringLiteral("B"),    QStringLiteral("C"),
                                            QStringLiteral("D"),   QStringLiteral("ans"),  QStringLiteral("pic"),
                                            QStringLiteral("hard")};
    for (const auto& [key, value] : r.values) {
        if (!known.count(key))
            errors << at + QStringLiteral("unknown key %1").arg(key);
        if (value.isEmpty())
            errors << at + QStringLiteral("%1 is empty").arg(key);
    }
    auto get = [&](const char* key) {
        auto it = r.values.find(QLatin1String(key));
        return it == r.values.end() ? QString() : it->second;
    };
    banks::QuestionRow q;
    q.id = static_cast<std::int64_t>(r.id);
    bool chOk = false;
    const int ch = get("ch").toInt(&chOk);
    if (!chOk || ch < 1 || ch > 14)
        errors << at + QStringLiteral("ch must be 1 to 14");
    q.zhangjie = ch;
    if (get("q").isEmpty())
        errors << at + QStringLiteral("q is missing");
    q.question = get("q");

    const QString type = get("type");
    const QString ans = get("ans");
    const bool tf = type == QLatin1String("tf");
    if (tf) {
        for (const char* o : {"A", "B", "C", "D"})
            if (!get(o).isEmpty())
                errors << at + QStringLiteral("a tf question has no options");
        q.ans1 = QStringLiteral("正确");
        q.ans2 = QStringLiteral("错误");
        q.ans3 = vb::Variant::null();
        q.ans4 = vb::Variant::null();
        q.txbz = QStringLiteral("1");
        if (ans != QLatin1String("1") && ans != QLatin1String("2"))
            errors << at + QStringLiteral("a tf answer is 1 (正确) or 2 (错误)");
    } else if (type == QLatin1String("single") || type == QLatin1String("multi")) {
        const QString a = get("A"), b = get("B"), c = get("C"), d = get("D");
        if (a.isEmpty() || b.isEmpty() || c.isEmpty() || d.isEmpty())
            errors << at + QStringLiteral("%1 needs options A, B, C and D").arg(type);
        if (std::set<QString>{a, b, c, d}.size() != 4)
            errors << at + QStringLiteral("two options are the same");
        q.ans1 = a;
        q.ans2 = b;
        q.ans3 = c;
        q.ans4 = d;
        const bool multi = type == QLatin1String("multi");
        q.txbz = multi ? QStringLiteral("2") : QStringLiteral("3");
        static const QRegularExpression one(QStringLiteral("^[1-4]$"));
        static const QRegularExpression several(QStringLiteral("^1?2?3?4?$"));
        if (multi ? (ans.size() < 2 || !several.match(ans).hasMatch()) : !one.match(ans).hasMatch())
            errors << at
                    + (multi ? QStringLiteral("a multi answer is two or more of 1 to 4, ascending")
                             : QStringLiteral("a single answer is one of 1 to 4"));
    } else {
        errors << at + QStringLiteral("type must be tf, single or multi");
    }
    q.ans = ans;

    const QString pic = get("pic");
    if (pic.isEmpty()) {
        q.bmp = vb::Variant::null();
    } else {
        // The program joins the folder and the value with nothing between.
        static const QRegularExpression name(QStringLiteral("^\\\\([a-z0-9_]+)\\.png$"));
        const auto m = name.match(pic);
        if (!m.hasMatch())
            errors << at + QStringLiteral("pic must look like \\name.png");
        else if (!QFile::exists(QDir(pictureFolder).filePath(m.captured(1) + QStringLiteral(".svg"))))
            errors << at + QStringLiteral("no picture %1.svg").arg(m.captured(1));
        else if (!pictures.contains(m.captured(1) + QStringLiteral(".png")))
            pictures << m.captured(1) + QStringLiteral(".png");
        q.bmp = pic;
    }

    const QString hard = get("hard");
    if (!hard.isEmpty() && (hard != QLatin1String("1") || ch > 7))
        errors << at + QStringLiteral("hard is 1, and only in part 1");
    q.ycbz = hard == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    q.flash = QString();
    q.state = QString();
    return q;
}

// The window's own wrap: every title, with the widest number its part's
// lists give it, and every question's option lines must be readable in
// their labels at the design font, and a wrapped line must not leave one
// character alone.
void checkLayout(const std::vector<std::pair<QString, banks::QuestionRow>>& located, QStringList& errors)
{
    int part1 = 0, part2 = 0;
    for (const auto& [at, q] : located)
        (q.zhangjie.toDouble() <= 7 ? part1 : part2)++;
    for (const auto& [at, q] : located) {
        const QString number = QString::number(q.zhangjie.toDouble() <= 7 ? part1 : part2);
        const QString title = number + QLatin1Char('.') + q.question.toStringOrEmpty();
        const QString options = study::optionLines(
            {q.ans1.toStringOrEmpty(), q.ans2.toStringOrEmpty(), q.ans3.toStringOrEmpty(), q.ans4.toStringOrEmpty()});
        const QString id = q.id.toString();
        for (const auto& [name, text, label] :
             {std::tuple{"title", title, study::TitleLabel}, std::tuple{"options", options, study::OptionsLabel}}) {
            const QFont font = label.font();
            const study::Wrap w = study::wrapText(font, forms::toPixelsX(label.width), text);
            const QString what = QStringLiteral("[%1] the %2 ").arg(id, QLatin1String(name));
            if (!study::fitsIn(font, label, text))
                errors << at + what + QStringLiteral("does not fit its label (%1 lines)").arg(w.lines.size());
            else if (w.orphan)
                errors << at + what + QStringLiteral("leaves one character alone on a line");
        }
    }
}

} // namespace

BankSource readSources(const QStringList& folders, const QString& pictureFolder, QStringList& errors)
{
    BankSource bank;
    std::map<long long, banks::ChapterRow> chapters;
    std::map<long long, QString> seen;
    std::vector<std::pair<QString, banks::QuestionRow>> located;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists()) {
            errors << QStringLiteral("%1: no such folder").arg(folder);
            continue;
        }
        if (dir.exists(QStringLiteral("chapters.tsv")))
            readChapters(dir.filePath(QStringLiteral("chapters.tsv")), chapters, errors);
        for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            for (const Record& r : readRecords(dir.filePath(name), errors)) {
                const QString at = where(r.file, r.line);
                if (seen.count(r.id))
                    errors << at + QStringLiteral("id %1 already used at %2").arg(r.id).arg(seen[r.id]);
                seen[r.id] = at.chopped(2);
                located.emplace_back(at, toRow(r, pictureFolder, bank.pictures, errors));
            }
        }
    }
    checkLayout(located, errors);
    for (const auto& [at, q] : located)
        bank.questions.push_back(q);
    for (const auto& [id, row] : chapters)
        bank.chapters.push_back(row);
    std::sort(
        bank.questions.begin(), bank.questions.end(),
        [](const banks::QuestionRow& a, const banks::QuestionRow& b) { return a.id.toDouble() < b.id.toDouble(); });
    std::sort(bank.pictures.begin(), bank.pictures.end());
    return bank;
}

} // namespace banks
