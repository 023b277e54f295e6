#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace db {

// A literal of the statement, bound as a parameter so that no value ever
// becomes part of the SQL text that SQLite parses.
using SqlParam = std::variant<std::int64_t, double, QString>;

// A Jet statement of the supported subset, translated to SQLite.
struct Translation {
    enum class Kind { Select, Update };
    Kind kind = Kind::Select;
    QString table;
    QStringList columns; // Select: the selected columns, as written
    std::string sql;     // Select: "SELECT rowid FROM ..." (the keyset); Update: the update
    std::vector<SqlParam> params;
};

// Parses one Jet statement: select of plain columns from one table with
// where and order by, or update ... set ... where. Expressions: or, and,
// not, comparisons, in(number, ...), + and -, unary minus, number and text
// literals, columns, rnd(), Instr() and cstr(). Anything else, and a second
// statement, fails with the provider's syntax error.
Translation translateJet(const QString& statement);

// A table or column name as the SQLite text names it: in brackets, not
// double quotes, since SQLite reads an unknown double-quoted name as a text,
// so a misspelt or missing column would silently compare as a literal
// instead of failing.
std::string quotedName(const QString& name);

} // namespace db
