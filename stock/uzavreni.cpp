#include "uzavreni.h"

#include "datacis.h"
#include "platform.h"
#include "util/text_utils.h"

namespace brix::sklad {

namespace {

const QString kDotaz = QStringLiteral("Dotaz");
const QString kChyba = QStringLiteral("Chyba");
const QString kVarovani = QStringLiteral("Varování");
const QString kUpozorneni = QStringLiteral("Upozornění");

MessageIcon ikona(const QString& caption) {
    if (caption == kChyba) return MessageIcon::Error;
    if (caption == kDotaz) return MessageIcon::Question;
    if (caption == QLatin1String("Informace") || caption == QLatin1String("Zpráva"))
        return MessageIcon::Information;
    return MessageIcon::Warning;
}

bool otazka(const QString& text) {
    return Platform::current().askYesNo(text, kDotaz);
}

// "  1234,50": eight places, two decimals.
QString castka8(Decimal d) {
    return QStringLiteral("%1").arg(d.toString(2), 8);
}

} // namespace

std::vector<NalezKontroly> KontrolaPolozky(TDataCis& dm, KontextPohybu& kontext,
                                           const RodinaDokladu& rodina,
                                           const RecordSource& polozka) {
    std::vector<NalezKontroly> out;
    const KontrolaRodiny& k = rodina.kontrola;
    const QString klic = textPole(polozka, kontext.nastaveni().klicVyrobku);
    const qint64 cisVyr = cisloPole(polozka, QStringLiteral("Cis_Vyr"));
    bool nalezen = false;
    qint64 cisloVyrobku = 0;
    QString objCisVyrobku;
    if (k.podleKlice) {
        nalezen = dm.NajdiVyrobek(klic);
        if (nalezen) {
            cisloVyrobku = cisloPole(*dm.TableVyr, QStringLiteral("Cis_vyr"));
            objCisVyrobku = textPole(*dm.TableVyr, QStringLiteral("ObjCis"));
        }
    } else {
        nalezen = kontext.najdiVyrobek(cisVyr);
        if (nalezen) {
            cisloVyrobku = cisVyr;
            objCisVyrobku = textPole(kontext.vyrobky(), QStringLiteral("ObjCis"));
        }
    }
    if (!nalezen) {
        out.push_back({NalezKontroly::Druh::Chybi,
                       {k.caption, klic + QStringLiteral(" není v evidenci výrobků")}});
    } else {
        switch (k.neshoda) {
        case KontrolaRodiny::Neshoda::OpravitCislo:
            if (cisloVyrobku != cisVyr)
                out.push_back({NalezKontroly::Druh::JineCislo,
                               {kDotaz, klic + QStringLiteral(" nemá shodné obj.čís. s databází "
                                                              "výrobků,mám jej opravit ?")},
                               cisloVyrobku,
                               true});
            break;
        case KontrolaRodiny::Neshoda::HlasitCislo:
            if (cisloVyrobku != cisVyr)
                out.push_back(
                    {NalezKontroly::Druh::JineCislo,
                     {k.caption, klic + QStringLiteral(" nemá shodné obj.čís. s databází výrobků")},
                     cisloVyrobku});
            break;
        case KontrolaRodiny::Neshoda::HlasitObjCis:
            if (objCisVyrobku.trimmed() != textPole(polozka, QStringLiteral("ObjCis")).trimmed())
                out.push_back(
                    {NalezKontroly::Druh::JineObjCis,
                     {k.caption,
                      klic + QStringLiteral(" nemá shodné obj.čís. s databází výrobků")}});
            break;
        }
    }
    if (skladova(polozka)) {
        Decimal s;
        kontext.stavZasoby(cisVyr, textPole(polozka, QStringLiteral("Cis_Sklad")), &s, nullptr);
        const Decimal q = castkaPole(polozka, QStringLiteral("Mnozstvi"));
        const bool malo = rodina.smer == Smer::Prijem ? s < -q : (s < q && q > Decimal());
        if (malo)
            out.push_back(
                {NalezKontroly::Druh::MaloNaSklade,
                 {k.caption, klic + QStringLiteral(" není na skladě v dostatečném množství")}});
    }
    return out;
}

UzavreniDokladu::UzavreniDokladu(TDataCis& dm, const RodinaDokladu& rodina,
                                 NastaveniPohybu nastaveni)
    : dm_(dm), rodina_(rodina),
      kontext_(std::make_unique<KontextPohybu>(dm.database(), std::move(nastaveni))) {}

UzavreniDokladu::~UzavreniDokladu() = default;

void UzavreniDokladu::ukaz(const std::vector<Zprava>& zpravy) {
    for (const Zprava& z : zpravy)
        Platform::current().messageBox({z.caption, z.text, ikona(z.caption), Button::Ok});
}

bool UzavreniDokladu::predOtazkou(Table&) {
    return true;
}

bool UzavreniDokladu::predUzavrenim(Table&) {
    return true;
}

// The checks of an open document before it is closed: false when the user stops the closing.
bool UzavreniDokladu::spolecnyZacatek(Table& hlavicka, int cisUctu) {
    bool vPoradku = true;
    Table& polozky = kontext_->tabulka(rodina_.polozky);
    polozky.setRange({cisUctu}, {cisUctu});
    std::vector<Decimal> soucty(rodina_.soucty.size());
    std::vector<Table::Bookmark> opravit;
    std::vector<qint64> opravitNa;
    for (polozky.first(); !polozky.eof() && polozky.hasRecord(); polozky.next()) {
        for (size_t i = 0; i < soucty.size(); ++i)
            soucty[i] += castkaPole(polozky, rodina_.soucty[i].second);
        if (!kontext_->nastaveni().kontrolaSkladu || !neuctovana(polozky)) continue;
        for (const NalezKontroly& n : KontrolaPolozky(dm_, *kontext_, rodina_, polozky)) {
            vPoradku = false;
            if (n.otazka) {
                if (otazka(n.zprava.text)) {
                    opravit.push_back(polozky.bookmark());
                    opravitNa.push_back(n.spravneCislo);
                }
            } else {
                ukaz({n.zprava});
            }
        }
    }
    // The corrected product numbers are written before the closing, each item with its
    // reservation moved to the product it now names.
    for (size_t i = 0; i < opravit.size(); ++i) {
        Database::Transaction tr(kontext_->databaze());
        polozky.gotoBookmark(opravit[i]);
        polozky.edit();
        polozky.field(QStringLiteral("Cis_Vyr")).setInteger(opravitNa[i]);
        kontext_->ZmenaRezervacePolozky(rodina_, polozky, false);
        polozky.post();
        tr.commit();
    }
    polozky.cancelRange();
    for (size_t i = 0; i < soucty.size(); ++i) {
        const Decimal hodnota = castkaPole(hlavicka, rodina_.soucty[i].first);
        if ((hodnota - soucty[i]).abs() > Decimal(1)) {
            vPoradku = false;
            QString text = QStringLiteral("Součet cen položek nesouhlasí s hlavičkou");
            if (rodina_.navaznost)
                text += QStringLiteral("\n") + castka8(hodnota) + QStringLiteral(" : ") +
                        castka8(soucty[i]);
            ukaz({{kChyba, text}});
            break;
        }
    }
    return vPoradku || otazka(QStringLiteral("Chceš účet opravdu uzavřít ?"));
}

bool UzavreniDokladu::uzavri(int cisUctu) {
    posledni_ = VysledekPohybu();
    Table& hlavicka = kontext_->tabulka(rodina_.hlavicka);
    if (!hlavicka.findKey({cisUctu})) {
        ukaz({{kUpozorneni, QStringLiteral("Doklad číslo %1 neexistuje.").arg(cisUctu)}});
        return false;
    }
    if (!predOtazkou(hlavicka)) return false;
    if (!otazka(QStringLiteral("Chceš opravdu provést uzavření účtu"))) return false;
    if (!hlavicka.findKey({cisUctu}) || !predUzavrenim(hlavicka)) return false;
    const QString stav = stavHlavicky(hlavicka);
    if (stav == QLatin1String("2")) {
        if (rodina_.oprava)
            ukaz({{kVarovani,
                   QStringLiteral("Tento účet byl již uzavřen, budou provedeny opravy pohybů")}});
    } else if (!spolecnyZacatek(hlavicka, cisUctu)) {
        return false;
    }
    posledni_ = Zauctovani(*kontext_, rodina_).uzavri(cisUctu, stav);
    ukaz(posledni_.zpravy);
    return posledni_.ok();
}

bool UzavreniDokladu::stornuj(int cisUctu) {
    posledni_ = Zauctovani(*kontext_, rodina_).stornuj(cisUctu);
    ukaz(posledni_.zpravy);
    return posledni_.ok();
}

TFormulIPrijUzavri::TFormulIPrijUzavri(TDataCis& dm, NastaveniPohybu nastaveni)
    : UzavreniDokladu(dm, RodinaDokladu::prijemka(), std::move(nastaveni)) {}

TFormulIVydUzavri::TFormulIVydUzavri(TDataCis& dm, NastaveniPohybu nastaveni)
    : UzavreniDokladu(dm, RodinaDokladu::vydejka(), std::move(nastaveni)) {}

bool TFormulIVydUzavri::UzavriVydejku(int cisUctu, bool prevod) {
    prevod_ = prevod;
    return uzavri(cisUctu);
}

// A register of one mode closes only its own documents.
bool TFormulIVydUzavri::predOtazkou(Table& hlavicka) {
    if (jePrevodka(&hlavicka) == prevod_) return true;
    ukaz({{kVarovani, QStringLiteral("Uzavírat lze pouze druh účtu -") +
                          (prevod_ ? QStringLiteral("Převodka") : QStringLiteral("Výdejka"))}});
    return false;
}

TFormulDLPUzavri::TFormulDLPUzavri(TDataCis& dm, NastaveniPohybu nastaveni)
    : UzavreniDokladu(dm, RodinaDokladu::dodavka(), std::move(nastaveni)) {}

// A supplier whose deliveries are stopped cannot have goods received.
bool TFormulDLPUzavri::predUzavrenim(Table& hlavicka) {
    const qint64 firma = cisloPole(hlavicka, QStringLiteral("Cis_Firmy"));
    Table& firmy = kontext_->tabulka(QStringLiteral("Ciselnik\\Firmy"));
    if (firmy.findKey({firma}) && firmy.field(QStringLiteral("Zast_dodavek")).asBoolean()) {
        ukaz({{kUpozorneni, QStringLiteral("Firma ma zakázané dodávky, akce nebude provedena")}});
        return false;
    }
    return true;
}

} // namespace brix::sklad
