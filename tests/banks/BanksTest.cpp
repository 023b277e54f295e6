// Every rule a shipped bank must keep, checked over the three built banks.
#include "BankKey.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Recordset.h"
#include "vb/Failure.h"
#include "vb/Paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

namespace {

struct Deliverable {
    const char* name;
    const char* file;
    std::map<int, int> quotas; // part-1 paper quotas by chapter
};

void PrintTo(const Deliverable& d, std::ostream* os)
{
    *os << d.name;
}

const std::map<int, int> Part2Quotas = {{8, 10}, {9, 20}, {10, 20}, {11, 10}, {12, 15}, {13, 20}, {14, 5}};

const Deliverable Deliverables[] = {
    {"quenvik", "hc.dll", {{1, 30}, {2, 30}, {3, 25}, {4, 10}, {5, 5}}},
    {"lodrasse", "kc.dll", {{1, 30}, {2, 30}, {3, 25}, {4, 10}, {5, 5}}},
    {"penmaro", "in.dll", {{1, 30}, {2, 30}, {3, 25}, {4, 15}}},
};

QString folderOf(const Deliverable& d)
{
    return QStringLiteral(BUILD_DIR "/") + QLatin1String(d.name);
}

QString connString(const Deliverable& d, const char* password)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + folderOf(d) + QLatin1Char('\\')
        + QLatin1String(d.file) + QStringLiteral(";jet oledb:database password=") + QLatin1String(password);
}

class Bank : public ::testing::TestWithParam<Deliverable> {};

TEST_P(Bank, KeepsEveryRuleOfAShippedBank)
{
    const Deliverable& d = GetParam();
    db::Connection conn;
    conn.setConnectionString(connString(d, BANK_PASSWORD));
    ASSERT_NO_THROW(conn.open());

    db::Recordset rs;
    rs.open(QStringLiteral("select id,question,ans1,ans2,ans3,ans4,ans,bmp,flash,txbz,state,zhangjie,ycbz from "
                           "shiti2012 order by id asc"),
            conn);
    std::set<long long> ids;
    std::map<int, int> perChapter;
    int total = 0, multi = 0, part1 = 0, hard = 0, pictures = 0, part2Multi = 0;
    static const QRegularExpression single(QStringLiteral("^[1-4]$"));
    static const QRegularExpression several(QStringLiteral("^1?2?3?4?$"));
    for (; !rs.eof(); rs.moveNext()) {
        auto text = [&](const char* c) { return rs.value(QLatin1String(c)).toStringOrEmpty(); };
        const long long id = static_cast<long long>(rs.value(QStringLiteral("id")).toDouble());
        const std::string at = std::string(d.name) + " id " + std::to_string(id);
        EXPECT_TRUE(ids.insert(id).second) << at << " twice";
        const int ch = static_cast<int>(rs.value(QStringLiteral("zhangjie")).toDouble());
        ASSERT_TRUE(ch >= 1 && ch <= 14) << at;
        ++perChapter[ch];
        ++total;
        part1 += ch <= 7;
        EXPECT_FALSE(text("question").isEmpty()) << at;
        EXPECT_TRUE(text("state").isEmpty()) << at;
        EXPECT_TRUE(text("flash").isEmpty()) << at;

        const QString type = text("txbz");
        const QString ans = text("ans");
        QStringList options;
        for (const char* c : {"ans1", "ans2", "ans3", "ans4"})
            if (!text(c).isEmpty())
                options << text(c);
        if (type == QLatin1String("1")) {
            EXPECT_EQ(options, (QStringList{QStringLiteral("正确"), QStringLiteral("错误")})) << at;
            EXPECT_TRUE(ans == QLatin1String("1") || ans == QLatin1String("2")) << at;
        } else if (type == QLatin1String("3")) {
            EXPECT_EQ(options.size(), 4) << at;
            EXPECT_TRUE(single.match(ans).hasMatch()) << at;
        } else if (type == QLatin1String("2")) {
            ++multi;
            part2Multi += ch >= 8;
            // The subject-1 test has had no multiple choice since 2013.
            EXPECT_GE(ch, 8) << at << " multiple choice in part 1";
            EXPECT_EQ(options.size(), 4) << at;
            EXPECT_TRUE(ans.size() >= 2 && several.match(ans).hasMatch()) << at << " ans " << ans.toStdString();
        } else {
            ADD_FAILURE() << at << " type " << type.toStdString();
        }

        if (text("ycbz") == QLatin1String("1")) {
            ++hard;
            EXPECT_LE(ch, 7) << at << " error-prone outside part 1";
        }
        const QString bmp = text("bmp");
        if (!bmp.isEmpty()) {
            ++pictures;
            EXPECT_TRUE(bmp.startsWith(QLatin1Char('\\'))) << at;
            // The program's own join: folder, "\testimages", value.
            const QString path = vb::nativePath(folderOf(d) + QStringLiteral("\\testimages") + bmp);
            EXPECT_TRUE(QFile::exists(path)) << at << " " << path.toStdString();
        }
    }

    for (const auto& [ch, quota] : d.quotas)
        EXPECT_GE(perChapter[ch], 2 * quota) << d.name << " chapter " << ch;
    for (int ch : {6, 7})
        EXPECT_GE(perChapter[ch], 10) << d.name << " chapter " << ch;
    for (const auto& [ch, quota] : Part2Quotas)
        EXPECT_GE(perChapter[ch] * 5, quota * 6) << d.name << " chapter " << ch;
    EXPECT_EQ(part2Multi, multi) << d.name;
    EXPECT_GE(multi * 10, total - part1) << d.name << ": fewer than a tenth of part 2 multiple choice";
    EXPECT_NEAR(static_cast<double>(hard) / part1, 0.2, 0.05) << d.name;
    EXPECT_GE(pictures, 30) << d.name;

    db::Recordset chapters;
    chapters.open(QStringLiteral("select zhangjieid,zhangjiename,state from zhangjie order by zhangjieid asc"), conn);
    std::map<int, int> groups;
    for (; !chapters.eof(); chapters.moveNext()) {
        const int id = static_cast<int>(chapters.value(0).toDouble());
        const int group = static_cast<int>(chapters.value(2).toDouble());
        EXPECT_EQ(group, id <= 7 ? 1 : 2) << d.name << " chapter " << id;
        EXPECT_FALSE(chapters.value(1).toStringOrEmpty().isEmpty());
        ++groups[group];
    }
    EXPECT_EQ(groups, (std::map<int, int>{{1, 7}, {2, 7}})) << d.name;
}

