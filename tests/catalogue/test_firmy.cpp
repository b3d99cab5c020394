// The partner register: the clipboard record, the offered number, the searches and ranges, the
// marked partners, deleting with the notes, the notes page and the look-ups of the entry page.
#include "ciselniky_fixture.h"
#include "codec.h"
#include "firmy.h"
#include "formul_firma.h"
#include "golden.h"
#include "util/path_resolver.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

using namespace brix;

namespace {

class FirmyTest : public test::CiselnikyTest {
protected:
    void SetUp() override {
        CiselnikyTest::SetUp();
        add(*dm->TableObor, {{"Cis_obor", 1}, {"Popis", "Velkoobchod"}});
        add(*dm->TableObor, {{"Cis_obor", 2}, {"Popis", "Stavebnictví"}});
    }
    void firma(int cislo, const QString& nazev, const QString& mesto = {},
               const QString& zkratka = {}) {
        add(*dm->TableFir, {{"Cis_firmy", cislo},
                            {"Zkr_nazev", zkratka.isEmpty() ? nazev.left(15) : zkratka},
                            {"Nazev", nazev},
                            {"Mesto", mesto},
                            {"Cis_obor", 1}});
    }
    QStringList nazvy(Table& t) {
        QStringList out;
        for (t.first(); !t.eof() && t.hasRecord(); t.next())
            out << t.field("Nazev").asString();
        return out;
    }
    QString soubor(const QString& jmeno) {
        QFile f(resolvedFilePath(dir.path(), QStringLiteral("ciselnik\\") + jmeno));
        return f.open(QIODevice::ReadOnly) ? decode(f.readAll()) : QString();
    }
};

SchrankaFirmy vzorovaFirma() {
    SchrankaFirmy f;
    f.Nazev = "Železářství a barvy U Zlatého klíče Chrudim"; // 43 characters
    f.Jmeno = "ŽELEZÁŘSTVÍ ZLATÝ KLÍČ";
    f.Ulice = "Náměstí Míru 8";
    f.Mesto = "Chrudim";
    f.Tlf1 = "469 622 101";
    f.Fax = "";
    f.PSC = "53701";
    f.ICO = "12345678";
    f.DIC = "CZ12345678";
    return f;
}

} // namespace

// The record: nine length-prefixed, zero-filled buffers in Windows-1250; a longer value is cut.
TEST(SchrankaFirmy, RecordAndPlainTextAreTheFixedLayout) {
    const SchrankaFirmy f = vzorovaFirma();
    const QByteArray z = ZaznamSchrankyFirmy(f);
    ASSERT_EQ(z.size(), kDelkaSchrankyFirmy);
    EXPECT_EQ(int(uchar(z[0])), 40);
    EXPECT_EQ(z.mid(1, 40), encode(f.Nazev.left(40)));
    EXPECT_EQ(int(uchar(z[205])), 0); // no fax: a zero length and a zero-filled buffer
    EXPECT_EQ(z.mid(206, 40), QByteArray(40, '\0'));
    EXPECT_EQ(int(uchar(z[246])), 5);
    EXPECT_EQ(int(uchar(z[266])), 10);
    test::expectGolden("cf_vuz.bin", z);
    test::expectGolden("cf_vuz.txt", TextSchrankyFirmy(f).toUtf8());
    EXPECT_TRUE(TextSchrankyFirmy(f).startsWith(f.Nazev + "\r\n" + f.Jmeno + "\r\n"));
    EXPECT_TRUE(TextSchrankyFirmy(f).contains("53701  Chrudim\r\n\r\nTlf:469 622 101\r\nFax:\r\n"));
    EXPECT_TRUE(TextSchrankyFirmy(f).endsWith("ICO:12345678\r\nDIC:CZ12345678"));

    // Read back: the values as far as they fit.
    const std::optional<SchrankaFirmy> zpet = CtiSchrankuFirmy(z);
    ASSERT_TRUE(zpet);
    EXPECT_EQ(zpet->Nazev, f.Nazev.left(40));
    EXPECT_EQ(zpet->Jmeno, f.Jmeno);
    EXPECT_EQ(zpet->DIC, f.DIC);
    EXPECT_EQ(zpet->Fax, "");
}

