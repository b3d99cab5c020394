// The partner register's templates over the demo data root, and the partners and product prices
// of the demo itself: the relations the product form keeps must hold for every demo product.
#include "ceny_vyrobku.h"
#include "ciselniky_fixture.h"
#include "codec.h"
#include "demo_fixture.h"
#include "golden.h"
#include "pravidla.h"
#include "templatefile.h"
#include "vstup/tisk_seznamu.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QRegularExpression>

using namespace brix;

namespace {

const QString kZdroj = QStringLiteral(BRIX_SOURCE_DIR "/dataroot");

struct Sablona {
    QString soubor;
    QString nadpis;
};

// Every template of the partner register: the two lists of "&Tisk" and the print manager's.
const QList<Sablona>& sablony() {
    static const QList<Sablona> s{
        {"ciselnik\\Firmy.pts", "Seznam firem"},
        {"ciselnik\\Firmyz.pts", "Seznam firem"},
        {"ciselnik\\FirVizitky.pts", "Vizitky firem"},
        {"ciselnik\\FirVizitkyz.pts", "Vizitky firem"},
        {"ciselnik\\PrFi_Telefony.pts", "Telefonní seznam firem"},
        {"ciselnik\\PrFi_Telefonyz.pts", "Telefonní seznam firem"},
        {"ciselnik\\PrFi_Dluhy.pts", "Dluhy firem"},
        {"ciselnik\\PrFi_Dluhyz.pts", "Dluhy firem"},
    };
    return s;
}

class FirmyDemoTest : public test::DemoKorenTest {
protected:
    // The text-printer output of a template over the partners in the order of their name.
    QString tisk(const QString& soubor) {
        Table t(*db, QStringLiteral("Ciselnik\\Firmy"));
        t.setIndexName(QStringLiteral("NazevF"));
        t.open();
        TiskSeznamu tisk(t, soubor);
        EXPECT_FALSE(tisk.cesta().isEmpty());
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        EXPECT_EQ(tisk.sestava().PrintTextToStream(out), report::seOk);
        return decode(out.data());
    }
};

} // namespace

// Each template ships with a new data root and loads with every field it shows resolved against
// the partner table; the "z" files are laid out on the character grid.
TEST_F(FirmyDemoTest, TemplatesLoadWithTheirPartnerFields) {
    Table t(*db, QStringLiteral("Ciselnik\\Firmy"));
    QStringList pole;
    for (int i = 0; i < t.fieldCount(); ++i)
        pole << t.fieldDef(i).name;
    for (const Sablona& s : sablony()) {
        SCOPED_TRACE(s.soubor.toStdString());
        ASSERT_TRUE(QFileInfo(CestaSablony(kZdroj, s.soubor)).isFile());
        report::ReportDefinition def;
        QString chyba;
        ASSERT_TRUE(report::loadTemplateFile(CestaSablony(koren(), s.soubor), def, &chyba, &pole))
            << chyba.toStdString();
        EXPECT_EQ(def.description, s.nadpis);
        EXPECT_EQ(def.grid.characterGrid, s.soubor.endsWith("z.pts"));
        int polozek = 0;
        for (const report::TOddilSestavy& o : def.sections)
            for (const report::TSiReportElement& e : o.elements)
                if (e.kind == report::KindField) {
                    ++polozek;
                    EXPECT_TRUE(pole.contains(e.referenceName, Qt::CaseInsensitive))
                        << e.referenceName.toStdString();
                } else if (e.kind == report::KindFunction) {
                    // A field shown in a number format of its own: the function reads it.
                    const report::TRadekFunkce* f = nullptr;
                    for (const report::TRadekFunkce& r : def.functions.items)
                        if (r.name.compare(e.referenceName, Qt::CaseInsensitive) == 0) f = &r;
                    ASSERT_TRUE(f) << e.referenceName.toStdString();
                    if (!f->expression.startsWith('#')) continue;
                    ++polozek;
                    EXPECT_TRUE(pole.contains(f->expression.mid(1), Qt::CaseInsensitive))
                        << f->expression.toStdString();
                }
        EXPECT_GE(polozek, 4);
    }
    // The print manager's family is exactly its four files.
    const QDir adresar(QFileInfo(CestaSablony(koren(), "ciselnik\\Firmy.pts")).absolutePath());
    EXPECT_EQ(adresar.entryList({"PrFi*.pts"}, QDir::Files, QDir::Name),
              (QStringList{"PrFi_Dluhy.pts", "PrFi_Dluhyz.pts", "PrFi_Telefony.pts",
                           "PrFi_Telefonyz.pts"}));
}

