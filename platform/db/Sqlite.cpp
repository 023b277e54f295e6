#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include "db/Sqlite.h"

#include "db/Errors.h"
#include "vb/Conversions.h"
#include "vb/Failure.h"
#include "vb/Random.h"
#include "vb/Variant.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db::detail {

namespace {

// Another program writing the bank holds its lock for moments. The window
// waits that long for it and no longer: an answer it cannot write is kept
// by the program and written later, so the learner never sits out a lock.
constexpr int BusyTimeoutMs = 50;

QString valueText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return vb::doubleText(sqlite3_value_double(v));
    default: return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    }
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), u.size(), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

bool isNumber(sqlite3_value* v)
{
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

// Jet's +: texts join, numbers add, a text meeting a number is read as one.
// One call takes a whole run of + terms and folds them from the left.
void fnPlus(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_BLOB) {
            sqlite3_result_error(ctx, "Type mismatch", -1);
            return;
        }
    // The sum so far: a text, a whole number or a double.
    enum class Kind { Text, Integer, Real } kind = Kind::Text;
    QString text;
    long long whole = 0;
    double real = 0;
    auto load = [&](sqlite3_value* v) {
        switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            kind = Kind::Integer;
            whole = sqlite3_value_int64(v);
            break;
        case SQLITE_FLOAT:
            kind = Kind::Real;
            real = sqlite3_value_double(v);
            break;
        default:
            kind = Kind::Text;
            text = valueText(v);
            break;
        }
    };
    try {
        load(argv[0]);
        for (int i = 1; i < argc; ++i) {
            sqlite3_value* b = argv[i];
            const int bt = sqlite3_value_type(b);
            if (kind == Kind::Text && !isNumber(b)) {
                text += valueText(b);
                continue;
            }
            long long sum = 0;
            if (kind == Kind::Integer && bt == SQLITE_INTEGER
                && !__builtin_add_overflow(whole, sqlite3_value_int64(b), &sum)) {
                whole = sum;
                continue;
            }
            const double a = kind == Kind::Text ? vb::textToDouble(text)
                : kind == Kind::Integer         ? static_cast<double>(whole)
                                                : real;
            real = a + (isNumber(b) ? sqlite3_value_double(b) : vb::textToDouble(valueText(b)));
            kind = Kind::Real;
        }
    } catch (const vb::Failure& f) {
        sqlite3_result_error(ctx, f.description().toUtf8().constData(), -1);
        return;
    }
    switch (kind) {
    case Kind::Text: resultText(ctx, text); break;
    case Kind::Integer: sqlite3_result_int64(ctx, whole); break;
    case Kind::Real: sqlite3_result_double(ctx, real); break;
    }
}

// rnd with a negative argument: a number in [0, 1), fixed by the argument
// alone, well spread over neighbouring arguments.
void fnRnd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (!isNumber(argv[0]) || sqlite3_value_double(argv[0]) >= 0) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument", -1);
        return;
    }
    const double x = sqlite3_value_double(argv[0]);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    const std::uint64_t z = vb::splitmix64(bits);
    // 24 bits: the resolution of a single-precision random number.
    sqlite3_result_double(ctx, static_cast<double>(z >> 40) / 16777216.0);
}

void fnCstr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL) {
        sqlite3_result_error(ctx, "Invalid use of Null", -1);
        return;
    }
    if (t == SQLITE_BLOB) {
        sqlite3_result_error(ctx, "Type mismatch", -1);
        return;
    }
    resultText(ctx, valueText(argv[0]));
}

// Instr(text, part): 1-based place of part, 0 when absent, Null with a Null.
void fnInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text = valueText(argv[0]);
    const QString part = valueText(argv[1]);
    if (text.isEmpty())
        sqlite3_result_int(ctx, 0);
    else if (part.isEmpty())
        sqlite3_result_int(ctx, 1);
    else
        sqlite3_result_int(ctx, static_cast<int>(text.indexOf(part)) + 1);
}

// Fails when a function cannot be registered: a statement using it would
// otherwise fail later with a puzzling "no such function".
void registerFunctions(const Handle& h)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    struct Fn {
        const char* name;
        int arity;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    const Fn fns[] = {{"vb_plus", -1, fnPlus}, {"vb_rnd", 1, fnRnd}, {"vb_cstr", 1, fnCstr}, {"vb_instr", 2, fnInstr}};
    for (const Fn& f : fns)
        if (sqlite3_create_function(h.get(), f.name, f.arity, flags, nullptr, f.fn, nullptr, nullptr) != SQLITE_OK)
            h.fail(err::Provider);
}

} // namespace