// Data of another program: too short is ignored, a length byte beyond its buffer is clamped to
// it, so that nothing is read past the buffer or the data.
TEST(SchrankaFirmy, ShortDataAndOversizedLengthsAreNeverReadPastTheirEnd) {
    const QByteArray z = ZaznamSchrankyFirmy(vzorovaFirma());
    EXPECT_FALSE(CtiSchrankuFirmy(z.left(286)));
    EXPECT_FALSE(CtiSchrankuFirmy(QByteArray()));
    QByteArray spatne = z;
    spatne[0] = char(255);  // the name's buffer is 40
    spatne[266] = char(99); // the last buffer is 20, at the end of the data
    const std::optional<SchrankaFirmy> f = CtiSchrankuFirmy(spatne);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Nazev, vzorovaFirma().Nazev.left(40));
    EXPECT_EQ(f->DIC, "CZ12345678");
    EXPECT_TRUE(CtiSchrankuFirmy(z + QByteArray(10, 'x'))); // longer data: the record is read
}

// With partners 100 and 101 and 100 in the file, "&Nový" offers 102 and the file keeps it.
TEST_F(FirmyTest, NewPartnerTakesTheNextFreeNumberAndTheFileKeepsIt) {
    firma(100, "Alfa");
    firma(101, "Beta");
    ASSERT_TRUE(ulozDalsiCisloFirmy(dir.path(), 100));
    TFormulFirma f(*dm);
    f.openRegister();
    EXPECT_EQ(f.LabelIndex->text(), "ZkrNazevF");
    EXPECT_EQ(f.table().field("Nazev").asString(), "Beta"); // the last one current
    f.NovyClick();
    ASSERT_TRUE(f.entryShown());
    EXPECT_EQ(f.box("Cis_firmy")->text(), "102");
    EXPECT_TRUE(f.table().field("Uc_jednotka").asBoolean());
    EXPECT_FALSE(f.MenuHledej->menuAction()->isEnabled());
    EXPECT_FALSE(f.MenuFunkce->menuAction()->isEnabled());
    f.ButtonZrusClick();
    EXPECT_TRUE(f.MenuTrideni->menuAction()->isEnabled());
    f.closeRegister();
    EXPECT_EQ(nactiDalsiCisloFirmy(dir.path()), 102);

    // Without the file the numbering starts at 1, and nothing is said.
    ASSERT_TRUE(
        QFile::remove(resolvedFilePath(dir.path(), QStringLiteral("ciselnik\\nastavfi.txt"))));
    firma(1, "Gama");
    f.openRegister();
    f.NovyClick();
    EXPECT_EQ(f.box("Cis_firmy")->text(), "2");
    f.ButtonZrusClick();
    f.closeRegister();
}

TEST_F(FirmyTest, NumberOutsideItsRangeIsRefusedAndThePartnerStaysInInsert) {
    TFormulFirma f(*dm);
    f.openRegister();
    f.NovyClick();
    f.box("Zkr_nazev")->setText("Nová");
    f.seznam("Cis_obor")->setCurrentIndex(f.seznam("Cis_obor")->findData("1"));
    for (const char* spatne : {"0", "10000000"}) {
        f.box("Cis_firmy")->setText(spatne);
        ui.answer(Button::Ok, "Číslo firmy musí být v rozsahu 1-9999999", caption::Chyba);
        f.ButtonOkClick();
        EXPECT_TRUE(f.entryShown());
        EXPECT_EQ(f.table().state(), TableState::Insert);
        EXPECT_EQ(f.box("Zkr_nazev")->text(), "Nová");
    }
    f.box("Cis_firmy")->setText("9999999");
    f.ButtonOkClick();
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(f.table().field("Cis_obor").asInteger(), 1);
    // A taken number: the table's own message, still in insert.
    f.NovyClick();
    f.box("Cis_firmy")->setText("9999999");
    f.box("Zkr_nazev")->setText("Druhá");
    f.seznam("Cis_obor")->setCurrentIndex(1);
    ui.answer(Button::Ok, "Firma s tímto číslem již existuje");
    f.ButtonOkClick();
    EXPECT_EQ(f.table().state(), TableState::Insert);
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu?", caption::Dotaz);
    f.ButtonZrusClick();
    f.closeRegister();
}

