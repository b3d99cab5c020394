// The filter language: any expression, with either option, is either read and run against a
// small table of every field kind (the records it accepts come back), or refused as a filter
// error; never a crash, and never an SQL error, which would mean the translation made SQL the
// database cannot run.

#include "filter.h"
#include "fuzz_fixture.h"
#include "table.h"

#include <QDate>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace brix;

namespace {

// The table of every kind with five records: blanks, quotes, a "%", a "ch", amounts of four
// places.
struct Filled : fuzz::Fixture {
    Filled() {
        Table t(*db, QStringLiteral("Ciselnik\\Vyrobky"));
        t.open();
        const QStringList names = {QStringLiteral("Šroub M8"), QStringLiteral("O'Brien \"x\""),
                                   QStringLiteral("chata"), QStringLiteral("100%"), QString()};
        for (int i = 0; i < 5; ++i) {
            t.insert();
            t.field(QStringLiteral("Cis_Vyr")).setValue(i + 1);
            t.field(QStringLiteral("ObjCis")).setValue(QStringLiteral("00%1").arg(i));
            t.field(QStringLiteral("Nazev")).setValue(names[i]);
            t.field(QStringLiteral("Cena")).setValue(0.1 * i + 0.2);
            t.field(QStringLiteral("Platba")).setValue(i % 2 == 0);
            t.field(QStringLiteral("Datum")).setValue(QDate(2026, 1, 1).addDays(i * 40));
            t.post();
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Filled f;
    if (size < 1) return 0;
    FilterOptions options;
    options.caseInsensitive = data[0] & 1;
    options.noPartialCompare = data[0] & 2;
    const QString expression =
        QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    Table t(*f.db, QStringLiteral("Ciselnik\\Vyrobky"));
    try {
        t.open();
        t.setFilterOptions(options);
        t.setFilter(expression);
        t.setFiltered(true);
        int n = 0;
        for (t.first(); !t.eof(); t.next())
            if (++n > 5) std::abort(); // a filter never makes records
        (void)t.recordCount();
        t.last();
        t.prior();
    } catch (const StorageError& e) {
        if (e.kind() != StorageErrorKind::FilterSyntax) {
            fprintf(stderr, "not a filter error: %s\n", e.message().toUtf8().constData());
            std::abort();
        }
    }
    return 0;
}
