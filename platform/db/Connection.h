#pragma once

#include <QString>
#include <memory>

namespace db {

namespace detail {
class Handle;
}

// What a connection and its recordsets share: the open bank, while the
// connection is open. Closing the connection closes its recordsets too.
struct Session {
    std::shared_ptr<detail::Handle> handle;
    bool open = false;
};

// A connection to a question bank. The connection string names the
// provider, the bank file and its database password:
// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<file>;jet oledb:database password=<password>".
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& connectionString() const { return connectionString_; }
    void setConnectionString(const QString& s);

    // The user name and password are the provider's workgroup login, which
    // a bank does not use; the database password travels in the string.
    void open(const QString& userId = QString(), const QString& password = QString());
    // Runs a statement that returns no rows.
    void execute(const QString& statement);
    void close();
    bool isOpen() const;
    // Whether the open bank reads whole and sound (no damaged page, no lock
    // held by another program): what tells a bank that cannot be read from
    // one that lacks what a statement asks of it. False when closed.
    bool readsWhole() const;

    // For the recordsets opened over this connection.
    std::shared_ptr<Session> session() const { return session_; }

private:
    QString connectionString_;
    QString poolKey_;
    std::shared_ptr<Session> session_;
};

// Opens the bank that a connection string names on a worker thread, deriving
// its key and reading its pages there, and keeps it for the next connection
// to that bank: the first list a person opens then finds it ready. A
// connection opened meanwhile waits for it, and checks the file again as it
// would a bank kept from an earlier connection. A bank that cannot be opened
// is left for that connection to report.
void prepareConnection(const QString& connectionString);

// Ends the preparations still running and waits for them. A program calls
// it before it ends: a worker deriving a key cannot be stopped, and must not
// run on while the process's exit handlers tear down the cipher library.
void endPreparations();

} // namespace db
