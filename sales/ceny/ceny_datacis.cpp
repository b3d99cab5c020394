#include "ceny_datacis.h"

#include "datacis.h"
#include "key_lookup.h"
#include "platform.h"
#include "storage_error.h"
#include "table.h"
#include "table_rules.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"

#include <array>

namespace brix {

namespace {

MessageIcon ikonaZpravy(const QString& titulek) {
    return titulek == caption::Chyba ? MessageIcon::Error : MessageIcon::Warning;
}

} // namespace

void UkazZpravyCeny(const ZpravyCeny& zpravy) {
    for (const ZpravaCeny& z : zpravy) {
        const TextZpravyCeny t = textZpravy(z);
        Platform::current().messageBox({t.titulek, t.text, ikonaZpravy(t.titulek), Button::Ok});
    }
}

// The keyed reads of item pricing, prepared once: the rate record of a currency at a date on
// the index (KOD_Meny, Platnost_Od), a rebate group, a customer's price, a product by its key.
struct CenyDataCis::Cteni {
    std::unique_ptr<KeyLookup> kurzy, skupiny, ceniky, vyrobky;
    QString klicVyrobku; // the key field `vyrobky` was prepared for
    // Field positions in the reads (-1 for a field an older data root lacks).
    int platnost = -1, kod = -1, kurs = -1, koef = -1, zaokr = -1, kursEur = -1;
    std::array<int, 20> rabat{};
    int pcZakl = -1, pcZaklC = -1;
};

// The positions of the product's fields in a record of "Vyrobky" (-1 for a field the table
// lacks), resolved once per source.
struct CenyDataCis::PoleVyrobku {
    explicit PoleVyrobku(const RecordSource& t, const TableDef* d = nullptr) : def(d) {
        auto i = [&t](const char* n) { return t.fieldIndex(QString::fromLatin1(n)); };
        Cis_Vyr = i("Cis_vyr");
        ObjCis = i("ObjCis");
        Nazev = i("Nazev");
        NazCizJaz = i("NazCizJaz");
        Kod_Ozn1 = i("Kod_Ozn1");
        Kod_Ozn2 = i("Kod_Ozn2");
        Kod_Ozn3 = i("Kod_Ozn3");
        DruhMn = i("DruhMn");
        Druh_Pol = i("Druh_Pol");
        Kod_Meny = i("Kod_Meny");
        Cis_CelSaz = i("Cis_CelSaz");
        Poznamka = i("Poznamka");
        Vaha = i("Vaha");
        DPH = i("DPH");
        Cis_RabSkp = i("Cis_RabSkp");
        NC_Netto = i("NC_Netto");
        NC_Zahr = i("NC_Zahr");
        Faktor_Bal = i("Faktor_Bal");
        MO_Cena = i("MO_Cena");
        PC_Zakl = i("PC_Zakl");
        CenaZa = i("CenaZa");
        PC_MnRab1 = i("PC_MnRab1");
        PC_Rab1 = i("PC_Rab1");
        Pc_MnRab2 = i("Pc_MnRab2");
        PC_Rab2 = i("PC_Rab2");
        PC_MnRab3 = i("PC_MnRab3");
        PC_Rab3 = i("PC_Rab3");
        NC_MnRab1 = i("NC_MnRab1");
        NC_Rab1 = i("NC_Rab1");
        Objem = i("Objem");
        Spotr_Dan = i("Spotr_Dan");
    }
    const TableDef* def;
    int Cis_Vyr, ObjCis, Nazev, NazCizJaz, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, DruhMn, Druh_Pol, Kod_Meny,
        Cis_CelSaz, Poznamka, Vaha, DPH, Cis_RabSkp, NC_Netto, NC_Zahr, Faktor_Bal, MO_Cena,
        PC_Zakl, CenaZa, PC_MnRab1, PC_Rab1, Pc_MnRab2, PC_Rab2, PC_MnRab3, PC_Rab3, NC_MnRab1,
        NC_Rab1, Objem, Spotr_Dan;
};

namespace {

QString text(RecordSource& t, int i) {
    return i < 0 ? QString() : Field(&t, i).asString();
}

Decimal cislo(RecordSource& t, int i) {
    return i < 0 ? Decimal() : Field(&t, i).asDecimal();
}

// By name; a field the table lacks (or a family does not name) reads blank.
QString text_(RecordSource& t, const QString& nazev) {
    return nazev.isEmpty() ? QString() : text(t, t.fieldIndex(nazev));
}

Decimal cislo_(RecordSource& t, const QString& nazev) {
    return nazev.isEmpty() ? Decimal() : cislo(t, t.fieldIndex(nazev));
}

QDate datum_(RecordSource& t, const QString& nazev) {
    const int i = nazev.isEmpty() ? -1 : t.fieldIndex(nazev);
    return i < 0 ? QDate() : Field(&t, i).asDate();
}

const QStringList& poleRabatu() {
    static const QStringList p = [] {
        QStringList n;
        for (int i = 1; i <= 20; ++i)
            n << QStringLiteral("Rabat%1").arg(i);
        return n;
    }();
    return p;
}

const QStringList& poleVyrobku() {
    static const QStringList p = {
        "Cis_vyr",    "ObjCis",   "Nazev",     "NazCizJaz",  "Kod_Ozn1",  "Kod_Ozn2", "Kod_Ozn3",
        "DruhMn",     "Druh_Pol", "Kod_Meny",  "Cis_CelSaz", "Poznamka",  "Vaha",     "DPH",
        "Cis_RabSkp", "NC_Netto", "NC_Zahr",   "Faktor_Bal", "MO_Cena",   "PC_Zakl",  "CenaZa",
        "PC_MnRab1",  "PC_Rab1",  "Pc_MnRab2", "PC_Rab2",    "PC_MnRab3", "PC_Rab3",  "NC_MnRab1",
        "NC_Rab1",    "Objem",    "Spotr_Dan"};
    return p;
}

// The product key field of the setting _HlKlicVyr.
QString klicVyrobku() {
    return nastaveniProgramu().hledaniDleCislaVyrobku() ? QStringLiteral("Cis_vyr")
                                                        : QStringLiteral("ObjCis");
}

} // namespace

CenyDataCis::CenyDataCis(TDataCis& dm) : dm_(dm) {}

CenyDataCis::~CenyDataCis() = default;

CenyDataCis::Cteni& CenyDataCis::cteni() {
    if (!cteni_) cteni_ = std::make_unique<Cteni>();
    return *cteni_;
}

std::optional<KursMeny> CenyDataCis::kurs(const QString& kod, const QDate& datum) {
    const QString k = OrizniVpravo(kod);
    if (k.isEmpty() || !datum.isValid() || !dm_.TableZeme) return std::nullopt;
    std::unique_ptr<KeyLookup>& l = cteni().kurzy;
    Cteni& c = cteni();
    if (!l) {
        l = std::make_unique<KeyLookup>(
            dm_.database(), dm_.TableZeme->def().address(), QStringList{"KOD_Meny"},
            QStringLiteral("Platnost_Od"),
            QStringList{"Platnost_Od", "KOD_Meny", "Kurs", "Koef", "Zaokr", "Kurs_EUR"});
        c.platnost = l->fieldIndex(QStringLiteral("Platnost_Od"));
        c.kod = l->fieldIndex(QStringLiteral("KOD_Meny"));
        c.kurs = l->fieldIndex(QStringLiteral("Kurs"));
        c.koef = l->fieldIndex(QStringLiteral("Koef"));
        c.zaokr = l->fieldIndex(QStringLiteral("Zaokr"));
        c.kursEur = l->fieldIndex(QStringLiteral("Kurs_EUR"));
    }
    if (!l->find({k, datum})) return std::nullopt;
    KursMeny m;
    m.Platnost_Od = c.platnost < 0 ? QDate() : l->field(c.platnost).asDate();
    m.KOD_Meny = OrizniVpravo(text(*l, c.kod));
    m.Kurs = cislo(*l, c.kurs);
    m.Koef = cislo(*l, c.koef);
    m.Zaokr = cislo(*l, c.zaokr);
    m.Kurs_EUR = cislo(*l, c.kursEur);
    return m;
}

Decimal CenyDataCis::PrevodNaTuzemskou(const QString& kod, Decimal castka, const QDate& datum) {
    ZpravyCeny zpravy;
    const Decimal v = brix::PrevodNaTuzemskou(*this, kod, castka, datum, zpravy);
    UkazZpravyCeny(zpravy);
    return v;
}

Decimal CenyDataCis::PrevodNaCiziMenu(const QString& kod, Decimal castka, const QDate& datum) {
    ZpravyCeny zpravy;
    const Decimal v = brix::PrevodNaCiziMenu(*this, kod, castka, datum, zpravy);
    UkazZpravyCeny(zpravy);
    return v;
}

Decimal CenyDataCis::ZaokrouhleniMeny(const QString& kod, const QDate& datum) {
    return brix::ZaokrouhleniMeny(*this, kod, datum);
}

Vyrobek CenyDataCis::ctiVyrobek(Table& t) {
    if (!t.active() || !t.hasRecord()) return Vyrobek();
    if (!poleVyrobku_ || poleVyrobku_->def != &t.def())
        poleVyrobku_ = std::make_unique<PoleVyrobku>(t, &t.def());
    return vyrobekZeZaznamu(t, *poleVyrobku_);
}

Vyrobek CenyDataCis::vyrobekZeZaznamu(RecordSource& t, const PoleVyrobku& p) {
    Vyrobek v;
    v.Cis_Vyr = p.Cis_Vyr < 0 ? 0 : Field(&t, p.Cis_Vyr).asInteger();
    v.ObjCis = text(t, p.ObjCis);
    v.Nazev = text(t, p.Nazev);
    v.NazCizJaz = text(t, p.NazCizJaz);
    v.Kod_Ozn1 = text(t, p.Kod_Ozn1);
    v.Kod_Ozn2 = text(t, p.Kod_Ozn2);
    v.Kod_Ozn3 = text(t, p.Kod_Ozn3);
    v.DruhMn = text(t, p.DruhMn);
    v.Druh_Pol = text(t, p.Druh_Pol);
    v.Kod_Meny = text(t, p.Kod_Meny);
    v.Cis_CelSaz = text(t, p.Cis_CelSaz);
    v.Poznamka = text(t, p.Poznamka);
    v.Vaha = cislo(t, p.Vaha);
    v.DPH = cislo(t, p.DPH);
    if (p.Cis_RabSkp >= 0 && !Field(&t, p.Cis_RabSkp).isNull())
        v.Cis_RabSkp = int(Field(&t, p.Cis_RabSkp).asInteger());
    v.NC_Netto = cislo(t, p.NC_Netto);
    v.NC_Zahr = cislo(t, p.NC_Zahr);
    v.Faktor_Bal = cislo(t, p.Faktor_Bal);
    v.MO_Cena = cislo(t, p.MO_Cena);
    v.PC_Zakl = cislo(t, p.PC_Zakl);
    v.CenaZa = cislo(t, p.CenaZa);
    v.PC_MnRab1 = cislo(t, p.PC_MnRab1);
    v.PC_Rab1 = cislo(t, p.PC_Rab1);
    v.Pc_MnRab2 = cislo(t, p.Pc_MnRab2);
    v.PC_Rab2 = cislo(t, p.PC_Rab2);
    v.PC_MnRab3 = cislo(t, p.PC_MnRab3);
    v.PC_Rab3 = cislo(t, p.PC_Rab3);
    v.NC_MnRab1 = cislo(t, p.NC_MnRab1);
    v.NC_Rab1 = cislo(t, p.NC_Rab1);
    v.Objem = cislo(t, p.Objem);
    v.Spotr_Dan = cislo(t, p.Spotr_Dan);
    return v;
}

CenaDleDruhu CenyDataCis::CenaVyrobkuDleDruhu(const QString& druhCenyText, const QString& kodMeny,
                                              Decimal krok, const QString& sklad) {
    Vyrobek v;
    if (dm_.TableVyr) v = ctiVyrobek(*dm_.TableVyr);
    const DruhCeny druh = druhCeny(druhCenyText);
    ZasobaProCenu zasoba;
    if (druh == DruhCeny::IP) zasoba = this->zasoba(v.Cis_Vyr, sklad);
    ZpravyCeny zpravy;
    const CenaDleDruhu r = brix::CenaVyrobkuDleDruhu(v, druh, kodMeny, krok,
                                                     nastaveniProgramu().ZahrMeny, &zasoba, zpravy);
    UkazZpravyCeny(zpravy);
    return r;
}

// ---- private cursors -------------------------------------------------------------------------

Table& CenyDataCis::soukromy(const QString& adresa, const QString& index) {
    auto& t = soukrome_[adresa + QLatin1Char('#') + index];
    if (!t) {
        t = std::make_unique<Table>(dm_.database(), adresa);
        t->setIndexName(index); // empty: the primary key, whatever the table's default order
    }
    if (!t->active()) t->open();
    return *t;
}

PodilPolozky podilZPuvodnich(const PuvodniHodnoty& p) {
    return {p.PC_NettoC, p.Cena_CiziC, p.Hmotnost, p.DPH};
}

// ---- rebate groups, customer prices, stock -----------------------------------------------------

std::optional<RabatniSkupina> CenyDataCis::rabatniSkupina(int cislo) {
    if (!dm_.TableRabSkup) return std::nullopt;
    std::unique_ptr<KeyLookup>& l = cteni().skupiny;
    Cteni& c = cteni();
    if (!l) {
        l = std::make_unique<KeyLookup>(dm_.database(), dm_.TableRabSkup->def().address(),
                                        QStringList{"Cis_RabSkup"}, QString(), poleRabatu());
        for (int i = 0; i < 20; ++i)
            c.rabat[i] = l->fieldIndex(poleRabatu()[i]);
    }
    if (!l->find({cislo})) return std::nullopt;
    RabatniSkupina s;
    s.Cis_RabSkup = cislo;
    for (int i = 0; i < 20; ++i)
        s.Rabat[i] = brix::cislo(*l, c.rabat[i]);
    return s;
}

std::optional<CenaZakaznika> CenyDataCis::cenaZakaznika(qint64 cisVyr, qint64 cisFirmy) {
    if (!dm_.TCenik_ZAK) return std::nullopt;
    std::unique_ptr<KeyLookup>& l = cteni().ceniky;
    Cteni& c = cteni();
    if (!l) {
        l = std::make_unique<KeyLookup>(dm_.database(), dm_.TCenik_ZAK->def().address(),
                                        QStringList{"Cis_Vyr", "Cis_Firmy"}, QString(),
                                        QStringList{"PC_ZAKL", "PC_ZAKLC"});
        c.pcZakl = l->fieldIndex(QStringLiteral("PC_ZAKL"));
        c.pcZaklC = l->fieldIndex(QStringLiteral("PC_ZAKLC"));
    }
    if (!l->find({cisVyr, cisFirmy})) return std::nullopt;
    return CenaZakaznika{cislo(*l, c.pcZakl), cislo(*l, c.pcZaklC)};
}

std::optional<Vyrobek> CenyDataCis::vyrobekDleKlice(const QString& klicText) {
    const QString klic = OrizniVpravo(klicText);
    if (klic.isEmpty() || !dm_.TableVyr) return std::nullopt;
    Cteni& c = cteni();
    const QString pole = klicVyrobku();
    if (!c.vyrobky || c.klicVyrobku != pole) {
        c.vyrobky = std::make_unique<KeyLookup>(dm_.database(), dm_.TableVyr->def().address(),
                                                QStringList{pole}, QString(), poleVyrobku());
        c.klicVyrobku = pole;
        poleLookupVyrobku_ = std::make_unique<PoleVyrobku>(*c.vyrobky);
    }
    // A product number must be a whole number.
    QVariant hodnota = klic;
    if (pole == QLatin1String("Cis_vyr")) {
        bool ok = false;
        hodnota = klic.trimmed().toLongLong(&ok);
        if (!ok) return std::nullopt;
    }
    if (!c.vyrobky->find({hodnota})) return std::nullopt;
    return vyrobekZeZaznamu(*c.vyrobky, *poleLookupVyrobku_);
}

ZasobaProCenu CenyDataCis::zasoba(qint64 cisVyr, const QString& sklad) {
    const ZasobaVyrobkuVysledek z = dm_.ZasobaVyrobku(cisVyr, sklad);
    // A missing product or a packing factor of 0 is told; the price is still computed.
    if (const auto upozorneni = UpozorneniZasoby(z)) Platform::current().warning(*upozorneni);
    return {z.zasobaKs, z.zasobaKc, z.jednotkovaNakupniCena};
}

std::optional<Vyrobek> CenyDataCis::najdiVyrobek(const QString& klic) {
    if (!dm_.NajdiVyrobek(klic)) return std::nullopt;
    return ctiVyrobek(*dm_.TableVyr);
}

// ---- item pricing ---------------------------------------------------------------------------

VysledekNacteni CenyDataCis::NactiVyrobek(const PopisDokladu& popis, HlavickaProCeny& hlavicka,
                                          PolozkaCeny& polozka, const KrokyDokladu& kroky,
                                          QStringList* postup) {
    return NactiVyrobek(popis, dm_.TableVyr ? ctiVyrobek(*dm_.TableVyr) : Vyrobek(), hlavicka,
                        polozka, kroky, postup);
}

VysledekNacteni CenyDataCis::NactiVyrobek(const PopisDokladu& popis, const Vyrobek& v,
                                          HlavickaProCeny& hlavicka, PolozkaCeny& polozka,
                                          const KrokyDokladu& kroky, QStringList* postup) {
    ZpravyCeny zpravy;
    VysledekNacteni r = brix::NactiVyrobek(popis, v, hlavicka, polozka, kroky,
                                           nastaveniProgramu().ZahrMeny, *this, zpravy, postup);
    UkazZpravyCeny(zpravy);
    return r;
}

Decimal CenyDataCis::MnozstevniRabat(const PopisDokladu& popis, const QString& klic, Decimal q) {
    const std::optional<Vyrobek> v = vyrobekDleKlice(klic);
    ZpravyCeny zpravy;
    const Decimal r = brix::MnozstevniRabat(popis, v ? &*v : nullptr, q, zpravy);
    UkazZpravyCeny(zpravy);
    return r;
}

void CenyDataCis::ZmenaMnozstvi(const PopisDokladu& popis, PolozkaCeny& polozka,
                                const HlavickaProCeny& hlavicka, const QString& klic, Decimal q0,
                                Decimal q1, const KrokyDokladu& kroky, QStringList* postup) {
    const std::optional<Vyrobek> v = vyrobekDleKlice(klic);
    ZpravyCeny zpravy;
    brix::ZmenaMnozstvi(popis, polozka, hlavicka, v ? &*v : nullptr, q0, q1, kroky, zpravy, postup);
    UkazZpravyCeny(zpravy);
}

void CenyDataCis::RucniZmenaCeny(const PopisDokladu& popis, RucniZmena zmena, PolozkaCeny& polozka,
                                 const HlavickaProCeny& hlavicka, const KrokyDokladu& kroky) {
    ZpravyCeny zpravy;
    brix::RucniZmenaCeny(popis, zmena, polozka, hlavicka, kroky, *this, zpravy);
    UkazZpravyCeny(zpravy);
}

void CenyDataCis::PredUlozenimPolozky(const PopisDokladu& popis, PolozkaCeny& polozka,
                                      const HlavickaProCeny& hlavicka, const QString& klic,
                                      Decimal q0, const KrokyDokladu& kroky) {
    const std::optional<Vyrobek> v = vyrobekDleKlice(klic);
    ZpravyCeny zpravy;
    brix::PredUlozenimPolozky(popis, polozka, hlavicka, v ? &*v : nullptr, q0, kroky, *this,
                              zpravy);
    UkazZpravyCeny(zpravy);
}

// ---- document kinds and steps -----------------------------------------------------------------

std::optional<DruhUctu> CenyDataCis::druhUctu(const PopisDokladu& popis, const QString& druhText,
                                              const QString& typText) {
    if (!dm_.TableDruhUctu) return std::nullopt;
    const QString druh = OrizniVpravo(druhText);
    Table& t = soukromy(dm_.TableDruhUctu->def().address());
    bool nalezen = false;
    switch (popis.hledaniDruhu) {
    case HledaniDruhu::TypADruh:
        nalezen = !druh.isEmpty() && t.findKey({popis.typUctu, druh});
        break;
    case HledaniDruhu::TypZHlavicky: {
        const QString typ = OrizniVpravo(typText);
        nalezen = !druh.isEmpty() && t.findKey({typ.isEmpty() ? popis.typUctu : typ, druh});
        break;
    }
    case HledaniDruhu::JenDruh:
        nalezen = !druh.isEmpty() && t.locate(QStringLiteral("Druh"), {druh});
        break;
    case HledaniDruhu::PrvniTypu:
        nalezen = t.findKey({popis.typUctu});
        break;
    }
    if (!nalezen) return std::nullopt;
    return DruhUctu{OrizniVpravo(text_(t, QStringLiteral("Druh_ceny"))),
                    cislo_(t, QStringLiteral("ZaokrPol")), cislo_(t, QStringLiteral("ZaokrHla"))};
}

std::optional<DruhUctu> CenyDataCis::druhUctu(const PopisDokladu& popis, Table& h) {
    return druhUctu(popis, text_(h, popis.pole.DRUH), text_(h, popis.pole.TypDruhu));
}

KrokyDokladu CenyDataCis::NastavZaokrouhleni(const PopisDokladu& popis, Table& h) {
    KrokyDokladu kroky;
    kroky.zaokrCen = kroky.polozky = nastaveniProgramu().ZaokrCen;
    ZpravyCeny zpravy;
    const NastaveniZaokrouhleni n = brix::NastavZaokrouhleni(
        popis, druhUctu(popis, h), text_(h, popis.pole.Druh_Ceny), kroky, zpravy);
    const int druhCeny = h.fieldIndex(popis.pole.Druh_Ceny);
    if (n.druhNalezen && druhCeny >= 0 &&
        (h.state() == TableState::Edit || h.state() == TableState::Insert) &&
        OrizniVpravo(h.field(druhCeny).asString()) != n.druhCeny)
        h.field(druhCeny).setString(n.druhCeny);
    if (popis.maMenu())
        kroky.cizi = KrokCiziMeny(*this, text_(h, popis.pole.Mena), datum_(h, popis.pole.Dat_Pln));
    UkazZpravyCeny(zpravy);
    return kroky;
}

// ---- headers ----------------------------------------------------------------------------------

HlavickaProCeny CenyDataCis::ctiHlavickuProCeny(const PopisDokladu& popis, Table& h) {
    const PoleHlavicky& f = popis.pole;
    HlavickaProCeny r;
    r.druhCeny = druhCenyDokladu(popis, text_(h, f.Druh_Ceny));
    r.Zp_Rabat = OrizniVpravo(text_(h, f.Zp_Rabat));
    r.Rabat = cislo_(h, f.Rabat);
    if (const int i = h.fieldIndex(f.Cis_Obor);
        !f.Cis_Obor.isEmpty() && i >= 0 && !h.field(i).isNull())
        r.Cis_Obor = int(h.field(i).asInteger());
    if (const int i = h.fieldIndex(f.Cis_Firmy);
        !f.Cis_Firmy.isEmpty() && i >= 0 && !h.field(i).isNull())
        r.Cis_Firmy = h.field(i).asInteger();
    r.Kod_Meny = popis.maMenu() ? OrizniVpravo(text_(h, f.Mena)).trimmed() : QString();
    r.Dat_Vystav = datum_(h, f.Dat_Vystav);
    r.Dat_Pln = datum_(h, f.Dat_Pln);
    r.Cis_Sklad = OrizniVpravo(text_(h, f.Cis_Sklad));
    r.Kurs = cislo_(h, f.Kurs);
    return r;
}

namespace {

// The totals and the fields that hold them; `oprava`: a check repairs it.
struct PoleSouctu {
    QString PoleHlavicky::*pole;
    Decimal HodnotyHlavicky::*hodnota;
    bool oprava;
};

std::vector<PoleSouctu> poleSouctu(const PopisDokladu& popis) {
    const bool ciziAHmotnost = popis.kontrola.ciziAHmotnost;
    return {
        {&PoleHlavicky::Zaklad0, &HodnotyHlavicky::Zaklad0, true},
        {&PoleHlavicky::DPH0, &HodnotyHlavicky::DPH0, true},
        {&PoleHlavicky::Zaklad1, &HodnotyHlavicky::Zaklad1, true},
        {&PoleHlavicky::DPH1, &HodnotyHlavicky::DPH1, true},
        {&PoleHlavicky::Zaklad2, &HodnotyHlavicky::Zaklad2, true},
        {&PoleHlavicky::DPH2, &HodnotyHlavicky::DPH2, true},
        {&PoleHlavicky::Zaklad, &HodnotyHlavicky::Zaklad, true},
        {&PoleHlavicky::DPH, &HodnotyHlavicky::DPH, true},
        {&PoleHlavicky::Cena_Celk, &HodnotyHlavicky::Cena_Celk, true},
        {&PoleHlavicky::Cena_Cizi, &HodnotyHlavicky::Cena_Cizi, ciziAHmotnost},
        {&PoleHlavicky::Hmotnost, &HodnotyHlavicky::Hmotnost, ciziAHmotnost},
        {&PoleHlavicky::HPKU_Kc, &HodnotyHlavicky::HPKU_Kc, popis.kontrola.zaokrouhlovaciRozdil},
    };
}

} // namespace

HodnotyHlavicky CenyDataCis::ctiHodnotyHlavicky(const PopisDokladu& popis, Table& h) {
    HodnotyHlavicky r;
    for (const PoleSouctu& p : poleSouctu(popis))
        r.*p.hodnota = cislo_(h, popis.pole.*p.pole);
    return r;
}

void CenyDataCis::zapisHodnotyHlavicky(const PopisDokladu& popis, Table& h,
                                       const HodnotyHlavicky& hodnoty, bool jenOprava) {
    for (const PoleSouctu& p : poleSouctu(popis)) {
        if (jenOprava && !p.oprava) continue;
        const QString& nazev = popis.pole.*p.pole;
        const int i = nazev.isEmpty() ? -1 : h.fieldIndex(nazev);
        if (i >= 0) h.field(i).setDecimal(hodnoty.*p.hodnota);
    }
}

// ---- items ------------------------------------------------------------------------------------

// The positions of an item table's fields, resolved once per table layout.
struct CenyDataCis::PolePolozky {
    explicit PolePolozky(const Table& t) {
        auto i = [&t](const char* n) { return t.fieldIndex(QString::fromLatin1(n)); };
        Cis_Vyr = i("Cis_Vyr");
        ObjCis = i("ObjCis");
        Nazev = i("Nazev");
        Kod_Ozn1 = i("Kod_Ozn1");
        Kod_Ozn2 = i("Kod_Ozn2");
        Kod_Ozn3 = i("Kod_Ozn3");
        DruhMn = i("DruhMn");
        Cis_Sklad = i("Cis_Sklad");
        Druh_Pol = i("Druh_Pol");
        Poznamka = i("Poznamka");
        Cis_celsaz = i("Cis_celsaz");
        Mnozstvi = i("Mnozstvi");
        DPH = i("DPH");
        PC_Zakl = i("PC_Zakl");
        Rabat = i("Rabat");
        PC_Netto = i("PC_Netto");
        PC_NettoC = i("PC_NettoC");
        Faktor = i("Faktor");
        Cena_Cizi = i("Cena_Cizi");
        Cena_CiziC = i("Cena_CiziC");
        JHmotnost = i("JHmotnost");
    }
    int Cis_Vyr, ObjCis, Nazev, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, DruhMn, Cis_Sklad, Druh_Pol, Poznamka,
        Cis_celsaz, Mnozstvi, DPH, PC_Zakl, Rabat, PC_Netto, PC_NettoC, Faktor, Cena_Cizi,
        Cena_CiziC, JHmotnost;
};

const CenyDataCis::PolePolozky& CenyDataCis::polePolozky(const Table& t) {
    auto& p = polePolozek_[&t.def()];
    if (!p) p = std::make_unique<PolePolozky>(t);
    return *p;
}

PolozkaCeny CenyDataCis::ctiPolozku(Table& t) {
    const PolePolozky& f = polePolozky(t);
    PolozkaCeny p;
    p.Cis_Vyr = f.Cis_Vyr < 0 ? 0 : t.field(f.Cis_Vyr).asInteger();
    p.ObjCis = text(t, f.ObjCis);
    p.Nazev = text(t, f.Nazev);
    p.Kod_Ozn1 = text(t, f.Kod_Ozn1);
    p.Kod_Ozn2 = text(t, f.Kod_Ozn2);
    p.Kod_Ozn3 = text(t, f.Kod_Ozn3);
    p.DruhMn = text(t, f.DruhMn);
    p.Cis_Sklad = text(t, f.Cis_Sklad);
    p.Druh_Pol = text(t, f.Druh_Pol);
    p.Poznamka = text(t, f.Poznamka);
    p.Cis_celsaz = text(t, f.Cis_celsaz);
    p.Mnozstvi = cislo(t, f.Mnozstvi);
    p.DPH = cislo(t, f.DPH);
    p.PC_Zakl = cislo(t, f.PC_Zakl);
    p.Rabat = cislo(t, f.Rabat);
    p.PC_Netto = cislo(t, f.PC_Netto);
    p.PC_NettoC = cislo(t, f.PC_NettoC);
    p.Faktor = cislo(t, f.Faktor);
    p.Cena_Cizi = cislo(t, f.Cena_Cizi);
    p.Cena_CiziC = cislo(t, f.Cena_CiziC);
    p.JHmotnost = cislo(t, f.JHmotnost);
    return p;
}

void CenyDataCis::zapisPolozku(Table& t, const PolozkaCeny& p) {
    const PolePolozky& f = polePolozky(t);
    auto textPole = [&t](int i, const QString& v) {
        if (i >= 0) t.field(i).setString(v);
    };
    auto cisloPole = [&t](int i, Decimal v) {
        if (i >= 0) t.field(i).setDecimal(v);
    };
    if (f.Cis_Vyr >= 0) t.field(f.Cis_Vyr).setInteger(p.Cis_Vyr);
    textPole(f.ObjCis, p.ObjCis);
    textPole(f.Nazev, p.Nazev);
    textPole(f.Kod_Ozn1, p.Kod_Ozn1);
    textPole(f.Kod_Ozn2, p.Kod_Ozn2);
    textPole(f.Kod_Ozn3, p.Kod_Ozn3);
    textPole(f.DruhMn, p.DruhMn);
    textPole(f.Cis_Sklad, p.Cis_Sklad);
    textPole(f.Druh_Pol, p.Druh_Pol);
    textPole(f.Poznamka, p.Poznamka);
    textPole(f.Cis_celsaz, p.Cis_celsaz);
    cisloPole(f.Mnozstvi, p.Mnozstvi);
    cisloPole(f.DPH, p.DPH);
    cisloPole(f.PC_Zakl, p.PC_Zakl);
    cisloPole(f.Rabat, p.Rabat);
    cisloPole(f.PC_Netto, p.PC_Netto);
    cisloPole(f.PC_NettoC, p.PC_NettoC);
    cisloPole(f.Faktor, p.Faktor);
    cisloPole(f.Cena_Cizi, p.Cena_Cizi);
    cisloPole(f.Cena_CiziC, p.Cena_CiziC);
    cisloPole(f.JHmotnost, p.JHmotnost);
}

SoucetDokladu CenyDataCis::nactiSoucet(const PopisDokladu& popis, Table& h) {
    SoucetDokladu s(popis,
                    castkySDPH(popis, druhCenyDokladu(popis, text_(h, popis.pole.Druh_Ceny))));
    const int ci = h.fieldIndex(QStringLiteral("CIS_UCTU"));
    if (ci < 0 || !h.hasRecord() || h.field(ci).isNull()) return s;
    const QVariant cislo = h.field(ci).asInteger();
    Table& t = soukromy(popis.polozky);
    t.setRange({cislo}, {cislo});
    const PolePolozky& f = polePolozky(t);
    for (t.first(); !t.eof() && t.hasRecord(); t.next())
        s.pridej({brix::cislo(t, f.PC_NettoC), brix::cislo(t, f.Cena_CiziC),
                  brix::cislo(t, f.JHmotnost) * brix::cislo(t, f.Mnozstvi),
                  int(brix::cislo(t, f.DPH).truncated())});
    return s;
}

bool CenyDataCis::KontrolaHlavicky(const PopisDokladu& popis, Table& h, Table* polozky,
                                   Decimal krokHlavicky, bool verbose) {
    try {
        if (polozky &&
            (polozky->state() == TableState::Edit || polozky->state() == TableState::Insert))
            polozky->post();
        const SoucetDokladu soucet = nactiSoucet(popis, h);
        const VysledekKontroly k =
            brix::KontrolaHlavicky(soucet, ctiHodnotyHlavicky(popis, h), krokHlavicky);
        if (!k.rozdil) return true;
        if ((popis.kontrola.vzdyPtat || verbose) &&
            !Platform::current().askYesNo(k.text, popis.kontrola.titulekOtazky))
            return false;
        Database::Transaction tx(dm_.database());
        if (h.state() == TableState::Browse) h.edit();
        zapisHodnotyHlavicky(popis, h, k.spravne, true);
        h.post();
        tx.commit();
        return true;
    } catch (const Abort&) {
        return false; // the table's own message has been shown; the record stays in edit
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
}

bool CenyDataCis::pridejPrirazku(const PopisDokladu& popis, qint64 cisUctu, int porCis,
                                 const PrirazkaSD& s) {
    if (popis.prirazky.isEmpty() || !dm_.database().findTable(popis.prirazky)) return false;
    Table& t = soukromy(popis.prirazky);
    try {
        t.insert();
        auto nastav = [&t](const char* pole, const QVariant& v) {
            const int i = t.fieldIndex(QString::fromLatin1(pole));
            if (i >= 0) t.field(i).setValue(v);
        };
        nastav("Cis_Uctu", cisUctu);
        nastav("PorCis", porCis);
        nastav("Druh_Prir", QStringLiteral("SD"));
        nastav("Popis", s.Popis);
        nastav("Druh_Vypoctu", QStringLiteral("CO"));
        nastav("Mnozstvi", s.Mnozstvi.toDouble());
        nastav("JCena", s.JCena.toDouble());
        nastav("CCena", s.CCena.toDouble());
        nastav("Zobrazeni", true);
        t.post();
        return true;
    } catch (const std::exception&) {
        if (t.state() != TableState::Browse) t.cancel();
        return false;
    }
}

} // namespace brix
