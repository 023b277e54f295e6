#pragma once

#include "vb/Variant.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace db {

class Connection;
struct Session;
namespace detail {
class Statement;
}

enum class CursorType { ForwardOnly, Keyset };
enum class LockType { ReadOnly, Optimistic };

// A list of rows over one table, fixed when the list opens. A keyset list
// reads the bank's current values; a forward-only list is read whole when it
// opens. A value set on the current record reaches the bank at once.
class Recordset {
public:
    static constexpr int PosBOF = -2;
    static constexpr int PosEOF = -3;

    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void open(const QString& statement, Connection& connection, CursorType cursor = CursorType::ForwardOnly,
              LockType lock = LockType::ReadOnly);
    void close();
    bool isOpen() const;

    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveNext();
    void movePrevious();

    // Place of the current record in list order, from 1; PosBOF or PosEOF
    // off the ends.
    int absolutePosition() const;
    int recordCount() const;

    vb::Variant bookmark() const;
    void setBookmark(const vb::Variant& bookmark);

    int fieldCount() const;
    QString fieldName(int index) const;
    vb::Variant value(const QString& column) const;
    vb::Variant value(int index) const;
    void setValue(const QString& column, const vb::Variant& value);

private:
    void checkOpen() const;
    void checkCurrent() const;
    int columnIndex(const QString& column) const;
    std::span<const vb::Variant> row() const;
    void checkTypes(std::span<const vb::Variant> values) const;

    std::shared_ptr<Session> session_;
    bool open_ = false;
    CursorType cursor_ = CursorType::ForwardOnly;
    LockType lock_ = LockType::ReadOnly;
    QString table_;
    QStringList columns_;
    std::vector<bool> integerColumns_;
    std::vector<std::int64_t> keys_;
    mutable std::unordered_map<std::int64_t, int> placeOfKey_;
    int pos_ = 0; // -1 before the first, keys_.size() past the last
    std::unique_ptr<detail::Statement> fetch_;
    std::unique_ptr<detail::Statement> write_;
    QString writeColumn_;
    // A forward-only list is read once, whole, when it opens: it is read
    // front to back, once, and row-by-row reads would each lock the file.
    // Row after row, one value per column.
    std::vector<vb::Variant> snapshot_;
    // The current row as last read, valid while the bank has not been written.
    mutable std::vector<vb::Variant> row_;
    mutable int rowPos_ = -1;
    mutable std::uint64_t rowGeneration_ = 0;
};

} // namespace db
