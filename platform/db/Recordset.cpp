#include "db/Recordset.h"

#include "db/Connection.h"
#include "db/Errors.h"
#include "db/JetSql.h"
#include "db/Sqlite.h"
#include "vb/Failure.h"

namespace db {

namespace {
[[noreturn]] void closedFailure()
{
    vb::raise(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}
[[noreturn]] void noCurrentRecord()
{
    vb::raise(err::NoCurrentRecord,
              QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                             "Requested operation requires a current record."));
}
} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

bool Recordset::isOpen() const
{
    return open_ && session_ && session_->open;
}

void Recordset::checkOpen() const
{
    if (!isOpen())
        closedFailure();
}

void Recordset::checkCurrent() const
{
    checkOpen();
    if (pos_ < 0 || pos_ >= static_cast<int>(keys_.size()))
        noCurrentRecord();
}

void Recordset::open(const QString& statement, Connection& connection, CursorType cursor, LockType lock)
{
    if (isOpen())
        vb::raise(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    std::shared_ptr<Session> session = connection.session();
    if (!session->open)
        vb::raise(err::ConnectionUnusable,
                  QStringLiteral("The connection cannot be used to perform this operation. It is either closed "
                                 "or invalid in this context."));
    const Translation tr = translateJet(statement);
    if (tr.kind != Translation::Kind::Select)
        vb::raise(err::NotAllowed, QStringLiteral("Only a select statement opens a recordset."));

    // The statements are prepared before anything is read, so an unknown
    // column fails the opening first. A list read whole needs no fetch
    // statement: its one statement carries the columns.
    std::string columns;
    for (const QString& c : tr.columns)
        columns += (columns.empty() ? "" : ", ") + quotedName(c);
    const bool whole = cursor == CursorType::ForwardOnly;
    std::unique_ptr<detail::Statement> fetch;
    if (!whole)
        fetch = std::make_unique<detail::Statement>(
            session->handle, "SELECT " + columns + " FROM " + quotedName(tr.table) + " WHERE rowid = ?");

    std::vector<bool> integerColumns;
    std::vector<std::int64_t> keys;
    std::vector<vb::Variant> snapshot;
    {
        std::string sql = tr.sql;
        if (whole)
            sql.replace(0, std::string("SELECT rowid").size(), "SELECT rowid, " + columns);
        detail::Statement keyset(session->handle, sql);
        const int first = whole ? 1 : 0; // the first column of the list's own
        const detail::Statement& typed = whole ? keyset : *fetch;
        for (int i = first; i < typed.columns(); ++i)
            integerColumns.push_back(typed.integerColumn(i));
        keyset.bind(tr.params);
        while (keyset.step()) {
            keys.push_back(keyset.columnInt(0));
            if (whole)
                for (int i = 1; i < keyset.columns(); ++i)
                    snapshot.push_back(keyset.column(i));
        }
    }

    session_ = std::move(session);
    cursor_ = cursor;
    lock_ = lock;
    table_ = tr.table;
    columns_ = tr.columns;
    integerColumns_ = std::move(integerColumns);
    keys_ = std::move(keys);
    snapshot_ = std::move(snapshot);
    placeOfKey_.clear();
    fetch_ = std::move(fetch);
    write_.reset();
    rowPos_ = -1;
    pos_ = 0;
    open_ = true;
}

void Recordset::close()
{
    checkOpen();
    open_ = false;
    fetch_.reset();
    write_.reset();
    keys_.clear();
    snapshot_.clear();
    placeOfKey_.clear();
    rowPos_ = -1;
}

bool Recordset::eof() const
{
    checkOpen();
    return keys_.empty() || pos_ >= static_cast<int>(keys_.size());
}

bool Recordset::bof() const
{
    checkOpen();
    return keys_.empty() || pos_ < 0;
}

void Recordset::moveFirst()
{
    checkOpen();
    pos_ = 0;
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof())
        noCurrentRecord();
    ++pos_;
}

void Recordset::movePrevious()
{
    checkOpen();
    if (cursor_ == CursorType::ForwardOnly)
        vb::raise(err::NotAllowed, QStringLiteral("A forward-only list cannot move back."));
    if (bof())
        noCurrentRecord();
    --pos_;
}

int Recordset::absolutePosition() const
{
    checkOpen();
    if (bof())
        return keys_.empty() ? PosEOF : PosBOF;
    if (eof())
        return PosEOF;
    return pos_ + 1;
}

int Recordset::recordCount() const
{
    checkOpen();
    return static_cast<int>(keys_.size());
}

vb::Variant Recordset::bookmark() const
{
    checkCurrent();
    // The row id itself, all 64 bits of it: a double would merge the ids
    // above 2^53.
    return vb::Variant(keys_[static_cast<std::size_t>(pos_)]);
}

void Recordset::setBookmark(const vb::Variant& bookmark)
{
    checkOpen();
    if (placeOfKey_.empty())
        for (std::size_t i = 0; i < keys_.size(); ++i)
            placeOfKey_.emplace(keys_[i], static_cast<int>(i));
    auto found = placeOfKey_.end();
    if (bookmark.type() == vb::Variant::Type::Long) {
        found = placeOfKey_.find(bookmark.toInt64());
    } else if (bookmark.type() == vb::Variant::Type::Double) {
        // A whole double in range names the same row; converting any other
        // double would be undefined.
        const double d = bookmark.toDouble();
        if (d >= -9223372036854775808.0 && d < 9223372036854775808.0
            && d == static_cast<double>(static_cast<std::int64_t>(d)))
            found = placeOfKey_.find(static_cast<std::int64_t>(d));
    }
    if (found == placeOfKey_.end())
        vb::raise(err::BadArgument,
                  QStringLiteral("Arguments are of the wrong type, are out of acceptable range, "
                                 "or are in conflict with one another."));
    pos_ = found->second;
}

int Recordset::fieldCount() const
{
    checkOpen();
    return static_cast<int>(columns_.size());
}

QString Recordset::fieldName(int index) const
{
    checkOpen();
    if (index < 0 || index >= columns_.size())
        vb::raise(err::ItemNotFound,
                  QStringLiteral("Item cannot be found in the collection corresponding to "
                                 "the requested name or ordinal."));
    return columns_[index];
}

int Recordset::columnIndex(const QString& column) const
{
    // Mostly the name as the statement wrote it: found without folding case.
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i] == column)
            return i;
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    vb::raise(err::ItemNotFound,
              QStringLiteral("Item cannot be found in the collection corresponding to the "
                             "requested name or ordinal."));
}

