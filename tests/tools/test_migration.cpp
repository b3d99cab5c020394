// Migrating a legacy data root: a root of Paradox tables in the catalogue's layout (written by
// our writer, the employees protected with the table password) becomes a data root the program
// works with; what does not fit is in the protocol; a second run, a damaged table and a cancel
// leave the new root as it was.

#include "bulk_insert.h"
#include "catalogue.h"
#include "codec.h"
#include "database.h"
#include "datacis.h"
#include "dialogs/filter_db.h"
#include "formats/paradox.h"
#include "heslo.h"
#include "koren.h"
#include "migrate_command.h"
#include "migration/migration.h"
#include "prihlaseni.h"
#include "table.h"
#include "tools_test_util.h"
#include "util/path_resolver.h"

#include <QDir>

using namespace brix;
using brix::formats::test::encipherTable;
using brix::formats::test::readBytes;
using brix::formats::test::writeAll;
using brix::formats::test::writeBytes;
namespace fmt = brix::formats;

namespace {

// The old data root: directories in capitals, as an old disk keeps them.
struct StaryKoren {
    QTemporaryDir dir;

    QString path(const QString& relative) const {
        const QString p = dir.filePath(relative);
        QDir().mkpath(QFileInfo(p).absolutePath());
        return p;
    }
    void tabulka(const QString& relative, const QList<fmt::FieldDef>& fields,
                 const QList<fmt::Record>& records) const {
        fmt::ParadoxWriter w;
        ASSERT_TRUE(writeAll(w, path(relative), fields, records)) << w.errorString().toStdString();
    }
};

const QString kDlouhyNazev =
    QStringLiteral("Barva fasádní bílá extra odolná proti plísním a řasám");

void naplnStaryKoren(const StaryKoren& k) {
    using K = fmt::FieldKind;
    k.tabulka("CISELNIK/VYROBKY.DB",
              {{"Cis_vyr", K::Long},
               {"Nazev", K::Text, 60},
               {"Druh_Pol", K::Text, 1},
               {"DPH", K::Float},
               {"Faktor_Bal", K::Short},
               {"Cis_Firmy", K::Long},
               {"NC_Netto", K::Float},
               {"MO_Cena", K::Float},
               {"Poc_Cena", K::Money},
               {"ObjCis", K::Text, 15},
               {"Stare_Pole", K::Text, 10},
               {"Poznamka", K::Memo, 10}},
              {{1, QStringLiteral("Email syntetický bílý 0,75 l"), "S", 21.0, 1, 10, 120.5, 297.5,
                12.3456, "EM-001", "x", QStringLiteral("Ředit technickým benzinem.")},
               {2, kDlouhyNazev, "S", 21.0, 6, 10, 80.0, 199.0, QVariant(), "FA-002", "y",
                QStringLiteral("Poznámka ").repeated(300)},
               {3, QStringLiteral("Štětec plochý 50 mm"), "S", 12.0, 1, 11, 25.0, 59.9, 0.0,
                "ST-050", QVariant(), QVariant()}});
    k.tabulka(
        "CISELNIK/FIRMY.DB",
        {{"Cis_firmy", K::Long},
         {"Zkr_nazev", K::Text, 15},
         {"Nazev", K::Text, 40},
         {"Mesto", K::Text, 40},
         {"Cis_obor", K::Short}},
        {{10, "BARVY", QStringLiteral("Barvy a laky Hořice s.r.o."), QStringLiteral("Hořice"), 1},
         {11, "NASTROJE", QStringLiteral("Nástroje Žďár"), QStringLiteral("Žďár nad Sázavou"), 2}});
    k.tabulka("EXT_UCTY/DODLISTY/HLA_DL.DB",
              {{"CIS_UCTU", K::Long},
               {"DRUH", K::Text, 3},
               {"STAV", K::Text, 1},
               {"Cis_Firmy", K::Long},
               {"Cena_Celk", K::Float},
               {"Dat_Vystav", K::Timestamp}},
              {{1001, "DL", "2", 10, 657.0, QDateTime(QDate(2019, 3, 14), QTime(9, 30))}});
    k.tabulka("EXT_UCTY/DODLISTY/POL_DL.DB",
              {{"CIS_UCTU", K::Long},
               {"PorCis", K::Short},
               {"Cis_Vyr", K::Long},
               {"Nazev", K::Text, 40},
               {"Mnozstvi", K::Float},
               {"PC_NettoC", K::Float},
               {"Stav", K::Text, 1}},
              {{1001, 1, 1, QStringLiteral("Email syntetický bílý 0,75 l"), 2.0, 595.0, "V"},
               {1001, 2, 3, QStringLiteral("Štětec plochý 50 mm"), 1.0, 59.9, "V"}});
    // The employees with their plain passwords, protected like the rights and the settings.
    k.tabulka("CISELNIK/ZAMEST.DB",
              {{"PRIJMENI", K::Text, 20},
               {"JMENO", K::Text, 25},
               {"Narozen", K::Date},
               {"Heslo", K::Text, 20}},
              {{QStringLiteral("NOVÁK"), QStringLiteral("Jan"), QDate(1970, 5, 1), "TAJNE"},
               {QStringLiteral("DVOŘÁKOVÁ"), QStringLiteral("Eva"), QDate(1985, 2, 3), "SKLAD"}});
    ASSERT_TRUE(encipherTable(k.path("CISELNIK/ZAMEST.DB"), migration::kHesloTabulek));
    k.tabulka("NASTAVEN/MODULY.DB", {{"Prijmeni", K::Text, 20}, {"Modul", K::Text, 20}},
              {{QStringLiteral("NOVÁK"), "SPRAVCE"}, {QStringLiteral("NOVÁK"), "DL"}});
    ASSERT_TRUE(encipherTable(k.path("NASTAVEN/MODULY.DB"), migration::kHesloTabulek));
    k.tabulka(
        "NASTAVEN/NAST_PR.DB",
        {{"Popis", K::Text, 20}, {"Hodnota", K::Text, 20}, {"Boolean", K::Logical}},
        {{"TITLE", QStringLiteral("Barvy Hořice"), QVariant()}, {"REZERVACE", QVariant(), false}});
    ASSERT_TRUE(encipherTable(k.path("NASTAVEN/NAST_PR.DB"), migration::kHesloTabulek));
    // A table the catalogue does not know, and the files of the directories.
    k.tabulka("CISELNIK/STARA.DB", {{"A", K::Long}}, {{1}});
    ASSERT_TRUE(writeBytes(k.path("NASTAVEN/NAST_PR.TXT"), "ZnTisk=False\r\nZaokrCen=0,05\r\n"));
    ASSERT_TRUE(writeBytes(k.path("CISELNIK/VyrSezn.pts"), brix::encode(u"[Šablona]\r\n")));
}

// The date of birth of the second employee made unreadable (a day far past the year 9999),
// with the table enciphered again.
void zkazDatumNarozeni(const StaryKoren& k) {
    const QString path = k.path("CISELNIK/ZAMEST.DB");
    QByteArray db = readBytes(path);
    const quint32 key = formats::cipher::passwordChecksum(brix::encode(migration::kHesloTabulek));
    const int header = formats::detail::le16(db.constData() + 2);
    const int block = quint8(db[5]) * 1024;
    const int recordSize = formats::detail::le16(db.constData());
    formats::cipher::decipherBlock(db.data() + header, block, key, 1);
    // PRIJMENI 20, JMENO 25, then the date: the sign bit flipped, big-endian.
    char* date = db.data() + header + 6 + recordSize + 45;
    date[0] = char(0xFF);
    date[1] = char(0x00);
    formats::cipher::encipherBlock(db.data() + header, block, key, 1);
    ASSERT_TRUE(writeBytes(path, db));
}

struct Stav {
    QMap<QString, qint64> pocty;
    QByteArray nastavení;
    bool protokol = false;

