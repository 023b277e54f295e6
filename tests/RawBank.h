#pragma once

// Changes a fixture bank behind the engine's back, as a hostile or damaged
// bank would be made: SQL straight on the keyed file.
#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include "BankKey.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace rawbank {

// An open, keyed bank file; each statement must succeed.
class Raw {
public:
    Raw(const QString& path, const QString& password = QStringLiteral(BANK_PASSWORD))
    {
        EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        const QByteArray key = password.toUtf8();
        sqlite3_key(db_, key.constData(), key.size());
    }
    ~Raw() { sqlite3_close_v2(db_); }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;

    void exec(const QString& sql)
    {
        char* msg = nullptr;
        const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &msg);
        EXPECT_EQ(rc, SQLITE_OK) << sql.toStdString() << ": " << (msg ? msg : "");
        sqlite3_free(msg);
    }

    sqlite3* get() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// Rebuilds a table with the given column declarations (any column left
// out or retyped), copying the named columns of its rows.
inline void retable(const QString& path, const QString& table, const QString& declarations, const QString& columns)
{
    Raw raw(path);
    raw.exec(QStringLiteral("ALTER TABLE %1 RENAME TO old; CREATE TABLE %1 (%2); "
                            "INSERT INTO %1 SELECT %3 FROM old; DROP TABLE old")
                 .arg(table, declarations, columns));
}

// The columns of `shiti2012` as the bank builder declares them.
inline const char* const QuestionColumns[] = {"id INTEGER", "question TEXT",    "ans1 TEXT", "ans2 TEXT",  "ans3 TEXT",
                                              "ans4 TEXT",  "ans TEXT",         "bmp TEXT",  "flash TEXT", "txbz TEXT",
                                              "state TEXT", "zhangjie INTEGER", "ycbz TEXT"};

// `shiti2012` rebuilt with one column left out (`retype` empty) or declared
// as `retype`.
inline void changeQuestionColumn(const QString& path, const QString& column, const QString& retype = QString())
{
    QStringList declarations, names;
    for (const char* c : QuestionColumns) {
        const QString decl = QString::fromLatin1(c);
        const QString name = decl.section(QLatin1Char(' '), 0, 0);
        if (name == column && retype.isEmpty())
            continue;
        declarations << (name == column ? name + QLatin1Char(' ') + retype : decl);
        names << name;
    }
    retable(path, QStringLiteral("shiti2012"), declarations.join(QLatin1Char(',')), names.join(QLatin1Char(',')));
}

} // namespace rawbank
