#include "test_support.h"
#include "util/ini_file.h"
#include "util/nastaveni.h"

#include "codec.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace brix;

namespace {

Decimal d(const char* text) {
    return Decimal::parse(QString::fromLatin1(text)).value();
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
    }

    void writeFile(const QString& relative, const QStringList& lines) {
        QString path = root + '/' + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        ASSERT_TRUE(writeTextLines(path, lines));
    }

    QStringList readFile(const QString& relative) {
        QStringList lines;
        EXPECT_TRUE(readTextLines(root + '/' + relative, &lines));
        return lines;
    }

    // Loads the given settings lines from a file in an odd-case directory.
    NastaveniProgramu load(const QStringList& lines, PoleNastaveni* pole = nullptr) {
        writeFile("NASTAVEN/Nast_PR.TXT", lines);
        NastaveniProgramu n;
        EXPECT_EQ(nactiNastaveni(root, n, pole), StavNacteni::Nacteno);
        return n;
    }

    QTemporaryDir dir;
    QString root;
    MessageRecorder recorder;
};

const QStringList kDefaultFile = {
    "_HlKlicVyr=Cis_Vyr",
    "VARTISKUCTUNASTAV=False",
    "OkKontrolaSkladu=True",
    "ZahrMeny=False",
    "PoklZasuvka=True",
    "ZaokrCen=0,01",
    "Zaokr_SklKar=0,01",
    "OkVyrSQL=True",
    "ZnTisk=True",
    "AutPrecislPol=False",
    "UzFaTiskObr=True",
    "MBCenaPol=True",
    "DLVar=",
    "FaVVar=",
    "FAV_POCET_TISKU=1",
    "DL_POCET_TISKU=1",
    "PoklOVar=",
    "Tiskarna=1",
    "PRENOSUZIVATEL=True",
    "SazbyDPH=21, 12, 0",
};

} // namespace

