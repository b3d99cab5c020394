#include "ceny_datacis.h"

#include "datacis.h"
#include "platform.h"
#include "table.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"

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

// A private cursor over "Meny" in the order (KOD_Meny, Platnost_Od), with its field positions.
struct CenyDataCis::Kurzy {
    explicit Kurzy(Table& sdilena) : t(sdilena.database(), sdilena.def().address()) {
        t.setIndexName(QStringLiteral("KodMeny"));
        t.open();
        platnost = t.fieldIndex(QStringLiteral("Platnost_Od"));
        kod = t.fieldIndex(QStringLiteral("KOD_Meny"));
        kursPole = t.fieldIndex(QStringLiteral("Kurs"));
        koef = t.fieldIndex(QStringLiteral("Koef"));
        zaokr = t.fieldIndex(QStringLiteral("Zaokr"));
        kursEur = t.fieldIndex(QStringLiteral("Kurs_EUR"));
    }
    Decimal cislo(int i) { return i < 0 ? Decimal() : t.field(i).asDecimal(); }

    Table t;
    int platnost, kod, kursPole, koef, zaokr, kursEur;
};

// The positions of the product's fields in a cursor over "Vyrobky" (-1 for a field the table
// lacks), resolved once per table layout.
struct CenyDataCis::PoleVyrobku {
    explicit PoleVyrobku(const Table& t) : def(&t.def()) {
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

QString text(Table& t, int i) {
    return i < 0 ? QString() : t.field(i).asString();
}

Decimal cislo(Table& t, int i) {
    return i < 0 ? Decimal() : t.field(i).asDecimal();
}

} // namespace

CenyDataCis::CenyDataCis(TDataCis& dm) : dm_(dm) {}

CenyDataCis::~CenyDataCis() = default;

std::optional<KursMeny> CenyDataCis::kurs(const QString& kod, const QDate& datum) {
    const QString k = OrizniVpravo(kod);
    if (k.isEmpty() || !datum.isValid() || !dm_.TableZeme) return std::nullopt;
    if (!kurzy_) kurzy_ = std::make_unique<Kurzy>(*dm_.TableZeme);
    Table& t = kurzy_->t;
    // The currency's records up to the date; the last of them in key order is the latest.
    t.setRange({k}, {k, datum});
    t.last();
    if (!t.hasRecord()) return std::nullopt;
    KursMeny m;
    m.Platnost_Od = t.field(kurzy_->platnost).asDate();
    m.KOD_Meny = OrizniVpravo(t.field(kurzy_->kod).asString());
    m.Kurs = kurzy_->cislo(kurzy_->kursPole);
    m.Koef = kurzy_->cislo(kurzy_->koef);
    m.Zaokr = kurzy_->cislo(kurzy_->zaokr);
    m.Kurs_EUR = kurzy_->cislo(kurzy_->kursEur);
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
    Vyrobek v;
    if (!t.active() || !t.hasRecord()) return v;
    if (!poleVyrobku_ || poleVyrobku_->def != &t.def())
        poleVyrobku_ = std::make_unique<PoleVyrobku>(t);
    const PoleVyrobku& p = *poleVyrobku_;
    v.Cis_Vyr = p.Cis_Vyr < 0 ? 0 : t.field(p.Cis_Vyr).asInteger();
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
    if (p.Cis_RabSkp >= 0 && !t.field(p.Cis_RabSkp).isNull())
        v.Cis_RabSkp = int(t.field(p.Cis_RabSkp).asInteger());
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
    if (druh == DruhCeny::IP) {
        ZasobaVyrobkuVysledek z;
        dm_.ZasobaVyrobku(v.Cis_Vyr, sklad, true, z);
        zasoba = {z.zasobaKs, z.zasobaKc, z.jednotkovaNakupniCena};
    }
    ZpravyCeny zpravy;
    const CenaDleDruhu r = brix::CenaVyrobkuDleDruhu(v, druh, kodMeny, krok,
                                                     nastaveniProgramu().ZahrMeny, &zasoba, zpravy);
    UkazZpravyCeny(zpravy);
    return r;
}

} // namespace brix
