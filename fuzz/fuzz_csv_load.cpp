// The CSV loader of `brix-db load`: any text loads whole into a table of every field kind or is
// refused with its line and nothing stored; never a crash or a storage error other than the
// refusal it reports.

#include "db_commands.h"
#include "fuzz_fixture.h"
#include "table.h"

#include <QTextStream>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace brix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::Fixture f;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString out, err;
    QTextStream o(&out), e(&err);
    // Whatever is loaded is taken back, so that every input starts from an empty table.
    Database::Transaction keep(*f.db);
    const int rc = admin::loadCsv(*f.db, QStringLiteral("Ciselnik\\Vyrobky"), text,
                                  QStringLiteral("f.csv"), o, e);
    o.flush();
    e.flush();
    Table t(*f.db, QStringLiteral("Ciselnik\\Vyrobky"));
    t.open();
    if (rc == 0) {
        if (!out.startsWith(QStringLiteral("Uloženo záznamů: "))) std::abort();
        if (t.recordCount() != out.mid(17).trimmed().toLongLong()) std::abort();
    } else {
        if (err.isEmpty()) std::abort();        // a refusal says why
        if (t.recordCount() != 0) std::abort(); // and stores nothing
    }
    return 0;
}