std::span<const vb::Variant> Recordset::row() const
{
    checkCurrent();
    if (cursor_ == CursorType::ForwardOnly) {
        const std::span<const vb::Variant> values(snapshot_.data() + static_cast<std::size_t>(pos_) * columns_.size(),
                                                  static_cast<std::size_t>(columns_.size()));
        checkTypes(values);
        return values;
    }
    const auto& handle = *session_->handle;
    if (rowPos_ != pos_ || rowGeneration_ != handle.generation()) {
        fetch_->reset();
        fetch_->bind(1, keys_[static_cast<std::size_t>(pos_)]);
        const bool found = fetch_->step();
        std::vector<vb::Variant> values;
        if (found)
            for (int i = 0; i < fetch_->columns(); ++i)
                values.push_back(fetch_->column(i));
        fetch_->reset();
        if (!found)
            noCurrentRecord(); // the row is gone from the bank
        checkTypes(values);
        row_ = std::move(values);
        rowPos_ = pos_;
        rowGeneration_ = handle.generation();
    }
    return row_;
}

void Recordset::checkTypes(std::span<const vb::Variant> values) const
{
    // A whole-number column holds whole numbers, as in a typed bank: a text
    // there is refused, so that such a value, joined into a later
    // statement, can only ever be digits.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto t = values[i].type();
        if (integerColumns_[i] && t != vb::Variant::Type::Long && t != vb::Variant::Type::Null)
            vb::raise(vb::err::TypeMismatch,
                      QStringLiteral("Data type mismatch: column %1 holds a value that is not a whole number.")
                          .arg(columns_[static_cast<int>(i)]));
    }
}

vb::Variant Recordset::value(const QString& column) const
{
    checkOpen();
    const int i = columnIndex(column);
    return row()[static_cast<std::size_t>(i)];
}

vb::Variant Recordset::value(int index) const
{
    checkOpen();
    fieldName(index);
    return row()[static_cast<std::size_t>(index)];
}

void Recordset::setValue(const QString& column, const vb::Variant& value)
{
    checkOpen();
    const int i = columnIndex(column);
    checkCurrent();
    if (lock_ == LockType::ReadOnly)
        vb::raise(err::NotUpdatable, QStringLiteral("Current Recordset does not support updating."));
    if (!write_ || writeColumn_ != columns_[i]) {
        write_ = std::make_unique<detail::Statement>(session_->handle,
                                                     "UPDATE " + quotedName(table_) + " SET " + quotedName(columns_[i])
                                                         + " = ? WHERE rowid = ?");
        writeColumn_ = columns_[i];
    }
    write_->reset();
    write_->bind(1, value);
    write_->bind(2, keys_[static_cast<std::size_t>(pos_)]);
    write_->step();
    write_->reset();
    session_->handle->wrote();
    if (cursor_ == CursorType::ForwardOnly)
        snapshot_[static_cast<std::size_t>(pos_) * columns_.size() + static_cast<std::size_t>(i)] = value;
}

} // namespace db
