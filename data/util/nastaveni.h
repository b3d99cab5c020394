#pragma once
// The program settings of "nastaven\nast_pr.txt", the own company's data of
// "Nastaven\Nastaven.txt", the template suffix of character printing, and the small files of
// single forms. Files are found under the data root whatever the case of their names.
// Every problem the user must see (a line without "=", a value that cannot be converted, a file
// that cannot be written) is shown through the message hook (message_hook.h).

#include "decimal.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace brix {

inline constexpr char16_t kSouborNastaveni[] = u"nastaven\\nast_pr.txt";
inline constexpr char16_t kSouborUdajuFirmy[] = u"Nastaven\\Nastaven.txt";
inline constexpr char16_t kSouborCestyExportuDL[] = u"Nastaven\\CestaExpDL.ini";
inline constexpr char16_t kSouborDalsiFirmy[] = u"ciselnik\\nastavfi.txt";
inline constexpr char16_t kSouborOblasti[] = u"ciselnik\\Oblast_str.txt";
inline constexpr char16_t kSouborDruhMn[] = u"Ciselnik\\DruhMn.txt";
inline constexpr char16_t kSouborObjMn[] = u"Ciselnik\\ObjMn.txt";

// The values every form reads; a default-constructed object holds the built-in defaults.
struct NastaveniProgramu {
    // The product key field, "Cis_Vyr" or "ObjCis" (key "_HlKlicVyr" in the file; a name of a
    // leading underscore and a capital is reserved in C++). At most 10 characters.
    QString HlKlicVyr = QStringLiteral("CIS_VYR");
    bool VARTISKUCTUNASTAV = false;
    bool OkKontrolaSkladu = true;
    bool ZahrMeny = false;
    bool PoklZasuvka = true;
    Decimal ZaokrCen = Decimal::fromRaw(100);     // 0.01
    Decimal Zaokr_SklKar = Decimal::fromRaw(100); // 0.01
    bool OkVyrSQL = true;
    bool ZnTisk = true;
    bool AutPrecislPol = false;
    bool UzFaTiskObr = true;
    bool MBCenaPol = true;
    QString DLVar;
    QString FaVVar;
    int FAV_POCET_TISKU = 1;
    int DL_POCET_TISKU = 1;
    QString PoklOVar;
    int Tiskarna = 1;
    bool PRENOSUZIVATEL = true;
    // The valid VAT rates in percent, the first the default of a new product (key "SazbyDPH",
    // written "21, 12, 0"). Never empty.
    QVector<Decimal> SazbyDPH = {Decimal(21), Decimal(12), Decimal(0)};

    bool jePlatnaSazbaDPH(Decimal sazba) const { return SazbyDPH.contains(sazba); }

    // Products are searched by their number ("Čísla výrobku"), not by the order number.
    bool hledaniDleCislaVyrobku() const;
};

// The controls of the settings form "Nastavení proměnných": the boxes and the texts as typed.
struct PoleNastaveni {
    bool cislaVyrobku = true; // "Čísla výrobku" checked, else "Objednacího čísla"
    bool VARTISKUCTUNASTAV = false;
    bool OkKontrolaSkladu = true;
    bool ZahrMeny = false;
    bool PoklZasuvka = true;
    bool OkVyrSQL = true;
    bool ZnTisk = true;
    bool AutPrecislPol = false;
    bool UzFaTiskObr = true;
    bool MBCenaPol = true;
    bool PRENOSUZIVATEL = true;
    QString ZaokrCen;
    QString Zaokr_SklKar;
    QString DLVar;
    QString FaVVar;
    QString FAV_POCET_TISKU;
    QString DL_POCET_TISKU;
    QString PoklOVar;
    int Tiskarna = 1; // index in the printer chooser
    QString SazbyDPH; // the rates as written, "21, 12, 0"
};

// "21, 12, 0" (", " or ";" between rates, a decimal comma or point within one) into the rates;
// nullopt when the text holds no rate or a rate that is not a number from 0 to 100.
std::optional<QVector<Decimal>> ctiSazbyDPH(QStringView text);
// The rates as the file writes them: "21, 12, 0".
QString textSazebDPH(const QVector<Decimal>& sazby);

enum class StavNacteni {
    Nacteno,  // read
    Chybi,    // no such file: the defaults stay, nothing is shown
    Necitelny // the file exists but cannot be read: shown, the defaults stay
};

// The controls that show the values (the form before any file was read).
PoleNastaveni poleNastaveni(const NastaveniProgramu& nastaveni);