TEST_F(SettingsTest, MissingFileKeepsTheDefaultsSilently) {
    NastaveniProgramu n;
    n.ZnTisk = false; // whatever was there stays
    EXPECT_EQ(nactiNastaveni(root, n), StavNacteni::Chybi);
    EXPECT_FALSE(n.ZnTisk);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsTest, DefaultsSavedInTheFormsOrderAndSpelling) {
    NastaveniProgramu n;
    ASSERT_TRUE(ulozNastaveni(root, poleNastaveni(n), n));
    // No such directory existed: it is created as the system names it.
    EXPECT_EQ(readFile("nastaven/nast_pr.txt"), kDefaultFile);
    EXPECT_TRUE(recorder.messages.empty());
    // The bytes are CR LF lines.
    QFile f(root + "/nastaven/nast_pr.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("_HlKlicVyr=Cis_Vyr\r\nVARTISKUCTUNASTAV=False\r\n"));
}

TEST_F(SettingsTest, KeysAndValuesAnyCase) {
    NastaveniProgramu n =
        load({"zntisk=false", "okKONTROLAskladu=FALSE", "zahrmeny=true", "VarTiskUctuNastav=True",
              "dlvar=a1", "faVvar=Ab", "poklovar=žluť", "prenosuzivatel=false"});
    EXPECT_FALSE(n.ZnTisk);
    EXPECT_FALSE(n.OkKontrolaSkladu);
    EXPECT_TRUE(n.ZahrMeny);
    EXPECT_TRUE(n.VARTISKUCTUNASTAV);
    EXPECT_FALSE(n.PRENOSUZIVATEL);
    EXPECT_EQ(n.DLVar, QStringLiteral("A1"));
    EXPECT_EQ(n.FaVVar, QStringLiteral("AB"));
    EXPECT_EQ(n.PoklOVar, QStringLiteral("ŽLUŤ"));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsTest, BooleansAreTrueOnlyForTrue) {
    NastaveniProgramu n =
        load({"ZahrMeny=yes", "ZnTisk=1", "PoklZasuvka=TRUE ", "MBCenaPol=", "AutPrecislPol=tRuE"});
    EXPECT_FALSE(n.ZahrMeny);
    EXPECT_FALSE(n.ZnTisk);
    EXPECT_FALSE(n.PoklZasuvka); // no blanks are removed
    EXPECT_FALSE(n.MBCenaPol);
    EXPECT_TRUE(n.AutPrecislPol);
}

TEST_F(SettingsTest, UnknownAndMissingKeysChangeNothing) {
    NastaveniProgramu n = load({"Neznamy=1", "ZnTisk =false", " OkVyrSQL=false", "=True"});
    NastaveniProgramu defaults;
    // A blank before or after the key makes it another key.
    EXPECT_TRUE(n.ZnTisk);
    EXPECT_TRUE(n.OkVyrSQL);
    EXPECT_EQ(radkyNastaveni(poleNastaveni(n), n),
              radkyNastaveni(poleNastaveni(defaults), defaults));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsTest, LineWithoutEqualsSignIsShownAndSkipped) {
    NastaveniProgramu n = load({"ZnTisk", "", "ZahrMeny=True"});
    EXPECT_TRUE(n.ZnTisk);
    EXPECT_TRUE(n.ZahrMeny);
    ASSERT_EQ(recorder.messages.size(), 1u); // the blank line is no message
    EXPECT_EQ(recorder.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Chyba"));
    EXPECT_EQ(recorder.messages[0].text,
              QStringLiteral("Nastavení :ZnTisk nemá rovnítko, nebude použito"));
}

TEST_F(SettingsTest, ValueKeepsFurtherEqualsSigns) {
    NastaveniProgramu n = load({"PoklOVar=a=b"});
    EXPECT_EQ(n.PoklOVar, QStringLiteral("A=B"));
}

TEST_F(SettingsTest, PriceStepCzechCommaPointOrOneTenth) {
    PoleNastaveni pole;
    EXPECT_EQ(load({"ZaokrCen=0,05"}, &pole).ZaokrCen, d("0.05"));
    EXPECT_EQ(pole.ZaokrCen, QStringLiteral("0,05"));
    EXPECT_EQ(load({"zaokrcen=0.5"}).ZaokrCen, d("0.5"));
    EXPECT_EQ(load({"ZaokrCen=abc"}, &pole).ZaokrCen, d("0.1"));
    EXPECT_EQ(pole.ZaokrCen, QStringLiteral("ABC")); // the field shows what the file said
    EXPECT_EQ(load({"ZaokrCen="}).ZaokrCen, d("0.1"));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsTest, FormShowsTheDefaultsOfMissingKeys) {
    PoleNastaveni pole;
    pole.ZnTisk = false;
    pole.DLVar = "stale";
    load({"ZahrMeny=True"}, &pole);
    EXPECT_TRUE(pole.ZnTisk);
    EXPECT_TRUE(pole.ZahrMeny);
    EXPECT_EQ(pole.DLVar, QString());
    EXPECT_EQ(pole.ZaokrCen, QStringLiteral("0,01"));
    EXPECT_EQ(pole.DL_POCET_TISKU, QStringLiteral("1"));
}

TEST_F(SettingsTest, CopyCountsDefaultToOne) {
    PoleNastaveni pole;
    NastaveniProgramu n = load({"DL_POCET_TISKU=", "FAV_POCET_TISKU=3"}, &pole);
    EXPECT_EQ(n.DL_POCET_TISKU, 1);
    EXPECT_EQ(n.FAV_POCET_TISKU, 3);
    EXPECT_EQ(pole.DL_POCET_TISKU, QString());
    EXPECT_EQ(load({"DL_POCET_TISKU=dva", "FAV_POCET_TISKU=2,5"}).DL_POCET_TISKU, 1);
    EXPECT_EQ(load({"FAV_POCET_TISKU=2,5"}).FAV_POCET_TISKU, 1);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsTest, BadPrinterOrStockStepSkipsOnlyItsLine) {
    NastaveniProgramu n =
        load({"Tiskarna=lpt", "Zaokr_SklKar=x", "ZnTisk=False", "Tiskarna=3", "zaokr_sklkar=0,1"});
    EXPECT_EQ(n.Tiskarna, 3);
    EXPECT_EQ(n.Zaokr_SklKar, d("0.1"));
    EXPECT_FALSE(n.ZnTisk);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(recorder.messages[0].text.contains("Tiskarna=lpt"));
    EXPECT_TRUE(recorder.messages[1].text.contains("Zaokr_SklKar=x"));

    NastaveniProgramu kept = load({"Zaokr_SklKar=x"});
    EXPECT_EQ(kept.Zaokr_SklKar, d("0.01"));
    EXPECT_EQ(kept.Tiskarna, 1);
}

TEST_F(SettingsTest, ProductKeyChoice) {
    PoleNastaveni pole;
    NastaveniProgramu n = load({"_hlklicvyr=ObjCis"}, &pole);
    EXPECT_FALSE(n.hledaniDleCislaVyrobku());
    EXPECT_FALSE(pole.cislaVyrobku);
    EXPECT_EQ(n.HlKlicVyr.compare(QStringLiteral("ObjCis"), Qt::CaseInsensitive), 0);
    EXPECT_EQ(load({"_HlKlicVyr=Cislo_vyrobku_dlouhe"}).HlKlicVyr, QStringLiteral("CISLO_VYRO"));
    EXPECT_TRUE(load({"_HlKlicVyr=cis_vyr"}, &pole).hledaniDleCislaVyrobku());
    EXPECT_TRUE(pole.cislaVyrobku);

    // Saving with "Objednacího čísla" checked writes ObjCis and loads back as the order number.
    NastaveniProgramu saved;
    PoleNastaveni form = poleNastaveni(saved);
    form.cislaVyrobku = false;
    ASSERT_TRUE(ulozNastaveni(root, form, saved));
    EXPECT_EQ(saved.HlKlicVyr, QStringLiteral("ObjCis"));
    EXPECT_EQ(readFile("NASTAVEN/Nast_PR.TXT").first(), QStringLiteral("_HlKlicVyr=ObjCis"));
    NastaveniProgramu reread;
    nactiNastaveni(root, reread);
    EXPECT_FALSE(reread.hledaniDleCislaVyrobku());
}

TEST_F(SettingsTest, SaveThenLoadGivesTheSameSettings) {
    NastaveniProgramu n;
    PoleNastaveni form = poleNastaveni(n);
    form.cislaVyrobku = false;
    form.VARTISKUCTUNASTAV = true;
    form.OkKontrolaSkladu = false;
    form.ZahrMeny = true;
    form.PoklZasuvka = false;
    form.OkVyrSQL = false;
    form.ZnTisk = false;
    form.AutPrecislPol = true;
    form.UzFaTiskObr = false;
    form.MBCenaPol = false;
    form.PRENOSUZIVATEL = false;
    form.ZaokrCen = "0,5  ";
    form.Zaokr_SklKar = "1";
    form.DLVar = "B";
    form.FaVVar = "C";
    form.FAV_POCET_TISKU = "2";
    form.DL_POCET_TISKU = "3";
    form.PoklOVar = "D\nE";
    form.Tiskarna = 4;
    form.SazbyDPH = "21;15 ; 0";
    ASSERT_TRUE(ulozNastaveni(root, form, n));
    EXPECT_EQ(n.ZaokrCen, d("0.5"));
    EXPECT_EQ(n.FAV_POCET_TISKU, 2);

    QStringList lines = readFile("nastaven/nast_pr.txt");
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[19], QStringLiteral("SazbyDPH=21, 15, 0"));
    EXPECT_EQ(lines[5], QStringLiteral("ZaokrCen=0,5"));
    EXPECT_EQ(lines[6], QStringLiteral("Zaokr_SklKar=1"));
    EXPECT_EQ(lines[16], QStringLiteral("PoklOVar=D E"));
    EXPECT_EQ(lines[17], QStringLiteral("Tiskarna=4"));

    PoleNastaveni reForm;
    NastaveniProgramu re;
    ASSERT_EQ(nactiNastaveni(root, re, &reForm), StavNacteni::Nacteno);
    EXPECT_TRUE(recorder.messages.empty());
    // The values upper-cased on loading ("ObjCis" as "OBJCIS") write back as before.
    EXPECT_EQ(radkyNastaveni(reForm, re), lines);
    EXPECT_EQ(re.Tiskarna, 4);
    EXPECT_EQ(re.Zaokr_SklKar, d("1"));
    EXPECT_FALSE(re.ZnTisk);
    EXPECT_TRUE(re.AutPrecislPol);
    EXPECT_EQ(re.DL_POCET_TISKU, 3);
}

TEST_F(SettingsTest, SaveRefusesAStepThatIsNoNumber) {
    NastaveniProgramu n;
    for (const char* field : {"ZaokrCen", "Zaokr_SklKar"}) {
        PoleNastaveni form = poleNastaveni(n);
        form.ZnTisk = false;
        (QLatin1String(field) == QLatin1String("ZaokrCen") ? form.ZaokrCen : form.Zaokr_SklKar) =
            "0,0x";
        recorder.messages.clear();
        EXPECT_FALSE(ulozNastaveni(root, form, n)) << field;
        EXPECT_TRUE(n.ZnTisk) << field; // nothing taken
        EXPECT_FALSE(QFile::exists(root + "/nastaven/nast_pr.txt")) << field;
        ASSERT_EQ(recorder.messages.size(), 1u) << field;
        EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Chyba"));
    }
}

TEST_F(SettingsTest, CopyCountThatIsNoNumberIsShownAndGivesZero) {
    NastaveniProgramu n;
    PoleNastaveni form = poleNastaveni(n);
    form.FAV_POCET_TISKU = "x";
    ASSERT_TRUE(ulozNastaveni(root, form, n));
    EXPECT_EQ(n.FAV_POCET_TISKU, 0);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_TRUE(recorder.messages[0].text.contains("x"));
    EXPECT_TRUE(readFile("nastaven/nast_pr.txt").contains("FAV_POCET_TISKU=x"));
    NastaveniProgramu re;
    nactiNastaveni(root, re);
    EXPECT_EQ(re.FAV_POCET_TISKU, 1);
}

TEST_F(SettingsTest, SaveGoesIntoTheExistingDirectoryWhateverItsCase) {
    writeFile("NASTAVEN/NAST_PR.TXT", {"ZnTisk=True"});
    NastaveniProgramu n;
    PoleNastaveni form = poleNastaveni(n);
    form.ZnTisk = false;
    ASSERT_TRUE(ulozNastaveni(root, form, n));
    EXPECT_EQ(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"NASTAVEN"});
    EXPECT_TRUE(readFile("NASTAVEN/NAST_PR.TXT").contains("ZnTisk=False"));
}