// "Název obsahuje" from the current partner onward in the current order, ignoring case; not
// found: "Nenalezen žádný záznam" (caption "Info") and the table at its end.
TEST_F(FirmyTest, NameContainsSearchesOnwardFromTheCurrentPartner) {
    firma(1, "Barvy Hostivař", "Praha", "A1");
    firma(2, "Laky Kolín", "Kolín", "A2");
    firma(3, "Stavby a BARVY Jihlava", "Jihlava", "A3");
    firma(4, "Železářství", "Tábor", "A4");
    firma(5, "", "Brno", "A0");             // no name: first in the order
    firma(6, "Barvy Duplikát", "Aš", "A3"); // the same short name as 3, after it
    TFormulFirma f(*dm);
    f.openRegister();
    f.table().first();
    f.table().next();
    ui.answerInput("  barvy ", "Dotaz - bez zadání nehledat");
    f.NazevObsahujeClick();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 1); // the current one counts
    f.table().next();
    ui.answerInput("barvy");
    f.NazevObsahujeClick();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 3);
    f.table().next();
    f.table().next();
    ui.answerInput("barvy");
    ui.answer(Button::Ok, "Nenalezen žádný záznam", "Info");
    f.NazevObsahujeClick();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 4);
    ui.answerInput("   "); // nothing asked, nothing moves
    f.NazevObsahujeClick();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 4);
    // Czech letters in any case, from a partner without a name.
    f.table().first();
    ui.answerInput("ŽELEZ");
    f.NazevObsahujeClick();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 4);
    // Partners of one short name: onward from the current one, never back to the one before.
    ASSERT_TRUE(f.table().locate("Cis_firmy", {3}));
    ui.answerInput("duplik");
    f.NazevObsahujeClick();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 6);
    ui.answerInput("stavby");
    ui.answer(Button::Ok, "Nenalezen žádný záznam", "Info");
    f.NazevObsahujeClick();
    // The search column: the first partner whose field starts with the text.
    f.hledejItem(3); // "&Město"
    f.EditHledej->setText("kol");
    f.EditHledejExit();
    EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 2);
    f.closeRegister();
}

// The name range reaches every name continuing the answer, "ž" (after z) included; the town
// filter takes the answer as a literal, so an apostrophe is a letter, and empty shows all.
TEST_F(FirmyTest, NameRangeAndTownFilter) {
    firma(1, "Bar", "L'Aquila");
    firma(2, "Barva Brno", "Brno");
    firma(3, "Barzzz", "Brno");
    firma(4, "Barža a spol.", "Bruntál");
    firma(5, "Bas", "Brno");
    firma(6, "Baq", "Aš");
    TFormulFirma f(*dm);
    f.openRegister();
    ui.answerInput("Bar", "Rozsah");
    f.rangeActions[0]->trigger();
    EXPECT_EQ(nazvy(f.table()), QStringList({"Bar", "Barva Brno", "Barzzz", "Barža a spol."}));
    f.table().last();
    EXPECT_EQ(f.table().field("Nazev").asString(), "Barža a spol.");
    EXPECT_EQ(f.LabelIndex->text(), "Nazev");
    ui.answerInput("", "Rozsah"); // no range
    f.rangeActions[0]->trigger();
    EXPECT_EQ(f.table().recordCount(), 6);

    ui.answerInput("L'A", "Rozsah");
    f.rangeActions[1]->trigger();
    EXPECT_FALSE(f.table().hasRange());
    EXPECT_EQ(nazvy(f.table()), QStringList({"Bar"}));
    EXPECT_EQ(f.StatusBar1->panelText(0), "Filtr zapnut");
    ui.answerInput("Br", "Rozsah");
    f.rangeActions[1]->trigger();
    EXPECT_EQ(f.table().recordCount(), 4);
    ui.answerInput("", "Rozsah");
    f.rangeActions[1]->trigger();
    EXPECT_EQ(f.table().recordCount(), 6);
    f.closeRegister();
    EXPECT_FALSE(f.table().active());
}

