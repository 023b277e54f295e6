#pragma once

#include "BankKey.h"
#include "BankRows.h"
#include "banks/format/BankFormat.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "vb/Failure.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace fixture {

using bankrows::question;

inline const QString Password = QStringLiteral(BANK_PASSWORD);

inline std::vector<banks::ChapterRow> chapters(int first, int last)
{
    std::vector<banks::ChapterRow> out;
    for (int c = first; c <= last; ++c)
        out.push_back({c, QStringLiteral("第%1章").arg(c), c <= 7 ? 1 : 2});
    return out;
}

inline QString connString(const QString& path, const QString& password = Password)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
        + QStringLiteral(";jet oledb:database password=") + password;
}

inline QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

inline long failureNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const vb::Failure& e) {
        return e.number();
    }
    return 0;
}

// Reads one column of every row of an open list, from its first record.
inline std::vector<QString> column(db::Recordset& rs, const QString& name)
{
    std::vector<QString> out;
    if (rs.recordCount() == 0)
        return out;
    rs.moveFirst();
    for (; !rs.eof(); rs.moveNext())
        out.push_back(rs.value(name).toStringOrEmpty());
    return out;
}

} // namespace fixture