TEST_F(SettingsTest, FailedWriteIsShownAndChangesNothing) {
    writeFile("nastaven", {"a file where the directory should be"});
    NastaveniProgramu n;
    PoleNastaveni form = poleNastaveni(n);
    form.ZnTisk = false;
    EXPECT_FALSE(ulozNastaveni(root, form, n));
    EXPECT_TRUE(n.ZnTisk);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Chyba"));
}

TEST_F(SettingsTest, UnreadableFileIsShownAndKeepsTheDefaults) {
    ASSERT_TRUE(QDir(root).mkpath("Nastaven/nast_pr.txt")); // a directory, not a file
    NastaveniProgramu n;
    EXPECT_EQ(nactiNastaveni(root, n), StavNacteni::Necitelny);
    EXPECT_TRUE(n.ZnTisk);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, QStringLiteral("Chyba"));
}

TEST(ZnTiskPripona, DecidedOnceForTheRun) {
    PriponaZnakovehoTisku off;
    EXPECT_EQ(off.text(), QStringLiteral("z"));
    off.urci(false);
    EXPECT_EQ(off.text(), QString());
    off.urci(true); // switched on later: no suffix for the rest of the run
    EXPECT_EQ(off.text(), QString());

    PriponaZnakovehoTisku on;
    on.urci(true);
    on.urci(false);
    EXPECT_EQ(on.text(), QStringLiteral("z"));
    EXPECT_TRUE(on.urcena());
}

