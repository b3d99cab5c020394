// The document entry controller on stock receipts: the new header's number, the items from
// their products with their prices and line totals, the header totals kept by each change and
// checked in full, reservations following saved items only, renumbering, VAT added to prices.
#include "sklad_fixture.h"

#include "ceny_datacis.h"
#include "rizeni_dokladu.h"

namespace brix::test {
namespace {

using doklad::PoleVstupu;
using doklad::RizeniDokladu;
using doklad::VlastnostiDokladu;

class RizeniDokladuTest : public SkladTest {
protected:
    void SetUp() override {
        SkladTest::SetUp();
        ceny = std::make_unique<CenyDataCis>(*dm);
        vyber = std::make_unique<VyberVyrobkuBezVolby>(*dm);
        r = std::make_unique<RizeniDokladu>(*dm, VlastnostiDokladu::prijemka(), *ceny, *vyber,
                                            program, nastaveni);
        for (Table* t : {dm->TableHlaPrij, dm->TablePolPrij, dm->TableVyr, dm->TableCisUctu})
            t->open();
        r->setVychoziDruh(r->prvniDruh());
    }
    void TearDown() override {
        r.reset();
        vyber.reset();
        ceny.reset();
        SkladTest::TearDown();
    }

    // A saved receipt with its header in edit, as the items page has it.
    int novaPrijemka(const QString& druhCeny = "NC") {
        r->ZalozHlavicku("SPRAVCE");
        Table& h = r->hlavicka();
        h.field("Druh_Ceny").setString(druhCeny);
        h.field("Cis_Sklad").setString("1");
        EXPECT_TRUE(r->NovaHlavicka());
        EXPECT_TRUE(r->UlozDoklad());
        h.edit();
        return int(h.field("CIS_UCTU").asInteger());
    }
    // A new item of the product with the quantity, saved.
    void polozka(qint64 vyr, const QString& mnozstvi) {
        ASSERT_EQ(r->KeyPressPorCis(r->dalsiPorCis()), RizeniDokladu::PorCisVysledek::Nova);
        ASSERT_TRUE(r->NactiVyrobek(QString::number(vyr), true));
        PoleVstupu p = pole();
        p.mnozstvi = mnozstvi;
        ASSERT_TRUE(r->ClickUlozPol(p));
    }
    // The boxes as the current item shows them.
    PoleVstupu pole() {
        Table& p = r->polozky();
        return {p.field("Mnozstvi").asDecimal().toShortString(),
                p.field("Cena_Zobr").asDecimal().toShortString(),
                p.field("Rabat").asDecimal().toShortString(),
                p.field("Cena_Skl").asDecimal().toShortString()};
    }
    Decimal hlavicka(const char* pole) { return r->hlavicka().field(pole).asDecimal(); }