TEST_P(Bank, OpensWithItsKeyOnly)
{
    db::Connection conn;
    conn.setConnectionString(connString(GetParam(), "qz.marvolen.t41"));
    try {
        conn.open();
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const vb::Failure& f) {
        EXPECT_EQ(f.number(), db::err::BadPassword);
    }
}

TEST_P(Bank, BackgroundPictureNamesTheBanksSize)
{
    // The main window's background states the size of the bank it ships with.
    const Deliverable& d = GetParam();
    QFile summary(folderOf(d) + QLatin1Char('/') + QLatin1String(d.file) + QStringLiteral(".summary.txt"));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const QString questions = QString::fromUtf8(summary.readLine()).trimmed().section(QLatin1Char(' '), 1);
    QFile background(QStringLiteral(SOURCE_DIR "/resources/background_") + QLatin1String(d.name)
                     + QStringLiteral(".svg"));
    ASSERT_TRUE(background.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(background.readAll());
    EXPECT_TRUE(svg.contains(QStringLiteral("题库共 ") + questions + QStringLiteral(" 题")))
        << d.name << " holds " << questions.toStdString() << " questions";
}

INSTANTIATE_TEST_SUITE_P(Deliverables, Bank, ::testing::ValuesIn(Deliverables),
                         [](const auto& test) { return std::string(test.param.name); });

// The builder lays every record out as the window will and refuses one
// that does not fit its label, naming it; nothing is written then.
TEST(Builder, RefusesARecordThatDoesNotFitItsLabel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.filePath(QStringLiteral("src")), out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(src));
    auto write = [&](const QString& name, const QString& text) {
        QFile f(src + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    };
    QString chapters;
    for (int c = 1; c <= 14; ++c)
        chapters += QStringLiteral("%1\t%2\t第%1章\n").arg(c).arg(c <= 7 ? 1 : 2);
    write(QStringLiteral("chapters.tsv"), chapters);
    const QString clause = QStringLiteral("在高速公路上行驶遇到前方车辆紧急制动时");
    struct Case {
        const char* name;
        QString question, option;
        const char* fault; // empty: the bank is written
    };
    const Case cases[] = {
        {"fits", QStringLiteral("这个标志是何含义？"), QStringLiteral("向左急转弯"), ""},
        {"options too long", QStringLiteral("这个标志是何含义？"), clause + clause + clause + clause + clause + clause,
         "[1001] the options does not fit"},
        // Two lines at 15 pt: the second runs on over the picture area, its
        // letters above it.
        {"title of two lines", clause + clause + clause + clause, QStringLiteral("向左急转弯"), ""},
        {"title of three lines", clause + clause + clause + clause + clause + clause, QStringLiteral("向左急转弯"),
         "[1001] the title does not fit"},
    };
    for (const Case& c : cases) {
        write(QStringLiteral("ch01.txt"),
              QStringLiteral("[1001]\nch = 1\ntype = single\nq = %1\nA = %2\nB = 乙\nC = 丙\nD = 丁\nans = 1\n")
                  .arg(c.question, c.option));
        QDir(out).removeRecursively();
        const std::string command = std::string(BUILD_DIR "/banks/bankbuild --out ") + out.toStdString()
            + " --file x.dll --password p --pictures " SOURCE_DIR "/banks/pictures " + src.toStdString() + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string said;
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe))
            said += buffer;
        const int status = pclose(pipe);
        const bool refused = *c.fault != 0;
        EXPECT_EQ(status != 0, refused) << c.name << ": " << said;
        EXPECT_EQ(QFile::exists(out + QStringLiteral("/x.dll")), !refused) << c.name;
        if (refused) {
            EXPECT_NE(said.find(c.fault), std::string::npos) << c.name << ": " << said;
        }
    }
}

} // namespace