// The list of partners, printed on a text printer over the demo, byte for byte but the date.
TEST_F(FirmyDemoTest, PartnerListTextIsTheGolden) {
    QString text = tisk("ciselnik\\Firmyz.pts");
    const QString dnes = QDate::currentDate().toString("d.M.yyyy");
    ASSERT_TRUE(text.contains(dnes));
    text.replace(dnes, QStringLiteral("D.M.RRRR"));
    test::expectGolden("firmyz.txt", encode(text));
    EXPECT_TRUE(text.contains("Barvy Laky Kolín s.r.o."));
    EXPECT_TRUE(text.contains("Železářství U Zlatého klíče"));
}

// Every list prints every partner, the labels three across, the debts with their total.
TEST_F(FirmyDemoTest, ListsAndLabelsPrintEveryPartner) {
    Table t(*db, QStringLiteral("Ciselnik\\Firmy"));
    t.setIndexName(QStringLiteral("NazevF"));
    t.open();
    QStringList zkratky, nazvy;
    double dluhy = 0;
    for (t.first(); !t.eof() && t.hasRecord(); t.next()) {
        zkratky << t.field("Zkr_nazev").asString();
        nazvy << t.field("Nazev").asString();
        dluhy += t.field("Stav_Dluhu").asFloat();
    }
    ASSERT_GE(nazvy.size(), 30);
    for (const Sablona& s : sablony()) {
        SCOPED_TRACE(s.soubor.toStdString());
        const QString text = tisk(s.soubor);
        if (s.soubor.contains("Telefony")) {
            for (const QString& z : zkratky)
                EXPECT_TRUE(text.contains(z)) << z.toStdString();
        }
        for (const QString& n : nazvy)
            EXPECT_TRUE(text.contains(n.left(20))) << n.toStdString();
    }
    // Labels: the first three partners by name side by side on the first line.
    const QString stitky = tisk("ciselnik\\FirVizitkyz.pts");
    const QString prvni = stitky.section("\r\n", 0, 0);
    EXPECT_LT(prvni.indexOf(nazvy[0].left(20)), prvni.indexOf(nazvy[1].left(20)));
    EXPECT_LT(prvni.indexOf(nazvy[1].left(20)), prvni.indexOf(nazvy[2].left(20)));
    EXPECT_GE(prvni.indexOf(nazvy[0].left(20)), 0);
    // The debts' total under the list.
    const QString dluhyText = tisk("ciselnik\\PrFi_Dluhyz.pts");
    const QString celkem = QString::number(dluhy, 'f', 2);
    const QString radek = dluhyText.section("Celkem", 1, 1).section("\r\n", 0, 0);
    EXPECT_TRUE(radek.contains(celkem) || radek.contains(QString(celkem).replace('.', ',')))
        << radek.toStdString() << " / " << celkem.toStdString();
}

// The demo's partners: suppliers, customers and prospects, a supplier in euros, one customer
// whose deliveries are stopped, dealers who are employees, regions of the region list, notes.
TEST_F(FirmyDemoTest, DemoPartnersAreFilledForWork) {
    Table t(*db, QStringLiteral("Ciselnik\\Firmy"));
    t.setIndexName(QString()); // by number
    t.open();
    Table zam(*db, QStringLiteral("Ciselnik\\Zamest"));
    zam.open();
    QSet<QString> zamestnanci;
    for (zam.first(); !zam.eof() && zam.hasRecord(); zam.next())
        zamestnanci << zam.field("PRIJMENI").asString();
    const QStringList oblasti = nactiOblasti(koren());
    ASSERT_GE(oblasti.size(), 10);
    QHash<QString, int> druhy;
    int eur = 0, zastaveno = 0, sDic = 0, sKontaktem = 0;
    for (t.first(); !t.eof() && t.hasRecord(); t.next()) {
        ++druhy[t.field("Druh").asString()];
        if (t.field("Kod_Meny").asString() == "EUR" && t.field("Druh").asString() == "D") ++eur;
        if (t.field("Zast_dodavek").asBoolean()) ++zastaveno;
        if (!t.field("DIC").asString().isEmpty()) ++sDic;
        if (!t.field("Kontakt1").asString().isEmpty() && !t.field("Tlf1").asString().isEmpty())
            ++sKontaktem;
        EXPECT_TRUE(zamestnanci.contains(t.field("Dealer").asString()))
            << t.field("Dealer").asString().toStdString();
        const QString oblast = t.field("Oblast").asString();
        EXPECT_TRUE(oblast.isEmpty() || oblasti.contains(oblast)) << oblast.toStdString();
    }
    EXPECT_GE(druhy.value("D"), 4);
    EXPECT_GE(druhy.value("O"), 20);
    EXPECT_GE(druhy.value("P"), 2);
    EXPECT_EQ(eur, 1);
    EXPECT_EQ(zastaveno, 1);
    EXPECT_EQ(sDic, int(t.recordCount()));
    EXPECT_EQ(sKontaktem, int(t.recordCount()));
    Table z(*db, QStringLiteral("Ciselnik\\Fir_Zapis"));
    z.open();
    EXPECT_GE(z.recordCount(), 5);
    for (z.first(); !z.eof() && z.hasRecord(); z.next()) {
        EXPECT_TRUE(t.findKey({z.field("Cis_Firmy").asInteger()}));
        EXPECT_LE(z.field("Datum").asDate(), QDate::currentDate());
    }
}