    NastaveniProgramu program;
    std::unique_ptr<CenyDataCis> ceny;
    std::unique_ptr<VyberVyrobkuBezVolby> vyber;
    std::unique_ptr<RizeniDokladu> r;
};

TEST_F(RizeniDokladuTest, ATakenNumberStepsOnAndAGapBelowIsReportedButTheReceiptIsMade) {
    for (int c : {1, 2, 3, 5, 6}) {
        Table h(*db, sklad::RodinaDokladu::prijemka().hlavicka);
        h.open();
        h.insert();
        h.field("CIS_UCTU").setInteger(c);
        h.field("STAV").setString("0");
        h.post();
    }
    r->ZalozHlavicku("SPRAVCE");
    r->hlavicka().field("CIS_UCTU").setInteger(5);
    r->hlavicka().field("DRUH").setString("XYZ");
    ui.clearShown();
    EXPECT_TRUE(r->NovaHlavicka()) << "an unknown kind still makes the header";
    QStringList texty;
    for (const ShownBox& b : ui.shownMessages())
        texty << b.caption + ": " + b.text;
    EXPECT_EQ(texty, (QStringList{"Informace: Účet již existuje, zvyšuji číslo",
                                  "Informace: Účet již existuje, zvyšuji číslo",
                                  "Chyba: Neexistující druh, nelze nastavit zaokrouhlení"}));
    // The kind entered is kept; number 7 is taken.
    EXPECT_EQ(r->hlavicka().field("CIS_UCTU").asInteger(), 7);
    EXPECT_EQ(r->hlavicka().field("DRUH").asString(), "XYZ");
    r->hlavicka().cancel();

    r->ZalozHlavicku("SPRAVCE");
    r->hlavicka().field("CIS_UCTU").setInteger(9);
    r->hlavicka().field("DRUH").clear();
    ui.clearShown();
    EXPECT_TRUE(r->NovaHlavicka());
    EXPECT_EQ(ui.shownMessages().size(), 1);
    EXPECT_EQ(ui.shownMessages().first().text,
              "Číslo účtu :(8) neexistuje, přerušená číselná řada");
    EXPECT_EQ(r->hlavicka().field("DRUH").asString(), "PRI");
    EXPECT_EQ(r->krokPolozky(), Dec("0.01"));
}

TEST_F(RizeniDokladuTest, ProductPriceAndLineTotalsFollowThePriceTypeAndFactor) {
    const int c = novaPrijemka("NC");
    polozka(2, "3");
    Table& p = r->polozky();
    EXPECT_EQ(p.field("Nazev").asString(), "Výrobek 2");
    EXPECT_EQ(p.field("Zakl_Cena_Zobr").asDecimal(), Decimal(20));
    EXPECT_EQ(p.field("Cena_ZobrC").asDecimal(), Decimal(60));
    EXPECT_EQ(p.field("Cena_SklC").asDecimal(), Decimal(60));
    EXPECT_EQ(p.field("Druh_Pol").asString(), "S");
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Decimal(60));
    // A factor of 0 zeroes both lines of an "NC" receipt...
    ASSERT_TRUE(r->OpravPolozku());
    p.field("Faktor").setInteger(0);
    r->opustenoMnozstvi(pole());
    EXPECT_EQ(p.field("Cena_ZobrC").asDecimal(), Decimal());
    EXPECT_EQ(p.field("Cena_SklC").asDecimal(), Decimal());
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Decimal());
    r->ZrusPolozku();
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Decimal(60));
    // ... and is not applied to "IP" prices.
    r->hlavicka().field("Druh_Ceny").setString("IP");
    ASSERT_TRUE(r->OpravPolozku());
    p.field("Faktor").setInteger(10);
    r->opustenaCenaSkl(pole());
    EXPECT_EQ(p.field("Cena_SklC").asDecimal(), Decimal(60));
    ASSERT_TRUE(r->ClickUlozPol(pole()));
    EXPECT_TRUE(r->KontrolaHlavicky());
    EXPECT_EQ(kontrola(), QStringList());
    (void)c;
}

TEST_F(RizeniDokladuTest, WholesaleRebateOfTheProductsGroupAndABranchOutOfRange) {
    Table g(*db, QStringLiteral("Ciselnik\\RabSkup"));
    g.open();
    g.insert();
    g.field("Cis_RabSkup").setInteger(3);
    g.field("Rabat1").setFloat(10);
    g.post();
    db->exec(
        "UPDATE ciselnik_vyrobky SET pc_zakl = 200, cenaza = 1, cis_rabskp = 3 WHERE cis_vyr = 1");
    dm->TableVyr->refresh();
    novaPrijemka("VO");
    r->hlavicka().field("Cis_Obor").setInteger(25);
    ui.clearShown();
    polozka(1, "2");
    ASSERT_EQ(ui.shownMessages().size(), 1);
    EXPECT_EQ(ui.shownMessages().first().text, "Obor \"25\" mimo rozsah (1-20)");
    EXPECT_EQ(r->hlavicka().field("Cis_Obor").asInteger(), 1);
    Table& p = r->polozky();
    EXPECT_EQ(p.field("Rabat").asDecimal(), Decimal(10));
    EXPECT_EQ(p.field("Cena_Zobr").asDecimal(), Decimal(180));
    EXPECT_EQ(p.field("Cena_ZobrC").asDecimal(), Decimal(360));
}

