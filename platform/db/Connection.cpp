#include "db/Connection.h"

#include "db/Errors.h"
#include "db/JetSql.h"
#include "db/Sqlite.h"
#include "vb/Failure.h"
#include "vb/Paths.h"

#include <atomic>
#include <future>
#include <mutex>
#include <unordered_map>

namespace db {

namespace {

struct Target {
    QString path;
    QString password;
};

Target parseConnectionString(const QString& s)
{
    QString provider;
    Target t;
    bool haveSource = false;
    for (const QString& part : s.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            vb::raise(err::Provider, QStringLiteral("Could not parse the connection string."));
        const QString key = part.left(eq).trimmed().toLower();
        const QString value = part.mid(eq + 1);
        if (key == QLatin1String("provider"))
            provider = value.trimmed();
        else if (key == QLatin1String("data source")) {
            t.path = vb::nativePath(value.trimmed());
            haveSource = true;
        } else if (key == QLatin1String("jet oledb:database password"))
            t.password = value;
    }
    if (provider.compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) != 0)
        vb::raise(err::ProviderNotFound, QStringLiteral("Provider cannot be found. It may not be properly installed."));
    if (!haveSource)
        vb::raise(err::Provider, QStringLiteral("The connection string names no data source."));
    return t;
}

// Open banks kept after their connection closed, like the provider's
// session pooling: every list opening reconnects, and deriving the key of
// an encrypted file anew each time would cost tens of milliseconds. Banks
// being prepared on a worker thread join it when they are ready.
class Pool {
public:
    ~Pool() { endPreparations(); }

    // Preparations still running stop at their next row; a key being
    // derived cannot be stopped, so this waits for it.
    void endPreparations()
    {
        std::unordered_map<QString, Preparation> pending;
        {
            std::lock_guard lock(mutex_);
            pending.swap(pending_);
        }
        for (auto& [key, p] : pending) {
            p.stop->store(true);
            p.done.wait();
        }
    }

    // The kept bank of `key`, after any preparation of it has ended; null
    // when there is none.
    std::shared_ptr<detail::Handle> take(const QString& key)
    {
        std::unique_lock lock(mutex_);
        if (auto p = pending_.find(key); p != pending_.end()) {
            // Waiting for the key, not for the rest of the pages.
            p->second.stop->store(true);
            std::future<void> done = std::move(p->second.done);
            pending_.erase(p);
            lock.unlock();
            done.wait();
            lock.lock();
        }
        auto found = handles_.find(key);
        if (found == handles_.end())
            return nullptr;
        std::shared_ptr<detail::Handle> handle = std::move(found->second);
        handles_.erase(found);
        return handle;
    }

    void keep(const QString& key, std::shared_ptr<detail::Handle> handle)
    {
        std::lock_guard lock(mutex_);
        handles_[key] = std::move(handle);
    }

    void prepare(const QString& key, const Target& t)
    {
        std::lock_guard lock(mutex_);
        if (handles_.count(key) || pending_.count(key))
            return;
        auto stop = std::make_shared<std::atomic<bool>>(false);
        std::future<void> done = std::async(std::launch::async, [this, key, t, stop] {
            std::shared_ptr<detail::Handle> handle;
            if (!vb::skipOnFailure([&] { handle = detail::Handle::open(t.path, t.password); }))
                return;
            handle->readAllPages(*stop);
            std::lock_guard ready(mutex_);
            handles_.try_emplace(key, std::move(handle));
        });
        pending_.emplace(key, Preparation{std::move(stop), std::move(done)});
    }

private:
    struct Preparation {
        std::shared_ptr<std::atomic<bool>> stop;
        std::future<void> done;
    };
    std::mutex mutex_;
    std::unordered_map<QString, std::shared_ptr<detail::Handle>> handles_;
    std::unordered_map<QString, Preparation> pending_;
};

Pool& pool()
{
    static Pool p;
    return p;
}

QString poolKey(const Target& t)
{
    return t.path + QChar(0) + t.password;
}

} // namespace

Connection::Connection() : session_(std::make_shared<Session>())
{
}

Connection::~Connection()
{
    if (isOpen())
        vb::skipOnFailure([&] { close(); });
}

void Connection::setConnectionString(const QString& s)
{
    if (isOpen())
        vb::raise(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    connectionString_ = s;
}

bool Connection::isOpen() const
{
    return session_->open;
}

void Connection::open(const QString&, const QString&)
{
    if (isOpen())
        vb::raise(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    const Target t = parseConnectionString(connectionString_);
    std::shared_ptr<detail::Handle> handle = pool().take(poolKey(t));
    if (handle && !handle->reusable())
        handle.reset();
    if (!handle)
        handle = detail::Handle::open(t.path, t.password);
    session_ = std::make_shared<Session>();
    session_->handle = std::move(handle);
    poolKey_ = poolKey(t);
    session_->open = true;
}

bool Connection::readsWhole() const
{
    return isOpen() && session_->handle && session_->handle->sound();
}

void Connection::execute(const QString& statement)
{
    if (!isOpen())
        vb::raise(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
    const Translation tr = translateJet(statement);
    if (tr.kind != Translation::Kind::Update)
        vb::raise(err::NotAllowed, QStringLiteral("A row-returning statement needs a recordset."));
    detail::Statement st(session_->handle, tr.sql);
    st.bind(tr.params);
    st.step();
    session_->handle->wrote();
}

void Connection::close()
{
    if (!isOpen())
        vb::raise(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
    session_->open = false;
    pool().keep(poolKey_, std::move(session_->handle));
}

void prepareConnection(const QString& connectionString)
{
    Target t;
    if (!vb::skipOnFailure([&] { t = parseConnectionString(connectionString); }))
        return;
    pool().prepare(poolKey(t), t);
}

void endPreparations()
{
    pool().endPreparations();
}

} // namespace db