// Every demo product is priced as the product form would price it: the wholesale price from its
// markup, the retail price and its markup in agreement, the minimum price from its markup, a
// valid VAT rate (mostly the first, some the second) and a valid EAN-13.
TEST_F(FirmyDemoTest, DemoProductsKeepThePriceRelationsOfTheForm) {
    NastaveniProgramu n;
    ASSERT_EQ(nactiNastaveni(koren(), n), StavNacteni::Nacteno);
    Table t(*db, QStringLiteral("Ciselnik\\Vyrobky"));
    t.open();
    int prvni = 0, druha = 0;
    QSet<QString> eany;
    for (t.first(); !t.eof() && t.hasRecord(); t.next()) {
        SCOPED_TRACE(t.field("Nazev").asString().toStdString());
        const Decimal nc = t.field("NC_Netto").asDecimal();
        const Decimal f = t.field("Faktor_Bal").asDecimal(), cz = t.field("CenaZa").asDecimal();
        const Decimal dph = t.field("DPH").asDecimal();
        ASSERT_FALSE(nc.isZero());
        EXPECT_EQ(ceny::CenaVOzPrirazky(nc, f, cz, t.field("Kalk_Prir").asDecimal(), n.ZaokrCen),
                  t.field("PC_Zakl").asDecimal());
        EXPECT_EQ(ceny::UrciMOCenu(nc, f, cz, t.field("MO_Marze").asDecimal(), dph),
                  t.field("MO_Cena").asDecimal());
        EXPECT_EQ(ceny::MinimalniPC(nc, f, cz, t.field("Min_Marze").asDecimal(), n.ZaokrCen),
                  t.field("PC_Min").asDecimal());
        EXPECT_LT(t.field("PC_Min").asDecimal(), t.field("PC_Zakl").asDecimal());
        EXPECT_TRUE(n.jePlatnaSazbaDPH(dph));
        if (dph == n.SazbyDPH[0]) ++prvni;
        if (dph == n.SazbyDPH[1]) ++druha;
        const QString ean = t.field("EAN13").asString();
        ASSERT_EQ(ean.size(), 13);
        int soucet = 0;
        for (int i = 0; i < 13; ++i)
            soucet += (ean[i].unicode() - '0') * (i % 2 ? 3 : 1);
        EXPECT_EQ(soucet % 10, 0) << ean.toStdString();
        EXPECT_FALSE(eany.contains(ean));
        eany << ean;
    }
    EXPECT_GT(prvni, 10 * druha);
    EXPECT_GE(druha, 3);
    // The unit boxes' lists.
    EXPECT_TRUE(nactiSeznam(koren(), kSouborDruhMn).contains("ks"));
    EXPECT_TRUE(nactiSeznam(koren(), kSouborObjMn).contains("krt"));
}

TEST_F(FirmyDemoTest, TintedPaintsHaveRecipesOfExistingProducts) {
    Table k(*db, QStringLiteral("Ciselnik\\Vyr_Komp"));
    k.open();
    Table v(*db, QStringLiteral("Ciselnik\\Vyrobky"));
    v.setIndexName(QString());
    v.open();
    QSet<qint64> michane;
    int radku = 0;
    for (k.first(); !k.eof() && k.hasRecord(); k.next(), ++radku) {
        SCOPED_TRACE(k.field("KNazev").asString().toStdString());
        ASSERT_TRUE(v.findKey({k.field("KCisVyr").asInteger()}));
        EXPECT_EQ(v.field("Nazev").asString(), k.field("KNazev").asString());
        EXPECT_EQ(v.field("ObjCis").asString(), k.field("KObjCis").asString());
        EXPECT_GT(k.field("KStand_Mn").asFloat(), 0);
        EXPECT_GT(k.field("KStand_PC").asFloat(), 0);
        michane << k.field("Cis_Vyr").asInteger();
    }
    EXPECT_EQ(michane.size(), 3);
    EXPECT_GE(radku, 9);
    for (qint64 c : michane) {
        ASSERT_TRUE(v.findKey({c}));
        EXPECT_TRUE(v.field("Nazev").asString().contains("tónovaný")) << c;
    }
}
