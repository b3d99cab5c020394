// Exporting a header table with the items of each header from a real data root.
#include "catalogue.h"
#include "export/table_export.h"
#include "formats/table.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brix;

namespace {

QList<formats::Record> readAll(const QString& path) {
    QString error;
    auto r = formats::openTable(path, {}, &error);
    EXPECT_TRUE(r) << error.toStdString();
    QList<formats::Record> out;
    formats::Record rec;
    while (r && r->next(&rec))
        out << rec;
    return out;
}

TEST(TableExport, HeadersWithTheirItemsAndEmptyMasters) {
    QTemporaryDir dir;
    auto db = Database::open(dir.path() + "/root");
    Table products(*db, "Ciselnik\\Vyrobky"), heads(*db, "Ext_Ucty\\DodListy\\Hla_DL"),
        items(*db, "Ext_Ucty\\DodListy\\Pol_DL");
    for (Table* t : {&products, &heads, &items})
        t->open();
    products.insert();
    products.field("Cis_vyr").setInteger(1);
    products.field("Nazev").setString("Barva žlutá");
    products.field("Druh_Pol").setString("S");
    products.field("DPH").setFloat(21);
    products.field("Faktor_Bal").setInteger(1);
    products.field("Cis_Firmy").setInteger(1);
    products.post();
    items.setMaster(&heads, "CIS_UCTU", "CIS_UCTU");
    for (int doc : {10, 11, 12}) {
        heads.insert();
        heads.field("CIS_UCTU").setInteger(doc);
        heads.field("STAV").setString("U");
        heads.post();
        for (int i = 1; i < doc - 9 + 1; ++i) {
            items.insert();
            items.field("PorCis").setInteger(i);
            items.field("Cis_Vyr").setInteger(1);
            items.field("Mnozstvi").setFloat(i * 1.5);
            items.post();
        }
    }
    heads.findKey({11});
    for (auto format : {exporting::Format::Paradox, exporting::Format::Dbase}) {
        const QString out = dir.path() + (format == exporting::Format::Paradox ? "/px" : "/db");
        exporting::Result r = exporting::exportTables(format, out, heads, &items);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.masterRecords, 3);
        EXPECT_EQ(r.detailRecords, 1 + 2 + 3);
        ASSERT_EQ(r.files.size(), 2);
        EXPECT_TRUE(r.files[0].endsWith(format == exporting::Format::Paradox ? "TableHlaDL.db"
                                                                             : "TableHlaDL.dbf"));
        EXPECT_TRUE(r.files[1].contains("TablePolDL"));
        EXPECT_EQ(readAll(r.files[0]).size(), 3);
        QList<formats::Record> got = readAll(r.files[1]);
        ASSERT_EQ(got.size(), 6);
        EXPECT_EQ(got[5][0].toInt(), 12);
        EXPECT_DOUBLE_EQ(got[5][items.def().fieldIndex("Mnozstvi")].toDouble(), 4.5);
    }
    EXPECT_EQ(heads.field("CIS_UCTU").asInteger(), 11); // the position is kept

    // An empty master gives empty targets, and the text export the header line only.
    Table empty(*db, "Ext_Ucty\\PrijZb\\Hla_DLP");
    empty.open();
    exporting::Result r =
        exporting::exportTables(exporting::Format::Paradox, dir.path() + "/e", empty);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(readAll(r.files[0]).isEmpty());
    r = exporting::exportTables(exporting::Format::Text, dir.path() + "/e", empty);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    QFile f(r.files[0]);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray names;
    for (const FieldDef& field : empty.def().fields)
        names += field.name.toUtf8() + ';';
    EXPECT_EQ(f.readAll(), names + "\r\n");

    QString error;
    QString book = exporting::exportWorkbook(heads, dir.path() + "/x", &error);
    EXPECT_TRUE(book.endsWith("TableHlaDL.xlsx")) << error.toStdString();
    EXPECT_TRUE(
        exporting::exportWorkbook(heads, dir.path() + "/x", &error).endsWith("TableHlaDL_2.xlsx"));
}

// Every table of the system goes out to each format and comes back with its record.
TEST(TableExport, EveryCatalogueTableExportsAndReadsBack) {
    QTemporaryDir dir;
    auto db = Database::open(dir.path() + "/root");
    QElapsedTimer timer;
    timer.start();
    for (const TableDef& def : db->catalogue().tables()) {
        SCOPED_TRACE(def.address().toStdString());
        Table t(*db, def.address());
        t.open();
        t.insert();
        for (const FieldDef& f : def.fields) {
            switch (f.kind) {
            case FieldKind::Text:
                t.field(f.name).setString(QStringLiteral("Žluťoučký kůň").left(f.size));
                break;
            case FieldKind::Memo:
            case FieldKind::FormattedMemo:
                t.field(f.name).setString("Poznámka");
                break;
            case FieldKind::AutoInc:
                break;
            case FieldKind::Logical:
                t.field(f.name).setValue(true);
                break;
            case FieldKind::Date:
                t.field(f.name).setValue(QDate(2026, 3, 1));
                break;
            case FieldKind::Time:
            case FieldKind::Timestamp:
                t.field(f.name).setValue(QDateTime(QDate(2026, 3, 1), QTime(8, 30)));
                break;
            case FieldKind::Blob:
                t.field(f.name).setValue(QByteArray("\x01\x02", 2));
                break;
            default: // the numbers; 1 is a product that exists
                t.field(f.name).setValue(1);
            }
        }
        t.post();
        for (auto format :
             {exporting::Format::Paradox, exporting::Format::Dbase, exporting::Format::Text}) {
            exporting::Result r = exporting::exportTables(
                format, dir.path() + "/out" + QString::number(int(format)), t);
            ASSERT_TRUE(r.ok) << r.error.toStdString();
            if (format == exporting::Format::Text) continue;
            QList<formats::Record> got = readAll(r.files[0]);
            ASSERT_EQ(got.size(), 1);
            EXPECT_EQ(got[0].size(), def.fields.size());
        }
    }
    EXPECT_LT(timer.elapsed(), 20000);
}

} // namespace
