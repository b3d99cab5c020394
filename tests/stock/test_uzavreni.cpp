// The closing holders: every question and check comes before anything is written, the
// messages of the posting come after it, in the words and captions of the system.
#include "sklad_fixture.h"

#include "uzavreni.h"

namespace brix::test {
namespace {

const RodinaDokladu& P = RodinaDokladu::prijemka();
const RodinaDokladu& V = RodinaDokladu::vydejka();
const RodinaDokladu& Z = RodinaDokladu::dodavka();

class UzavreniTest : public SkladTest {
protected:
    QStringList okna() {
        QStringList out;
        for (const ShownBox& b : ui.shownMessages())
            out << b.caption + ": " + b.text;
        return out;
    }
};

TEST_F(UzavreniTest, NoToTheClosingQuestionChangesNothing) {
    const int c = doklady->novy(P);
    doklady->uloz(P, c, pol(1, 1, "1", Decimal(2), Decimal(3), Decimal(3)));
    TFormulIPrijUzavri u(*dm, nastaveni);
    ui.answer(Button::No, "Chceš opravdu provést uzavření účtu", "Dotaz");
    EXPECT_FALSE(u.UzavriPrijemku(c));
    EXPECT_EQ(stavDokladu(P, c), "0");
    EXPECT_EQ(zasoba(1, "1").ks, Decimal());
}

TEST_F(UzavreniTest, ItemCheckFindingsComeBeforeTheClosingAndNoStopsIt) {
    const int c = doklady->novy(P);
    doklady->uloz(P, c, pol(1, 6, "1", Decimal(2), Decimal(3), Decimal(3)));
    doklady->uloz(P, c, pol(2, 1, "1", Decimal(-5), Decimal(3), Decimal(3)));
    TFormulIPrijUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ui.answer(Button::No, "Chceš účet opravdu uzavřít ?", "Dotaz");
    EXPECT_FALSE(u.UzavriPrijemku(c));
    EXPECT_EQ(okna(), (QStringList{"Dotaz: Chceš opravdu provést uzavření účtu",
                                   "Varování: 6 není v evidenci výrobků",
                                   "Varování: 1 není na skladě v dostatečném množství",
                                   "Dotaz: Chceš účet opravdu uzavřít ?"}));
    EXPECT_EQ(stavDokladu(P, c), "0");

    ui.clearShown();
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ui.answer(Button::Yes, "Chceš účet opravdu uzavřít ?");
    EXPECT_TRUE(u.UzavriPrijemku(c));
    EXPECT_TRUE(okna().endsWith("Varování: Nenalezen výrobek číslo 6"));
    EXPECT_EQ(stavDokladu(P, c), "2");
    EXPECT_EQ(zasoba(1, "1").ks, Decimal(-5));
}

TEST_F(UzavreniTest, HeaderTotalsThatDisagreeWithTheItemsAreReported) {
    const int c = doklady->novy(P);
    doklady->uloz(P, c, pol(1, 1, "1", Decimal(2), Decimal(3), Decimal(3)));
    db->exec(QStringLiteral("UPDATE int_ucty_prijem_hla_prij SET cena_zobrcelk = 8.5"));
    TFormulIPrijUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ui.answer(Button::Yes, "Chceš účet opravdu uzavřít ?");
    EXPECT_TRUE(u.UzavriPrijemku(c));
    EXPECT_TRUE(okna().contains("Chyba: Součet cen položek nesouhlasí s hlavičkou"));

    // A difference of at most 1 is tolerated.
    const int d = doklady->novy(P);
    doklady->uloz(P, d, pol(1, 1, "1", Decimal(2), Decimal(3), Decimal(3)));
    db->exec(QStringLiteral("UPDATE int_ucty_prijem_hla_prij SET cena_zobrcelk = 7"));
    ui.clearShown();
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    EXPECT_TRUE(u.UzavriPrijemku(d));
    EXPECT_EQ(okna(), QStringList{"Dotaz: Chceš opravdu provést uzavření účtu"});
}

TEST_F(UzavreniTest, AProductNumberThatDiffersFromTheKeyIsCorrectedWithItsReservation) {
    nastaveniProgramu().HlKlicVyr = "ObjCis";
    nastaveni.klicVyrobku = "ObjCis";
    const int c = doklady->novy(P);
    doklady->uloz(P, c, pol(1, 1, "1", Decimal(4), Decimal(3), Decimal(3)));
    doklady->zmen(P, c, 1, [](Table& t) { t.field("ObjCis").setString("OBJ2"); });
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal(-4));
    TFormulIPrijUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ui.answer(Button::Yes, "OBJ2 nemá shodné obj.čís. s databází výrobků,mám jej opravit ?");
    ui.answer(Button::No, "Chceš účet opravdu uzavřít ?");
    EXPECT_FALSE(u.UzavriPrijemku(c));
    EXPECT_EQ(zasoba(1, "1").rezervace, Decimal());
    EXPECT_EQ(zasoba(2, "1").rezervace, Decimal(-4));
    EXPECT_EQ(kontrola(), QStringList());
}

TEST_F(UzavreniTest, ClosingAClosedReceiptAnnouncesTheCorrection) {
    const int c = doklady->novy(P);
    doklady->uloz(P, c, pol(1, 1, "1", Decimal(2), Decimal(3), Decimal(3)));
    TFormulIPrijUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ASSERT_TRUE(u.UzavriPrijemku(c));
    ui.clearShown();
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ASSERT_TRUE(u.UzavriPrijemku(c));
    EXPECT_TRUE(u.posledni().oprava);
    EXPECT_EQ(okna(), (QStringList{"Dotaz: Chceš opravdu provést uzavření účtu",
                                   "Varování: Tento účet byl již uzavřen, budou provedeny opravy "
                                   "pohybů"}));
}

TEST_F(UzavreniTest, IssueShortOfStockAndTheOtherModeOfTheRegister) {
    const int c = doklady->novy(V);
    doklady->uloz(V, c, pol(1, 1, "1", Decimal(2), Decimal(3), Decimal(3)));
    TFormulIVydUzavri u(*dm, nastaveni);
    EXPECT_FALSE(u.UzavriVydejku(c, true));
    EXPECT_EQ(okna(), QStringList{"Varování: Uzavírat lze pouze druh účtu -Převodka"});
    ui.clearShown();
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ui.answer(Button::Yes, "Chceš účet opravdu uzavřít ?");
    EXPECT_TRUE(u.UzavriVydejku(c, false));
    EXPECT_TRUE(okna().contains("Varování: 1 není na skladě v dostatečném množství"));
}

TEST_F(UzavreniTest, GoodsReceivedFromASupplierWithStoppedDeliveriesIsRefused) {
    const int c = doklady->novy(Z);
    doklady->uloz(Z, c, pol(1, 1, "1", Decimal(2), Decimal(3)));
    db->exec(QStringLiteral("UPDATE ciselnik_firmy SET zast_dodavek = 1"));
    TFormulDLPUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    EXPECT_FALSE(u.UzavriDodavku(c));
    EXPECT_EQ(okna().last(), "Upozornění: Firma ma zakázané dodávky, akce nebude provedena");
    EXPECT_EQ(stavDokladu(Z, c), "0");
}

TEST_F(UzavreniTest, GoodsReceivedSumMessageShowsBothAmounts) {
    const int c = doklady->novy(Z);
    doklady->uloz(Z, c, pol(1, 1, "1", Decimal(2), Decimal(3)));
    db->exec(QStringLiteral("UPDATE ext_ucty_prijzb_hla_dlp SET zaklad = 1234.5"));
    TFormulDLPUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    ui.answer(Button::No, "Chceš účet opravdu uzavřít ?");
    EXPECT_FALSE(u.UzavriDodavku(c));
    EXPECT_TRUE(okna().contains("Chyba: Součet cen položek nesouhlasí s hlavičkou\n"
                                " 1234,50 :     6,00"))
        << okna().join("\n").toStdString();
}

TEST_F(UzavreniTest, TheItemCheckIsSkippedWithoutTheSetting) {
    nastaveni.kontrolaSkladu = false;
    const int c = doklady->novy(V);
    doklady->uloz(V, c, pol(1, 1, "1", Decimal(2), Decimal(3), Decimal(3)));
    TFormulIVydUzavri u(*dm, nastaveni);
    ui.answer(Button::Yes, "Chceš opravdu provést uzavření účtu");
    EXPECT_TRUE(u.UzavriVydejku(c, false));
    EXPECT_EQ(okna(), QStringList{"Dotaz: Chceš opravdu provést uzavření účtu"});
}

} // namespace
} // namespace brix::test
