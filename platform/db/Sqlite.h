#pragma once

// Internal to the engine: RAII owners of SQLCipher handles. Only the
// engine's sources include this header.

#include "db/JetSql.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vb {
class Variant;
}

namespace db::detail {

// An open, keyed bank file with the engine's functions registered.
class Handle {
public:
    // Opens an existing file; never creates one. Fails on a missing file, a
    // wrong key or a file that is not a bank.
    static std::shared_ptr<Handle> open(const QString& path, const QString& password);
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    sqlite3* get() const { return db_; }
    const QString& path() const { return path_; }

    // Checks that the file is readable with the key.
    void probe() const;
    // Whether every page of the file still reads and is sound: the file is
    // there, no page is damaged, no other program holds it locked.
    bool sound() const;
    // Reads every row of every table once, so that their pages wait in the
    // cache, decrypted; ends early when `stop` is set.
    void readAllPages(const std::atomic<bool>& stop) const;
    // Whether a handle kept from an earlier connection still serves: the
    // same file (not one put in its place), unchanged since this handle
    // last read or wrote it.
    bool reusable() const;

    // Bumped by every write, so cached rows know they may be stale.
    std::uint64_t generation() const { return generation_; }
    void wrote();

    [[noreturn]] void fail(long number) const;

    // Prepared statements kept for their next use: every list opening runs
    // the same few statements again.
    sqlite3_stmt* takeStatement(const std::string& sql);
    void keepStatement(const std::string& sql, sqlite3_stmt* stmt);

private:
    Handle(sqlite3* db, QString path);
    sqlite3* db_;
    std::vector<std::pair<std::string, sqlite3_stmt*>> kept_;
    QString path_;
    // What tells the bank file from one put in its place or changed by
    // another program: the file itself, its size and time, and its first
    // page as this handle left it.
    struct FileIdentity {
        unsigned long long device = 0, inode = 0, size = 0, modified = 0;
        QByteArray firstPage;
        bool operator==(const FileIdentity&) const = default;
    };
    bool identityOf(FileIdentity& id) const;
    void identify();
    int pageSize_ = 1024;
    FileIdentity identity_;
    std::uint64_t generation_ = 0;
};

class Statement {
public:
    Statement(std::shared_ptr<Handle> handle, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(const std::vector<SqlParam>& params);
    void bind(int index, const vb::Variant& value);
    void bind(int index, std::int64_t value);
    bool step(); // true while a row is there
    void reset();
    int columns() const;
    // Whether the column is declared to hold whole numbers.
    bool integerColumn(int index) const;
    vb::Variant column(int index) const;
    std::int64_t columnInt(int index) const;

private:
    void bound(int rc) const;
    std::shared_ptr<Handle> handle_; // kept alive while the statement lives
    std::string sql_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs a statement that returns nothing; fails with the engine's message.
void exec(const Handle& handle, const std::string& sql);

} // namespace db::detail