std::shared_ptr<Handle> Handle::open(const QString& path, const QString& password)
{
    // SQLite would take a missing or empty path as a new database.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        vb::raise(err::Provider, QStringLiteral("Could not find file '%1'.").arg(path));
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::shared_ptr<Handle> h(new Handle(raw, path));
    if (rc != SQLITE_OK)
        h->fail(err::Provider);
    // No password is no key: SQLCipher refuses an empty one, and a keyed
    // bank then fails the probe as a wrong password does.
    const QByteArray key = password.toUtf8();
    if (!key.isEmpty() && sqlite3_key(raw, key.constData(), key.size()) != SQLITE_OK)
        h->fail(err::Provider);
    registerFunctions(*h);
    sqlite3_busy_timeout(raw, BusyTimeoutMs);
    h->probe();
    // Room for a whole bank's pages, decrypted: every list opening reads
    // the rows of its condition.
    exec(*h, "PRAGMA cache_size = -65536");
    h->pageSize_ = 1024;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(raw, "PRAGMA page_size", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        h->pageSize_ = std::clamp(sqlite3_column_int(s, 0), 512, 65536);
    sqlite3_finalize(s);
    h->identify();
    return h;
}

bool Handle::identityOf(FileIdentity& id) const
{
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        id.device = st.st_dev;
        id.inode = st.st_ino;
        id.size = static_cast<unsigned long long>(st.st_size);
        id.modified = static_cast<unsigned long long>(st.st_mtim.tv_sec) * 1000000000ull
            + static_cast<unsigned long long>(st.st_mtim.tv_nsec);
        id.firstPage.resize(pageSize_);
        const ssize_t n = ::pread(fd, id.firstPage.data(), static_cast<size_t>(pageSize_), 0);
        ok = n >= 0;
        id.firstPage.resize(ok ? static_cast<int>(n) : 0);
    }
    ::close(fd);
    return ok;
}

Handle::Handle(sqlite3* db, QString path) : db_(db), path_(std::move(path))
{
}

void Handle::identify()
{
    if (!identityOf(identity_))
        identity_ = FileIdentity{};
}

void Handle::wrote()
{
    ++generation_;
    identify();
}

bool Handle::reusable() const
{
    // Anything but this handle's own writes may have changed the file:
    // then it is opened afresh, with all the checks of a first opening. The
    // same file, unchanged since this handle read it with its key, reads as
    // it did then. A file copied over the bank with its size and time kept
    // (a restore from a backup) differs in its first page: every write
    // rewrites that page, and an encrypted bank begins with its own salt.
    FileIdentity now;
    return identityOf(now) && !identity_.firstPage.isEmpty() && now == identity_;
}

Handle::~Handle()
{
    for (const auto& [sql, stmt] : kept_)
        sqlite3_finalize(stmt);
    sqlite3_close_v2(db_);
}

sqlite3_stmt* Handle::takeStatement(const std::string& sql)
{
    for (auto it = kept_.begin(); it != kept_.end(); ++it)
        if (it->first == sql) {
            sqlite3_stmt* stmt = it->second;
            kept_.erase(it);
            return stmt;
        }
    return nullptr;
}

void Handle::keepStatement(const std::string& sql, sqlite3_stmt* stmt)
{
    // A few: the statements of the list openings, the reads and the writes.
    constexpr std::size_t Kept = 16;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (kept_.size() >= Kept) {
        sqlite3_finalize(kept_.front().second);
        kept_.erase(kept_.begin());
    }
    kept_.emplace_back(sql, stmt);
}

void Handle::probe() const
{
    if (!QFileInfo(path_).isFile())
        vb::raise(err::Provider, QStringLiteral("Could not find file '%1'.").arg(path_));
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_master", -1, &s, nullptr);
    long long tables = 0;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(s);
        if (rc == SQLITE_ROW)
            tables = sqlite3_column_int64(s, 0);
    }
    sqlite3_finalize(s);
    if (rc == SQLITE_NOTADB || (rc == SQLITE_ROW && tables == 0)) {
        // SQLCipher cannot tell a wrong key from a file that is no bank;
        // an empty file would read as a database without tables.
        vb::raise(err::BadPassword, QStringLiteral("Not a valid password, or '%1' is not a question bank.").arg(path_));
    }
    if (rc != SQLITE_ROW)
        fail(err::Provider);
}