TEST_F(SettingsTest, OwnCompanyTwelveLines) {
    UdajeFirmy u;
    u.Nazev = "Barvy Novák";
    u.Mesto = "Český Krumlov";
    EXPECT_EQ(nactiUdajeFirmy(root, u), StavNacteni::Chybi);
    EXPECT_TRUE(u.radky().join("").isEmpty()); // a missing file is the empty record
    EXPECT_TRUE(recorder.messages.empty());

    u.Nazev = "Barvy Novák s.r.o.";
    u.ObchodniJmeno = "Barvy";
    u.PSC = "381 01";
    u.CisloRegistrace = "OR KS Č.Budějovice C 123";
    ASSERT_TRUE(ulozUdajeFirmy(root, u));
    QStringList lines = readFile("Nastaven/Nastaven.txt");
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], u.Nazev);
    EXPECT_EQ(lines[4], u.PSC);
    EXPECT_EQ(lines[11], u.CisloRegistrace);

    UdajeFirmy re;
    ASSERT_EQ(nactiUdajeFirmy(root, re), StavNacteni::Nacteno);
    EXPECT_EQ(re.radky(), u.radky());

    ASSERT_TRUE(QFile::remove(root + "/Nastaven/Nastaven.txt"));
    writeFile("Nastaven/NASTAVEN.TXT", {"Jen název", "Obchod"});
    ASSERT_EQ(nactiUdajeFirmy(root, re), StavNacteni::Nacteno);
    EXPECT_EQ(re.Nazev, QStringLiteral("Jen název"));
    EXPECT_EQ(re.ObchodniJmeno, QStringLiteral("Obchod"));
    EXPECT_EQ(re.Ulice, QString());
    EXPECT_EQ(UdajeFirmy::popisky().size(), UdajeFirmy::kPocetRadku);

    // A line break typed into a field moves no other field.
    u.Ulice = "Dlouhá 1\r\nvchod B";
    ASSERT_TRUE(ulozUdajeFirmy(root, u));
    ASSERT_EQ(nactiUdajeFirmy(root, re), StavNacteni::Nacteno);
    EXPECT_EQ(re.Ulice, QStringLiteral("Dlouhá 1  vchod B"));
    EXPECT_EQ(re.Mesto, u.Mesto);
    EXPECT_EQ(re.CisloRegistrace, u.CisloRegistrace);
}

