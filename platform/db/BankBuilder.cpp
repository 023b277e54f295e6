#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include "db/BankBuilder.h"

#include "db/Errors.h"
#include "vb/Failure.h"
#include "vb/Paths.h"

#include <QFile>
#include <cstdio>

namespace db {

namespace {

struct Db {
    sqlite3* db = nullptr;
    ~Db() { sqlite3_close_v2(db); }
    [[noreturn]] void fail() const
    {
        vb::raise(err::Provider, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
    }
    void exec(const char* sql) const
    {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
    }
};

struct Stmt {
    sqlite3_stmt* s = nullptr;
    ~Stmt() { sqlite3_finalize(s); }
};

int bindValue(sqlite3_stmt* s, int index, const vb::Variant& v)
{
    using T = vb::Variant::Type;
    switch (v.type()) {
    case T::Empty:
    case T::Null: return sqlite3_bind_null(s, index);
    case T::Boolean:
    case T::Long: return sqlite3_bind_int64(s, index, v.toInt64());
    case T::Double: return sqlite3_bind_double(s, index, v.toDouble());
    case T::String: {
        const QByteArray u = v.toString().toUtf8();
        return sqlite3_bind_text(s, index, u.constData(), u.size(), SQLITE_TRANSIENT);
    }
    }
    return SQLITE_MISUSE;
}

void insertAll(const Db& d, const TableRows& table)
{
    Stmt st;
    const QByteArray sql = table.insert.toUtf8();
    if (sqlite3_prepare_v2(d.db, sql.constData(), -1, &st.s, nullptr) != SQLITE_OK)
        d.fail();
    for (const auto& row : table.rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            if (bindValue(st.s, static_cast<int>(i) + 1, row[i]) != SQLITE_OK)
                d.fail();
        if (sqlite3_step(st.s) != SQLITE_DONE)
            d.fail();
        sqlite3_reset(st.s);
    }
}

} // namespace

void writeDatabase(const QString& path, const QString& password, const QStringList& schema,
                   const std::vector<TableRows>& tables)
{
    const QString target = vb::nativePath(path);
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp);
    try {
        Db d;
        if (sqlite3_open_v2(QFile::encodeName(temp).constData(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr)
            != SQLITE_OK)
            d.fail();
        const QByteArray key = password.toUtf8();
        if (!key.isEmpty() && sqlite3_key(d.db, key.constData(), key.size()) != SQLITE_OK)
            d.fail();
        d.exec("BEGIN");
        for (const QString& statement : schema)
            d.exec(statement.toUtf8().constData());
        for (const TableRows& table : tables)
            insertAll(d, table);
        d.exec("COMMIT");
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    // rename() replaces the old bank in one step.
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        vb::raise(err::Provider, QStringLiteral("Could not write '%1'.").arg(target));
    }
}

} // namespace db
