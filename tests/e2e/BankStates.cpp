// Prints the answer stored for each question of a program's bank, one
// "id state" line each in id order, so the end-to-end tests can look at
// what the running program wrote.
//   bank_states NAME FOLDER
#include "study/Deliverable.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "vb/Failure.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bank_states NAME FOLDER\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const study::Deliverable* d = nullptr;
    for (const study::Deliverable* candidate : {&study::quenvik(), &study::lodrasse(), &study::penmaro()})
        if (candidate->name.compare(name, Qt::CaseInsensitive) == 0)
            d = candidate;
    if (!d) {
        std::fprintf(stderr, "bank_states: no program %s\n", argv[1]);
        return 2;
    }
    try {
        db::Connection c;
        c.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                              + QString::fromLocal8Bit(argv[2]) + d->bankLiteral);
        c.open();
        db::Recordset r;
        r.open(QStringLiteral("select id,state from shiti2012 order by id asc"), c);
        for (; !r.eof(); r.moveNext())
            std::printf("%s %s\n", qPrintable(r.value(0).toString()),
                        r.value(1).isNull() ? "" : r.value(1).toString().toUtf8().constData());
    } catch (const vb::Failure& f) {
        std::fprintf(stderr, "bank_states: %s\n", qPrintable(f.description()));
        return 1;
    }
    return 0;
}
