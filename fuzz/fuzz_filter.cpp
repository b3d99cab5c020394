// The filter language: any expression, with either option, is either read and run against a
// small table of every field kind (the records it accepts come back), or refused as a filter
// error; never a crash, and never an SQL error, which would mean the translation made SQL the
// database cannot run.

#include "catalogue.h"
#include "database.h"
#include "filter.h"
#include "table.h"

#include <QDate>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace brix;

namespace {

struct Fixture {
    QTemporaryDir dir;
    Catalogue catalogue;
    std::unique_ptr<Database> db;

    Fixture() {
        catalogue.add(Catalogue::define(
            QStringLiteral("Ciselnik"), QStringLiteral("Vyrobky"),
            QStringLiteral("Cis_Vyr I!; ObjCis A15; Nazev A40; PorCis S; Kurs F; Cena $; "
                           "Platba L; Datum D; Cas T; Zmena @; Poznamka M; Popis FM; Obr B; "
                           "Por +"),
            QStringLiteral("Cis_Vyr"), QStringLiteral("NazevV=Nazev")));
        db = Database::open(dir.path(), {.catalogue = &catalogue});
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

// The input: one byte of options (bit 0 ignores case, bit 1 no partial comparison), then the
// expression in UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture f;
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