TEST(IniFile, ProfileRules) {
    QStringList lines = {"; export", "[Setup]", "  cesta = \"D:\\Export\\\" ", "Jiny=1", "",
                         "[Dalsi]",  "CESTA=x"};
    EXPECT_EQ(iniValue(lines, u"SETUP", u"CESTA").value(), QStringLiteral("D:\\Export\\"));
    EXPECT_EQ(iniValue(lines, u"dalsi", u"cesta").value(), QStringLiteral("x"));
    EXPECT_FALSE(iniValue(lines, u"SETUP", u"NIC").has_value());
    EXPECT_FALSE(iniValue(lines, u"NIC", u"CESTA").has_value());

    setIniValue(lines, u"SETUP", u"CESTA", "E:\\");
    setIniValue(lines, u"SETUP", u"NOVY", "2");
    setIniValue(lines, u"TRETI", u"K", "v");
    EXPECT_EQ(lines, (QStringList{"; export", "[Setup]", "cesta=E:\\", "Jiny=1", "NOVY=2", "",
                                  "[Dalsi]", "CESTA=x", "[TRETI]", "K=v"}));
}

TEST_F(SettingsTest, SmallFilesOfSingleForms) {
    EXPECT_EQ(nactiCestuExportuDL(root), QStringLiteral("ExportDbf\\"));
    writeFile("NASTAVEN/cestaexpdl.INI", {"[setup]", "Cesta=Export\\DL\\", "[Jine]", "A=1"});
    EXPECT_EQ(nactiCestuExportuDL(root), QStringLiteral("Export\\DL\\"));
    ASSERT_TRUE(ulozCestuExportuDL(root, "Jinam\\"));
    EXPECT_EQ(nactiCestuExportuDL(root), QStringLiteral("Jinam\\"));
    EXPECT_EQ(readFile("NASTAVEN/cestaexpdl.INI"),
              (QStringList{"[setup]", "Cesta=Jinam\\", "[Jine]", "A=1"}));

    EXPECT_FALSE(nactiDalsiCisloFirmy(root).has_value());
    ASSERT_TRUE(ulozDalsiCisloFirmy(root, 42));
    EXPECT_EQ(nactiDalsiCisloFirmy(root).value(), 42);
    writeFile("ciselnik/nastavfi.txt", {"abc"});
    EXPECT_FALSE(nactiDalsiCisloFirmy(root).has_value());

    EXPECT_TRUE(nactiOblasti(root).isEmpty());
    const QStringList regions = {"Jižní Čechy", "Morava", "Praha"};
    ASSERT_TRUE(ulozOblasti(root, regions));
    EXPECT_EQ(nactiOblasti(root), regions);
    EXPECT_TRUE(recorder.messages.empty());
}

// The valid VAT rates are one setting: an older file without the key keeps the default rates,
// a written list is read back in its order, and a list that is not rates is refused.
TEST_F(SettingsTest, VatRatesAreOneSettingWithTheirDefault) {
    NastaveniProgramu n = load({"ZnTisk=True"});
    EXPECT_EQ(n.SazbyDPH, (QVector<Decimal>{Decimal(21), Decimal(12), Decimal(0)}));
    n = load({"SazbyDPH=10,5; 21  15"});
    EXPECT_EQ(n.SazbyDPH,
              (QVector<Decimal>{Decimal::parse(u"10,5").value(), Decimal(21), Decimal(15)}));
    EXPECT_TRUE(n.jePlatnaSazbaDPH(Decimal(15)));
    EXPECT_FALSE(n.jePlatnaSazbaDPH(Decimal(12)));
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(textSazebDPH(n.SazbyDPH), QStringLiteral("10,5, 21, 15"));
    EXPECT_EQ(ctiSazbyDPH(textSazebDPH(n.SazbyDPH)), n.SazbyDPH);
    for (const char* spatne : {"SazbyDPH=", "SazbyDPH=21, x", "SazbyDPH=120", "SazbyDPH=-5"}) {
        recorder.messages.clear();
        n = load({spatne});
        EXPECT_EQ(n.SazbyDPH.size(), 3) << spatne;
        EXPECT_EQ(recorder.messages.size(), 1u) << spatne;
    }
}