    bool operator==(const Stav& o) const {
        return pocty == o.pocty && nastavení == o.nastavení && protokol == o.protokol;
    }
};

Stav stavKorene(Database& db) {
    Stav s;
    for (const TableDef& t : db.catalogue().tables())
        s.pocty[t.address()] = countRecords(db, t);
    s.nastavení = readBytes(resolvedFilePath(db.root(), QStringLiteral("nastaven/nast_pr.txt")));
    s.protokol = QFileInfo::exists(QDir(db.root()).filePath(migration::kProtokol));
    return s;
}

class Migrace : public ::testing::Test {
protected:
    void SetUp() override {
        iterace_ = NastavPocetIteraci(1000);
        naplnStaryKoren(stary_);
        // The new root as the program prepares it on its first start.
        koren_ = PripravDatovyKoren(novy_.path());
    }
    void TearDown() override { NastavPocetIteraci(iterace_); }

    migration::Result migruj(const migration::Options& o = {}) {
        migration::Options options = o;
        options.extraTable = filtr::savedFilterTable;
        return migration::migrateDataRoot(stary_.dir.path(), *koren_.db, options);
    }

    int iterace_ = 0;
    StaryKoren stary_;
    QTemporaryDir novy_;
    PripravaKorene koren_;
};

} // namespace