TEST_F(FirmyTest, MarkedPartnersAreTheOnlyOnesShown) {
    for (int i = 1; i <= 5; ++i)
        firma(i, QString("Firma %1").arg(i), {}, QString("F%1").arg(i));
    TFormulFirma f(*dm);
    f.openRegister();
    f.DbGrid1->toggleMark(1);
    f.DbGrid1->toggleMark(3);
    f.OznaceneVetyClick();
    EXPECT_EQ(nazvy(f.table()), QStringList({"Firma 2", "Firma 4"}));
    EXPECT_EQ(f.StatusBar1->panelText(2), "Filtr : Označené věty");
    ui.answerInput("Firma", "Rozsah"); // another range lifts the marks' filter
    f.RozsahNazevClick();
    EXPECT_EQ(f.table().recordCount(), 5);
    EXPECT_EQ(f.StatusBar1->panelText(2), "");
    f.closeRegister();
}

// A deleted partner's notes go with it (a partner given its number later starts without them);
// a refused deletion keeps both.
TEST_F(FirmyTest, DeletingAPartnerDeletesItsNotesInOneTransaction) {
    firma(7, "Sedmička");
    firma(8, "Osmička");
    for (int c : {7, 7, 8})
        add(*dm->TableFir_Zapis, {{"Cis_Firmy", c}, {"Popis", QString("Schůzka %1").arg(c)}});
    TFormulFirma f(*dm);
    f.openRegister();
    ASSERT_TRUE(f.table().locate("Cis_firmy", {7}));
    ui.answer(Button::No, "Chceš opravdu smazat větu ?");
    f.SmazatClick();
    EXPECT_EQ(f.table().recordCount(), 2);
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?");
    f.SmazatClick();
    EXPECT_EQ(f.table().recordCount(), 1);
    Table z(*db, "Ciselnik\\Fir_Zapis");
    z.open();
    EXPECT_EQ(z.recordCount(), 1);
    EXPECT_EQ(z.field("Cis_Firmy").asInteger(), 8);

    // A deletion the storage refuses (an injected failure) leaves the partner and its notes.
    db->exec("CREATE TRIGGER stop BEFORE DELETE ON ciselnik_firmy BEGIN SELECT RAISE(ABORT, "
             "'zamčeno'); END");
    ASSERT_TRUE(f.table().locate("Cis_firmy", {8}));
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?");
    ui.answer(Button::Ok, "zamčeno");
    f.SmazatClick();
    EXPECT_EQ(f.table().recordCount(), 1);
    z.refresh();
    EXPECT_EQ(z.recordCount(), 1);
    f.closeRegister();
}

// A partner that products or documents name is not deleted (its notes are no use of it).
TEST_F(FirmyTest, APartnerNamedByProductsOrDocumentsIsNotDeleted) {
    firma(5, "Dodavatel");
    add(*dm->TableFir_Zapis, {{"Cis_Firmy", 5}, {"Popis", "Schůzka"}});
    add(*dm->TableVyr,
        {{"Cis_vyr", 1}, {"Druh_Pol", "S"}, {"DPH", 21}, {"Faktor_Bal", 1}, {"Cis_Firmy", 5}});
    TFormulFirma f(*dm);
    f.openRegister();
    ASSERT_TRUE(f.table().locate("Cis_firmy", {5}));
    ui.answer(Button::Ok, "výrobky: 1", caption::Chyba);
    f.SmazatClick(); // refused before the question
    EXPECT_EQ(f.table().recordCount(), 1);

    Table vyr(*db, "Ciselnik\\Vyrobky");
    vyr.open();
    vyr.first();
    vyr.remove();
    ASSERT_TRUE(f.table().locate("Cis_firmy", {5}));
    ui.answer(Button::Yes, "Chceš opravdu smazat větu ?");
    f.SmazatClick();
    EXPECT_EQ(f.table().recordCount(), 0);
    f.closeRegister();
}

