#pragma once

// The hand-written side of the benchmarks: SQLCipher used directly, as a
// careful program would.
#include <sqlcipher/sqlite3.h>

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

// A statement prepared once and run again and again.
class Prepared {
public:
    Prepared(sqlite3* db, const std::string& sql) { sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr); }
    ~Prepared() { sqlite3_finalize(stmt_); }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    // Runs a statement that returns nothing.
    void run()
    {
        sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
    }
    // The row ids a list statement gives, in its order.
    std::vector<sqlite3_int64> keys()
    {
        std::vector<sqlite3_int64> out;
        while (sqlite3_step(stmt_) == SQLITE_ROW)
            out.push_back(sqlite3_column_int64(stmt_, 0));
        sqlite3_reset(stmt_);
        return out;
    }
    // Reads the ten columns of one row.
    void readRow(sqlite3_int64 key)
    {
        sqlite3_bind_int64(stmt_, 1, key);
        if (sqlite3_step(stmt_) == SQLITE_ROW)
            for (int i = 0; i < 10; ++i)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt_, i));
        sqlite3_reset(stmt_);
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};
