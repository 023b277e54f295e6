// libFuzzer target of the Jet SQL dialect: any text, as a statement, is
// translated and run on a small bank. A statement either runs or fails
// with the engine's failure; a crash, a sanitizer report or a broken
// invariant of the translation is a finding.

#include "BankKey.h"
#include "BankRows.h"
#include "banks/format/BankFormat.h"
#include "db/Connection.h"
#include "db/JetSql.h"
#include "db/Recordset.h"
#include "vb/Failure.h"

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct Bank {
    QTemporaryDir dir;
    db::Connection conn;
    Bank()
    {
        std::vector<banks::QuestionRow> rows;
        for (int id = 1; id <= 12; ++id)
            rows.push_back(bankrows::question(id, (id - 1) % 7 + 1, id % 3 ? "0" : "1"));
        std::vector<banks::ChapterRow> chapters;
        for (int c = 1; c <= 7; ++c)
            chapters.push_back({c, QStringLiteral("第%1章").arg(c), 1});
        const QString path = dir.filePath(QStringLiteral("in.dll"));
        banks::writeBank(path, QStringLiteral(BANK_PASSWORD), chapters, rows);
        conn.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
                                 + QStringLiteral(";jet oledb:database password=" BANK_PASSWORD));
        conn.open();
    }
};

// What every translation keeps: values only as parameters, names only in
// brackets.
void checkTranslation(const db::Translation& tr)
{
    std::size_t marks = 0;
    for (char c : tr.sql) {
        if (c == '"' || c == '\'')
            std::abort(); // a literal or a double-quoted name in the SQL text
        marks += c == '?';
    }
    if (marks != tr.params.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Bank* bank = new Bank; // kept for the whole run
    const QString statement = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        checkTranslation(db::translateJet(statement));
    } catch (const vb::Failure&) {
        return 0;
    }
    vb::skipOnFailure([&] {
        db::Recordset rs;
        rs.open(statement, bank->conn, db::CursorType::Keyset, db::LockType::Optimistic);
        for (int i = 0; i < 3 && !rs.eof(); ++i, rs.moveNext())
            for (int f = 0; f < rs.fieldCount(); ++f)
                rs.value(f);
    });
    vb::skipOnFailure([&] { bank->conn.execute(statement); });
    return 0;
}