TEST_F(Migrace, TheRecordsComeOverAndTheProgramWorksWithThem) {
    zkazDatumNarozeni(stary_);
    const migration::Result r = migruj();
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    Database& db = *koren_.db;

    brix::Table vyr(db, QStringLiteral("Ciselnik\\Vyrobky"));
    vyr.open();
    EXPECT_EQ(vyr.recordCount(), 3);
    ASSERT_TRUE(vyr.locate(QStringLiteral("Cis_vyr"), {1}));
    EXPECT_EQ(vyr.field(QStringLiteral("Nazev")).asString(),
              QStringLiteral("Email syntetický bílý 0,75 l"));
    EXPECT_EQ(vyr.field(QStringLiteral("MO_Cena")).asDecimal(), Decimal::fromDouble(297.5));
    EXPECT_EQ(vyr.field(QStringLiteral("Poc_Cena")).asDecimal(), Decimal::fromDouble(12.3456));
    EXPECT_EQ(vyr.field(QStringLiteral("Poznamka")).asString(),
              QStringLiteral("Ředit technickým benzinem."));
    ASSERT_TRUE(vyr.locate(QStringLiteral("Cis_vyr"), {2}));
    EXPECT_EQ(vyr.field(QStringLiteral("Nazev")).asString(), kDlouhyNazev.left(40));
    EXPECT_EQ(vyr.field(QStringLiteral("Poznamka")).asString(),
              QStringLiteral("Poznámka ").repeated(300));
    EXPECT_TRUE(vyr.field(QStringLiteral("Poc_Cena")).isNull());

    // The closed delivery note with its items, linked as the register shows them.
    brix::Table hla(db, QStringLiteral("Ext_Ucty\\DodListy\\Hla_DL"));
    brix::Table pol(db, QStringLiteral("Ext_Ucty\\DodListy\\Pol_DL"));
    hla.open();
    pol.open();
    pol.setMaster(&hla, QStringLiteral("CIS_UCTU"), QStringLiteral("CIS_UCTU"));
    ASSERT_EQ(hla.recordCount(), 1);
    hla.first();
    EXPECT_EQ(hla.field(QStringLiteral("STAV")).asString(), QStringLiteral("2"));
    EXPECT_EQ(hla.field(QStringLiteral("Dat_Vystav")).asDateTime(),
              QDateTime(QDate(2019, 3, 14), QTime(9, 30)));
    EXPECT_EQ(pol.recordCount(), 2);
    pol.last();
    EXPECT_EQ(pol.field(QStringLiteral("Cis_Vyr")).asInteger(), 3);
    EXPECT_EQ(pol.field(QStringLiteral("Stav")).asString(), QStringLiteral("V"));

    // The old root's code lists replace the ones a new root starts with.
    brix::Table nast(db, QStringLiteral("Nastaven\\Nast_Pr"));
    nast.open();
    EXPECT_EQ(nast.recordCount(), 2);

    // The employees log in with their old passwords; the plain one became a hash only then.
    TDataCis dm(db);
    brix::Table zam(db, QStringLiteral("Ciselnik\\Zamest"));
    zam.open();
    ASSERT_TRUE(zam.locate(QStringLiteral("PRIJMENI"), {QStringLiteral("DVOŘÁKOVÁ")}));
    EXPECT_EQ(zam.field(QStringLiteral("Heslo")).asString(), QStringLiteral("SKLAD"));
    EXPECT_TRUE(zam.field(QStringLiteral("Narozen")).isNull());
    zam.close();
    EXPECT_EQ(NajdiZamestnancePodleHesla(dm, QStringLiteral("tajne")), QStringLiteral("NOVÁK"));
    EXPECT_EQ(NactiPrava(dm, QStringLiteral("NOVÁK")),
              (QSet<QString>{QStringLiteral("SPRAVCE"), QStringLiteral("DL")}));
    zam.open();
    ASSERT_TRUE(zam.locate(QStringLiteral("PRIJMENI"), {QStringLiteral("NOVÁK")}));
    EXPECT_TRUE(JeHashHesla(zam.field(QStringLiteral("HesloHash")).asString()));

    // The files of the directories, byte for byte, where the program looks for them.
    EXPECT_EQ(readBytes(resolvedFilePath(db.root(), QStringLiteral("nastaven\\nast_pr.txt"))),
              QByteArray("ZnTisk=False\r\nZaokrCen=0,05\r\n"));
    EXPECT_TRUE(r.copiedFiles.contains(QStringLiteral("Ciselnik/VyrSezn.pts")));

    // What did not fit, on the terminal and in the protocol.
    EXPECT_EQ(r.cutTexts(), 1);
    EXPECT_EQ(r.unreadableDates(), 1);
    EXPECT_EQ(r.unknownFields(), 1);
    EXPECT_EQ(r.unknownTables, QStringList{QStringLiteral("CISELNIK/STARA.DB")});
    QString protokol;
    ASSERT_TRUE(readTextFile(QDir(db.root()).filePath(migration::kProtokol), &protokol));
    EXPECT_TRUE(protokol.contains(QStringLiteral("pole Stare_Pole katalog nezná")));
    EXPECT_TRUE(protokol.contains(QStringLiteral("věta 2, pole Nazev: text delší než 40 znaků "
                                                 "zkrácen na „%1“")
                                      .arg(kDlouhyNazev.left(40))));
    EXPECT_TRUE(protokol.contains(QStringLiteral("věta 2, pole Narozen: nečitelné datum")));
    EXPECT_TRUE(protokol.contains(QStringLiteral("CISELNIK/STARA.DB")));
    EXPECT_TRUE(protokol.contains(QStringLiteral("Ciselnik\\Vyrobky (CISELNIK/VYROBKY.DB): 3 "
                                                 "záznamů")));
}