TEST_F(RizeniDokladuTest, ADisplayPriceWithoutABasePriceBecomesTheBase) {
    db->exec("UPDATE ciselnik_vyrobky SET nc_netto = 0 WHERE cis_vyr = 3");
    dm->TableVyr->refresh();
    novaPrijemka();
    ASSERT_EQ(r->KeyPressPorCis(1), RizeniDokladu::PorCisVysledek::Nova);
    ASSERT_TRUE(r->NactiVyrobek("3", true));
    PoleVstupu p = pole();
    p.mnozstvi = "2";
    p.cenaZobr = "15";
    r->opustenaCenaZobr(p);
    EXPECT_EQ(r->polozky().field("Zakl_Cena_Zobr").asDecimal(), Decimal(15));
    EXPECT_EQ(r->polozky().field("Rabat").asDecimal(), Decimal());
    EXPECT_EQ(r->polozky().field("Cena_ZobrC").asDecimal(), Decimal(30));
    // With a base the rebate follows from the typed price.
    p.cenaZobr = "12";
    r->opustenaCenaZobr(p);
    EXPECT_EQ(r->polozky().field("Rabat").asDecimal(), Decimal(20));
}

TEST_F(RizeniDokladuTest, TheReservationFollowsTheSavedItemNotTheQuantityBox) {
    novaPrijemka();
    polozka(1, "5");
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-5));
    ASSERT_TRUE(r->OpravPolozku());
    r->vstupDoMnozstvi();
    PoleVstupu p = pole();
    p.mnozstvi = "8";
    r->opustenoMnozstvi(p);
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-5));
    EXPECT_EQ(r->SpoctiDisponMn(), Decimal(5));
    // Cancelled: nothing moved, and the header is as before the edit.
    const Decimal pred = Decimal(50);
    r->ZrusPolozku();
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-5));
    EXPECT_EQ(hlavicka("Cena_SklCelk"), pred);
    // Saved: 5 to 8 reserves 3 more.
    ASSERT_TRUE(r->OpravPolozku());
    r->opustenoMnozstvi(p);
    ASSERT_TRUE(r->ClickUlozPol(p));
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-8));
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Decimal(80));
    // Deleted: the 8 go back, the header loses the item.
    ui.answer(Button::Yes, "Chceš opravdu smazat položku", "Dotaz");
    ASSERT_TRUE(r->ClickSmazatPol());
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal());
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Decimal());
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(RizeniDokladuTest, HeaderTotalsThatDisagreeAreOfferedForCorrectionOnce) {
    const int c = novaPrijemka();
    polozka(1, "2");
    polozka(2, "1");
    r->hlavicka().post();
    db->exec(QStringLiteral("UPDATE int_ucty_prijem_hla_prij SET cena_sklcelk = 1, "
                            "cena_zobrcelk = 2 WHERE cis_uctu = %1")
                 .arg(c));
    r->hlavicka().refresh();
    ui.answer(Button::Yes, "Nesprávná zobrazovaná cena v hlavičce,správně :40, opravit ?", "Dotaz");
    EXPECT_TRUE(r->KontrolaHlavicky());
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Decimal(40));
    EXPECT_EQ(hlavicka("Cena_ZobrCelk"), Decimal(40));
    ui.clearShown();
    EXPECT_TRUE(r->KontrolaHlavicky());
    EXPECT_TRUE(ui.shownMessages().isEmpty());
}