bool Handle::sound() const
{
    if (!QFileInfo(path_).isFile())
        return false;
    sqlite3_stmt* s = nullptr;
    bool ok =
        sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW;
    const auto* verdict = ok ? reinterpret_cast<const char*>(sqlite3_column_text(s, 0)) : nullptr;
    ok = verdict && std::strcmp(verdict, "ok") == 0;
    sqlite3_finalize(s);
    return ok;
}

void Handle::readAllPages(const std::atomic<bool>& stop) const
{
    std::vector<std::string> tables;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &s, nullptr) == SQLITE_OK)
        while (sqlite3_step(s) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    for (const std::string& table : tables) {
        std::string quoted = "\"";
        for (const char c : table)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        const std::string sql = "SELECT * FROM " + quoted + "\"";
        s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) == SQLITE_OK)
            while (!stop.load(std::memory_order_relaxed) && sqlite3_step(s) == SQLITE_ROW) {}
        sqlite3_finalize(s);
    }
}

void Handle::fail(long number) const
{
    const QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
    vb::raise(number, QStringLiteral("%1 (%2)").arg(msg, path_));
}

Statement::Statement(std::shared_ptr<Handle> handle, const std::string& sql) : handle_(std::move(handle)), sql_(sql)
{
    stmt_ = handle_->takeStatement(sql_);
    if (stmt_)
        return;
    if (sqlite3_prepare_v2(handle_->get(), sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        handle_->fail(err::Provider);
    }
}

Statement::~Statement()
{
    if (stmt_)
        handle_->keepStatement(sql_, stmt_);
}

void Statement::bind(const std::vector<SqlParam>& params)
{
    int i = 1;
    for (const SqlParam& p : params) {
        if (const auto* n = std::get_if<std::int64_t>(&p))
            bind(i, *n);
        else if (const auto* d = std::get_if<double>(&p))
            bound(sqlite3_bind_double(stmt_, i, *d));
        else
            bind(i, vb::Variant(std::get<QString>(p)));
        ++i;
    }
}

void Statement::bind(int index, const vb::Variant& value)
{
    using T = vb::Variant::Type;
    switch (value.type()) {
    case T::Empty:
    case T::Null: bound(sqlite3_bind_null(stmt_, index)); break;
    case T::Boolean:
    case T::Long: bind(index, value.toInt64()); break;
    case T::Double: bound(sqlite3_bind_double(stmt_, index, value.toDouble())); break;
    case T::String: {
        const QByteArray u = value.toString().toUtf8();
        bound(sqlite3_bind_text(stmt_, index, u.constData(), u.size(), SQLITE_TRANSIENT));
        break;
    }
    }
}

void Statement::bind(int index, std::int64_t value)
{
    bound(sqlite3_bind_int64(stmt_, index, value));
}

void Statement::bound(int rc) const
{
    // Too large a text or too many values: the statement would run with a
    // value missing.
    if (rc != SQLITE_OK)
        handle_->fail(err::Provider);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString msg = QString::fromUtf8(sqlite3_errmsg(handle_->get()));
    sqlite3_reset(stmt_);
    vb::raise(rc == SQLITE_NOTADB ? err::BadPassword : err::Provider,
              QStringLiteral("%1 (%2)").arg(msg, handle_->path()));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columns() const
{
    return sqlite3_column_count(stmt_);
}

vb::Variant Statement::column(int index) const
{
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL: return vb::Variant::null();
    case SQLITE_INTEGER: return vb::Variant(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT: return vb::Variant(sqlite3_column_double(stmt_, index));
    default:
        return vb::Variant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index)),
                                             sqlite3_column_bytes(stmt_, index)));
    }
}

bool Statement::integerColumn(int index) const
{
    const char* type = sqlite3_column_decltype(stmt_, index);
    return type && QByteArray(type).toUpper().contains("INT");
}

std::int64_t Statement::columnInt(int index) const
{
    return sqlite3_column_int64(stmt_, index);
}

void exec(const Handle& handle, const std::string& sql)
{
    char* msg = nullptr;
    if (sqlite3_exec(handle.get(), sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        const QString m = QString::fromUtf8(msg ? msg : "");
        sqlite3_free(msg);
        vb::raise(err::Provider, m);
    }
}

} // namespace db::detail