TEST_F(FirmyTest, NotesPageAddsTodaysNoteAndAsksBeforeDeleting) {
    firma(3, "Trojka");
    TFormulFirma f(*dm);
    f.openRegister();
    f.ZapisyClick();
    ASSERT_TRUE(f.zapisyShown());
    EXPECT_EQ(f.LabelFirma->text(), "Firma : Trojka");
    EXPECT_FALSE(f.MenuNovy->isEnabled());
    ASSERT_TRUE(f.NavigatorZapisy->trigger(Navigator::Insert));
    EXPECT_EQ(f.EditDatum->dateValue(), QDate::currentDate());
    f.EditPopis->setText("Nabídka laků");
    f.KonecZapisuClick();
    EXPECT_FALSE(f.zapisyShown());
    EXPECT_TRUE(f.MenuNovy->isEnabled());
    Table z(*db, "Ciselnik\\Fir_Zapis");
    z.open();
    ASSERT_EQ(z.recordCount(), 1);
    EXPECT_EQ(z.field("Cis_Firmy").asInteger(), 3);
    EXPECT_EQ(z.field("Datum").asDate(), QDate::currentDate());
    EXPECT_EQ(z.field("Popis").asString(), "Nabídka laků");

    f.ZapisyClick();
    ui.answer(Button::No, "Chceš opravdu smazat položku", caption::Dotaz);
    EXPECT_FALSE(f.NavigatorZapisy->trigger(Navigator::Remove));
    ui.answer(Button::Yes, "Chceš opravdu smazat položku");
    EXPECT_TRUE(f.NavigatorZapisy->trigger(Navigator::Remove));
    z.refresh();
    EXPECT_EQ(z.recordCount(), 0);
    // Escape in a box of a note being written asks, and Yes drops the note.
    ASSERT_TRUE(f.NavigatorZapisy->trigger(Navigator::Insert));
    f.EditPopis->setText("Nic");
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu");
    test::CiselnikyTest::key(f.EditPopis->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(f.zapisyShown());
    z.refresh();
    EXPECT_EQ(z.recordCount(), 0);
    f.closeRegister();
}

// "&C" copies the partner (record and text), "&V" writes exactly the nine fields of the record,
// each cut to its field; another clipboard content is ignored.
TEST_F(FirmyTest, ClipboardButtonsCopyAndPasteTheNineFields) {
    add(*dm->TableFir, {{"Cis_firmy", 1},
                        {"Zkr_nazev", "Zdroj"},
                        {"Nazev", "Barvy Laky Hostivař s.r.o."},
                        {"Ulice", "Průmyslová 1472"},
                        {"Mesto", "Praha 10"},
                        {"PSC", "10200"},
                        {"Tlf1", "272 700 111"},
                        {"ICO", "25000001"},
                        {"DIC", "CZ25000001"},
                        {"Cis_obor", 1}});
    add(*dm->TableFir, {{"Cis_firmy", 2},
                        {"Zkr_nazev", "Cíl"},
                        {"Nazev", "Původní"},
                        {"Kontakt1", "Jana Malá"},
                        {"Mail_Box", "jana@example.cz"},
                        {"Cis_obor", 2}});
    TFormulFirma f(*dm);
    f.openRegister();
    ASSERT_TRUE(f.table().locate("Cis_firmy", {1}));
    f.OpravaClick();
    f.SchrankaKopirujClick();
    ASSERT_TRUE(ui.clipboardHasFormat("CF_VUZ"));
    EXPECT_EQ(ui.clipboardData("CF_VUZ").size(), 287);
    EXPECT_TRUE(ui.clipboardText().startsWith("Barvy Laky Hostivař s.r.o.\r\n"));
    f.ButtonZrusClick();

    ASSERT_TRUE(f.table().locate("Cis_firmy", {2}));
    f.OpravaClick();
    f.box("Kontakt1")->setText("Jana Nová"); // typed before pasting: kept
    f.SchrankaVlozClick();
    EXPECT_EQ(f.box("Nazev")->text(), "Barvy Laky Hostivař s.r.o.");
    EXPECT_EQ(f.box("Cis_firmy")->text(), "2");
    f.ButtonOkClick();
    Table t(*db, "Ciselnik\\Firmy");
    t.open();
    ASSERT_TRUE(t.locate("Cis_firmy", {2}));
    EXPECT_EQ(t.field("Nazev").asString(), "Barvy Laky Hostivař s.r.o.");
    EXPECT_EQ(t.field("Mesto").asString(), "Praha 10");
    EXPECT_EQ(t.field("DIC").asString(), "CZ25000001");
    EXPECT_EQ(t.field("Zkr_nazev").asString(), "Cíl");
    EXPECT_EQ(t.field("Kontakt1").asString(), "Jana Nová");
    EXPECT_EQ(t.field("Mail_Box").asString(), "jana@example.cz");
    EXPECT_EQ(t.field("Cis_obor").asInteger(), 2);

    // Values longer than their fields are cut to them; another format changes nothing.
    SchrankaFirmy dlouhe;
    dlouhe.Nazev = "Barvy Laky Hostivař s.r.o.";
    dlouhe.ICO = "123456789012";
    dlouhe.Tlf1 = "+420 272 700 111 linka 25";
    ui.setClipboard("text", "CF_VUZ", ZaznamSchrankyFirmy(dlouhe));
    f.OpravaClick();
    f.SchrankaVlozClick();
    EXPECT_EQ(f.box("ICO")->text(), "1234567890");
    EXPECT_EQ(f.box("Tlf1")->text(), "+420 272 700 111 lin");
    EXPECT_EQ(f.box("Mesto")->text(), "");
    // What was pasted is what the user would lose: Zruš asks first.
    ui.answer(Button::Yes, "Chceš opravdu skončit bez záznamu?", caption::Dotaz);
    f.ButtonZrusClick();
    ui.setClipboard("jen text", {}, {});
    f.OpravaClick();
    f.SchrankaVlozClick();
    EXPECT_EQ(f.box("Nazev")->text(), "Barvy Laky Hostivař s.r.o.");
    f.ButtonZrusClick();
    f.closeRegister();
}

// The currency must be found exactly as written, else its chooser opens with the code typed;
// a region not in the list is offered to be added; F6 saves only in the boxes that say so.
TEST_F(FirmyTest, LookupsOfTheEntryPage) {
    add(*dm->TableZeme, {{"Platnost_Od", QDate(2024, 1, 1)}, {"KOD_Meny", "EUR"}, {"Koef", 1}});
    firma(1, "Jedna");
    TFormulFirma f(*dm);
    QStringList hledano;
    TFormulFirma::Vybery v;
    v.mena = [&](const QString& kod) {
        hledano << kod;
        return false;
    };
    f.setVybery(v);
    f.openRegister();
    f.OpravaClick();
    f.box("Kod_Meny")->setText("EUR");
    f.ExitMena();
    f.box("Kod_Meny")->setText("eur");
    f.ExitMena();
    EXPECT_EQ(hledano, QStringList({"eur"}));
    EXPECT_EQ(f.box("Kod_Meny")->text(), "eur"); // a cancelled chooser leaves what was typed

    QComboBox* oblast = f.seznam("Oblast");
    oblast->setCurrentText("Vysočina");
    ui.answer(Button::No, "Položka ještě neexistuje, vytvořit ?");
    f.ExitOblast();
    EXPECT_FALSE(f.oblasti().contains("Vysočina"));
    ui.answer(Button::Yes, "Položka ještě neexistuje, vytvořit ?");
    f.ExitOblast();
    EXPECT_TRUE(f.oblasti().contains("Vysočina"));

    f.box("Kod_Meny")->setText("EUR");
    test::CiselnikyTest::key(f.box("Ulice")->lineEdit(), Qt::Key_F6);
    EXPECT_TRUE(f.entryShown());
    test::CiselnikyTest::key(f.box("DIC")->lineEdit(), Qt::Key_F6);
    EXPECT_FALSE(f.entryShown());
    EXPECT_EQ(f.table().field("Kod_Meny").asString(), "EUR");
    f.closeRegister();
    EXPECT_TRUE(soubor("Oblast_str.txt").contains("Vysočina"));
}

// The partner chooser of the product and document forms: by name with the caller's text.
TEST_F(FirmyTest, ChooserSearchesByNameAndLeavesThePartnerCurrent) {
    firma(1, "Alfa");
    firma(2, "Barvy Beta");
    firma(3, "Cé");
    TFormulFirma f(*dm);
    ui.answerModal([&](QDialog&) {
        EXPECT_EQ(f.EditHledej->text(), "barvy");
        EXPECT_EQ(f.table().field("Cis_firmy").asInteger(), 2);
        EXPECT_EQ(f.LabelIndex->text(), "Nazev"); // the order label of the chooser's order
        f.gridActivated();
    });
    EXPECT_TRUE(f.VyberFirmu("barvy"));
    EXPECT_EQ(dm->TableFir->field("Nazev").asString(), "Barvy Beta");
    EXPECT_TRUE(dm->TableFir->active()); // the chooser leaves the table open
    ui.answerModal([&](QDialog&) { f.gridEscape(); });
    EXPECT_FALSE(f.VyberFirmu("c"));
    dm->TableFir->close();
}