TEST_F(Migrace, ASecondRunIsRefusedAndDoublesNothing) {
    ASSERT_TRUE(migruj().ok);
    const Stav po = stavKorene(*koren_.db);
    const migration::Result znovu = migruj();
    EXPECT_FALSE(znovu.ok);
    EXPECT_TRUE(znovu.error.contains(QStringLiteral("už byla data převedena")));
    EXPECT_EQ(stavKorene(*koren_.db), po);

    // Without the protocol the data of the root still refuse it.
    QFile::remove(QDir(koren_.db->root()).filePath(migration::kProtokol));
    const migration::Result bezProtokolu = migruj();
    EXPECT_FALSE(bezProtokolu.ok);
    EXPECT_TRUE(bezProtokolu.error.contains(QStringLiteral("už obsahuje data")));
}

// A table damaged in the middle of the run, a cancel, and a protected table without its
// password leave the new root as it was.
TEST_F(Migrace, AFailureLeavesTheNewRootAsItWas) {
    const Stav pred = stavKorene(*koren_.db);

    // The items of the delivery note: the header counts more records than the blocks hold.
    const QString pol = stary_.path("EXT_UCTY/DODLISTY/POL_DL.DB");
    const QByteArray dobre = readBytes(pol);
    QByteArray zle = dobre;
    formats::detail::putLe32(zle.data() + 6, 7);
    ASSERT_TRUE(writeBytes(pol, zle));
    migration::Result r = migruj();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("POL_DL.DB"))) << r.error.toStdString();
    EXPECT_EQ(stavKorene(*koren_.db), pred);
    ASSERT_TRUE(writeBytes(pol, dobre));

    // Cancelled from the progress.
    migration::Options o;
    int volani = 0;
    o.progress = [&](const migration::Progress& p) {
        EXPECT_LE(p.done, p.total);
        return ++volani < 5;
    };
    r = migruj(o);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(stavKorene(*koren_.db), pred);

    // A protected table the table password does not open: asked for, refused when not given.
    ASSERT_TRUE(writeBytes(stary_.path("EXT_UCTY/DODLISTY/POL_DL.DB"), dobre));
    const QString hla = stary_.path("EXT_UCTY/DODLISTY/HLA_DL.DB");
    ASSERT_TRUE(encipherTable(hla, QStringLiteral("jine")));
    QStringList dotazy;
    o = {};
    o.askPassword = [&](const QString& path) {
        dotazy << path;
        return dotazy.size() == 1 ? QStringLiteral("spatne") : QString();
    };
    r = migruj(o);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(dotazy.size(), 2);
    EXPECT_TRUE(r.error.contains(QStringLiteral("HLA_DL.DB")));
    EXPECT_EQ(stavKorene(*koren_.db), pred);

    // Given the right one, it comes over.
    o.askPassword = [](const QString&) { return QStringLiteral("jine"); };
    r = migruj(o);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
}

TEST_F(Migrace, TheCommandPreparesTheNewRootAndSummarises) {
    QTemporaryDir jinam;
    const QString cil = jinam.filePath("nova");
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(admin::runMigrateCommand({stary_.dir.path(), cil}, o, e), 0) << err.toStdString();
    o.flush();
    EXPECT_TRUE(out.contains(QStringLiteral("Ciselnik\\Vyrobky: 3 záznamů")));
    EXPECT_TRUE(out.contains(QStringLiteral("Zkrácené texty: 1")));
    EXPECT_TRUE(out.contains(QStringLiteral("Neznámá pole: 1 (Ciselnik\\Vyrobky.Stare_Pole)")));
    EXPECT_TRUE(out.contains(QStringLiteral("[1/")));
    // The program's own files are there beside the old root's.
    EXPECT_TRUE(QFileInfo::exists(resolvedFilePath(cil, QStringLiteral("ciselnik/SkladSezn.pts"))));

    err.clear();
    EXPECT_EQ(admin::runMigrateCommand({stary_.dir.path(), cil}, o, e), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("už byla data převedena")));
    EXPECT_EQ(admin::runMigrateCommand({stary_.dir.path()}, o, e), 2);
    EXPECT_EQ(admin::runMigrateCommand({jinam.filePath("neni"), cil}, o, e), 1);
}
