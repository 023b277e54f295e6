#pragma once

#include "vb/Variant.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace db {

// The rows of one table, inserted with one statement of `?` parameters
// ("INSERT INTO t VALUES (?, ?)"); an Empty value is written as Null.
struct TableRows {
    QString insert;
    std::vector<std::vector<vb::Variant>> rows;
};

// Writes a database file: an SQLCipher file keyed with the database
// password, made by the schema's statements and filled with the rows. The
// file is written beside the target and moved over it only when complete,
// so a failed write never leaves half a file.
void writeDatabase(const QString& path, const QString& password, const QStringList& schema,
                   const std::vector<TableRows>& tables);

} // namespace db