TEST_F(RizeniDokladuTest, ItemNumbersAreCheckedAndRenumberedFromTheItemBeforeTheCurrent) {
    novaPrijemka();
    EXPECT_EQ(r->KeyPressPorCis(0), RizeniDokladu::PorCisVysledek::Chyba);
    EXPECT_EQ(ui.shownMessages().last().text, "Poř.číslo musí být >0");
    for (int n : {1, 2, 4, 5, 9}) {
        ASSERT_EQ(r->KeyPressPorCis(n), RizeniDokladu::PorCisVysledek::Nova);
        ASSERT_TRUE(r->NactiVyrobek("1", true));
        ASSERT_TRUE(r->ClickUlozPol(pole()));
    }
    // An existing number goes into edit.
    EXPECT_EQ(r->KeyPressPorCis(5), RizeniDokladu::PorCisVysledek::Oprava);
    r->ZrusPolozku();
    program.AutPrecislPol = true;
    ASSERT_TRUE(r->polozky().findKey({r->hlavicka().field("CIS_UCTU").value(), 5}));
    ASSERT_TRUE(r->ButtonPrecislujClick());
    QList<qint64> cisla;
    Table& p = r->polozky();
    for (p.first(); !p.eof() && p.hasRecord(); p.next())
        cisla << p.field("PorCis").asInteger();
    EXPECT_EQ(cisla, (QList<qint64>{1, 2, 4, 5, 6}));
    program.AutPrecislPol = false;
    ui.answer(Button::Yes, "Opravdu chceš přečíslovat položky");
    ASSERT_TRUE(r->ButtonPrecislujClick());
    cisla.clear();
    for (p.first(); !p.eof() && p.hasRecord(); p.next())
        cisla << p.field("PorCis").asInteger();
    EXPECT_EQ(cisla, (QList<qint64>{1, 2, 3, 4, 5}));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(RizeniDokladuTest, VatIsAddedByEachProductsRateAndTheHeaderFollows) {
    db->exec("UPDATE ciselnik_vyrobky SET dph = 12 WHERE cis_vyr = 2");
    dm->TableVyr->refresh();
    novaPrijemka();
    polozka(1, "2"); // 10 a piece, 21 %
    polozka(2, "1"); // 20 a piece, 12 %
    r->hlavicka().post();
    ASSERT_TRUE(r->PridejDPH());
    Table p(*db, sklad::RodinaDokladu::prijemka().polozky);
    p.open();
    p.first();
    EXPECT_EQ(p.field("Cena_Skl").asDecimal(), Dec("12.1"));
    EXPECT_EQ(p.field("Cena_SklC").asDecimal(), Dec("24.2"));
    p.next();
    EXPECT_EQ(p.field("Cena_Zobr").asDecimal(), Dec("22.4"));
    r->hlavicka().refresh();
    EXPECT_EQ(hlavicka("Cena_SklCelk"), Dec("46.6"));
    EXPECT_EQ(kontrola(), QStringList());
    // Not on a closed receipt.
    ASSERT_TRUE(Zauctovani(*kontext, sklad::RodinaDokladu::prijemka())
                    .uzavri(int(r->hlavicka().field("CIS_UCTU").asInteger()), "0")
                    .ok());
    r->hlavicka().refresh();
    EXPECT_FALSE(r->PridejDPH());
    EXPECT_EQ(ui.shownMessages().last().text,
              "Uzavřený účet nelze editovat, použijte funkci \"Storno pohybů\"");
    EXPECT_FALSE(r->ButtonPrecislujClick());
}

TEST_F(RizeniDokladuTest, ASecondWorkstationsNumberIsSteppedOverAtTheFirstSave) {
    r->ZalozHlavicku("SPRAVCE");
    r->hlavicka().field("Cis_Sklad").setString("1");
    ASSERT_TRUE(r->NovaHlavicka());
    const int cislo = int(r->hlavicka().field("CIS_UCTU").asInteger());
    {
        // Another copy saves a receipt of the same number meanwhile.
        auto jina = Database::open(dir.path());
        Table h(*jina, sklad::RodinaDokladu::prijemka().hlavicka);
        h.open();
        h.insert();
        h.field("CIS_UCTU").setInteger(cislo);
        h.field("STAV").setString("0");
        h.post();
    }
    ui.clearShown();
    ASSERT_TRUE(r->UlozDoklad());
    EXPECT_EQ(r->hlavicka().field("CIS_UCTU").asInteger(), cislo + 1);
    EXPECT_EQ(ui.shownMessages().size(), 1);
    EXPECT_EQ(ui.shownMessages().first().text, "Účet již existuje, zvyšuji číslo");
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(RizeniDokladuTest, SavingDropsANewItemWithoutProductAndCancelAsksFirst) {
    novaPrijemka();
    polozka(1, "2");
    ASSERT_EQ(r->KeyPressPorCis(2), RizeniDokladu::PorCisVysledek::Nova);
    ASSERT_TRUE(r->UlozDoklad());
    EXPECT_EQ(r->dalsiPorCis(), 2);
    r->hlavicka().edit();
    ASSERT_TRUE(r->OpravPolozku());
    ui.answer(Button::No, "Chceš opravdu skončit bez záznamu");
    EXPECT_FALSE(r->FormDeactivate(true));
    EXPECT_EQ(r->rezim(), RizeniDokladu::Rezim::Oprava);
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu");
    EXPECT_TRUE(r->FormDeactivate(true));
    EXPECT_EQ(r->rezim(), RizeniDokladu::Rezim::Prohlizeni);
    EXPECT_EQ(kontrola(), QStringList());
}

} // namespace
} // namespace brix::test