// Applies the lines of a settings file: the key is what stands before the first "=", key and
// value are upper-cased, unknown keys are ignored, missing keys keep what they had. A line
// without "=" and a Tiskarna or Zaokr_SklKar value that cannot be converted are shown
// ("Chyba") and skipped; the lines after them still count. Blank lines are skipped silently.
void nactiRadkyNastaveni(const QStringList& radky, NastaveniProgramu& nastaveni,
                         PoleNastaveni* pole = nullptr);

// Reads "nastaven\nast_pr.txt" under the data root into the values and the controls (which
// first show the values as they were, so that a missing key shows its default).
StavNacteni nactiNastaveni(const QString& datovyKoren, NastaveniProgramu& nastaveni,
                           PoleNastaveni* pole = nullptr);

// The controls into the values. A ZaokrCen or Zaokr_SklKar that is not a number is shown and
// changes nothing (false). A copy count that is not a whole number is shown and gives 0.
bool prevezmiPoleNastaveni(const PoleNastaveni& pole, NastaveniProgramu& nastaveni);

// The lines of the settings file for the controls, in the form's order and spelling; the two
// steps are written from the values taken (in the Czech form, decimal comma). A line break in a
// typed text becomes a blank.
QStringList radkyNastaveni(const PoleNastaveni& pole, const NastaveniProgramu& prevzate);

// "&OK" of the settings form: takes the controls into the values and rewrites the file. False
// (values and file unchanged) when a step does not convert or the file cannot be written.
bool ulozNastaveni(const QString& datovyKoren, const PoleNastaveni& pole,
                   NastaveniProgramu& nastaveni);

// The own company, printed on every document. Twelve lines in this order.
struct UdajeFirmy {
    QString Nazev;
    QString ObchodniJmeno;
    QString Ulice;
    QString Mesto;
    QString PSC;
    QString ICO;
    QString DIC;
    QString Banka;
    QString Ucet;
    QString Telefon;
    QString Fax;
    QString CisloRegistrace;

    static constexpr int kPocetRadku = 12;
    QStringList radky() const;
    // Missing lines stay empty, lines after the twelfth are ignored.
    static UdajeFirmy zRadku(const QStringList& radky);
    // The captions of the twelve fields of the own-company form.
    static const QStringList& popisky();
};

// A missing file gives the empty record (Chybi) without a message.
StavNacteni nactiUdajeFirmy(const QString& datovyKoren, UdajeFirmy& udaje);
// Writes the twelve lines; a line break within a field becomes a blank, so that no field moves.
bool ulozUdajeFirmy(const QString& datovyKoren, const UdajeFirmy& udaje);

// The template suffix of character printing: "z" until it is decided, at the first showing of
// the main window, and then for the whole run "z" or empty as ZnTisk was at that moment.
class PriponaZnakovehoTisku {
public:
    void urci(bool znTisk);
    bool urcena() const { return urcena_; }
    const QString& text() const { return text_; }

private:
    bool urcena_ = false;
    QString text_ = QStringLiteral("z");
};

// The state of this run, read by every form.
NastaveniProgramu& nastaveniProgramu();
UdajeFirmy& udajeFirmy();
PriponaZnakovehoTisku& priponaZnakovehoTisku();
// The suffix of this run, as template names use it ("tisk_dl" + ZnTiskPripona() + ...).
inline const QString& ZnTiskPripona() {
    return priponaZnakovehoTisku().text();
}

// "Nastaven\CestaExpDL.ini", [SETUP] CESTA: the delivery-note export directory, default
// "ExportDbf\".
QString nactiCestuExportuDL(const QString& datovyKoren);
bool ulozCestuExportuDL(const QString& datovyKoren, const QString& cesta);

// "ciselnik\nastavfi.txt": the partner number the partner register offers next; nullopt when
// the file is missing or its first line is not a whole number.
std::optional<int> nactiDalsiCisloFirmy(const QString& datovyKoren);
bool ulozDalsiCisloFirmy(const QString& datovyKoren, int cislo);

// "ciselnik\Oblast_str.txt": the regions offered for a partner, one a line (empty when missing).
QStringList nactiOblasti(const QString& datovyKoren);
bool ulozOblasti(const QString& datovyKoren, const QStringList& oblasti);

// A list file of a form's box, one value a line: the regions, the product's stock units
// ("Ciselnik\DruhMn.txt") and package units ("Ciselnik\ObjMn.txt"). Empty when missing.
QStringList nactiSeznam(const QString& datovyKoren, const char16_t* soubor);
bool ulozSeznam(const QString& datovyKoren, const char16_t* soubor, const QStringList& radky);

} // namespace brix
