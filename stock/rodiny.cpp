#include "rodiny.h"

#include "util/text_utils.h"

namespace brix::sklad {

QString textSmeru(Smer smer) {
    return smer == Smer::Prijem ? QStringLiteral("P") : QStringLiteral("V");
}

int znamenko(Smer smer) {
    return smer == Smer::Prijem ? 1 : -1;
}

QString textPole(const RecordSource& r, const QString& pole) {
    const int i = r.fieldIndex(pole);
    return i < 0 ? QString() : OrizniVpravo(displayText(r.fieldValue(i), r.fieldDef(i).kind));
}

Decimal castkaPole(const RecordSource& r, const QString& pole) {
    const int i = r.fieldIndex(pole);
    if (i < 0) return Decimal();
    const QVariant v = r.fieldValue(i);
    return v.isNull() ? Decimal() : Decimal::fromDouble(v.toDouble());
}

qint64 cisloPole(const RecordSource& r, const QString& pole) {
    const int i = r.fieldIndex(pole);
    if (i < 0) return 0;
    const QVariant v = r.fieldValue(i);
    return v.isNull() ? 0 : qint64(qRound64(v.toDouble()));
}

bool neuctovana(const RecordSource& polozka) {
    return textPole(polozka, QStringLiteral("Stav")).toUpper() == QLatin1String("P");
}

bool skladova(const RecordSource& polozka) {
    return textPole(polozka, QStringLiteral("Druh_Pol")).toUpper() == QLatin1String("S");
}

bool jePrevodka(const RecordSource* hlavicka) {
    return hlavicka &&
           textPole(*hlavicka, QStringLiteral("Druh_Dokl")).toUpper() == QLatin1String("P");
}

namespace {

// The item's product key as the messages quote it (the field the setting names).
QString klicPolozky(const RecordSource& polozka, const NastaveniPohybu& n) {
    return textPole(polozka, n.klicVyrobku);
}

QString zpravaNulovehoFaktoru(const RecordSource& polozka, const NastaveniPohybu& n) {
    return QStringLiteral("Faktor množství výrobku \"") + klicPolozky(polozka, n) +
           QStringLiteral("\" je nulový");
}

Pohyb zakladPohybu(const RecordSource& polozka) {
    Pohyb p;
    p.cisVyr = cisloPole(polozka, QStringLiteral("Cis_Vyr"));
    p.objCis = textPole(polozka, QStringLiteral("ObjCis"));
    p.sklad = textPole(polozka, QStringLiteral("Cis_Sklad"));
    p.mnozstvi = castkaPole(polozka, QStringLiteral("Mnozstvi"));
    return p;
}

// A receipt item enters at its stock unit price per price factor; a document at the average
// stock price ("IP") prices per unit already, so its factor is not applied.
std::vector<Pohyb> pohybyPrijemky(const RecordSource* hlavicka, const RecordSource& polozka,
                                  const NastaveniPohybu& n, std::vector<Zprava>* zpravy) {
    if (!skladova(polozka)) return {};
    Pohyb p = zakladPohybu(polozka);
    p.smer = Smer::Prijem;
    Decimal u = castkaPole(polozka, QStringLiteral("Cena_Skl"));
    const bool ip = hlavicka && textPole(*hlavicka, QStringLiteral("Druh_Ceny")).toUpper() == "IP";
    if (!ip) {
        const Decimal faktor = castkaPole(polozka, QStringLiteral("Faktor"));
        if (!faktor.isZero())
            u = u / faktor;
        else if (zpravy)
            zpravy->push_back({QStringLiteral("Varování"), zpravaNulovehoFaktoru(polozka, n)});
    }
    p.oceneni = Oceneni::Pevne;
    p.hodnota = u * p.mnozstvi;
    p.jednotkovaHodnota = u;
    p.pCena = castkaPole(polozka, QStringLiteral("Cena_ZobrC"));
    p.rezervace = -p.mnozstvi;
    return {p};
}

// An issue item leaves its warehouse at its stock line total; a transfer item enters the
// target warehouse at its display line total.
std::vector<Pohyb> pohybyVydejky(const RecordSource* hlavicka, const RecordSource& polozka,
                                 const NastaveniPohybu&, std::vector<Zprava>*) {
    if (!skladova(polozka)) return {};
    Pohyb vydej = zakladPohybu(polozka);
    vydej.smer = Smer::Vydej;
    vydej.oceneni = Oceneni::Vydej;
    vydej.hodnota = castkaPole(polozka, QStringLiteral("Cena_SklC"));
    vydej.jednotkovaHodnota = castkaPole(polozka, QStringLiteral("Cena_Skl"));
    vydej.pCena = castkaPole(polozka, QStringLiteral("Cena_ZobrC"));
    vydej.rezervace = vydej.mnozstvi;
    if (!jePrevodka(hlavicka)) return {vydej};
    Pohyb prijem = vydej;
    prijem.smer = Smer::Prijem;
    prijem.sklad = textPole(*hlavicka, QStringLiteral("Na_Sklad"));
    prijem.oceneni = Oceneni::Pevne;
    prijem.hodnota = vydej.pCena;
    prijem.jednotkovaHodnota = castkaPole(polozka, QStringLiteral("Cena_Zobr"));
    prijem.rezervace = Decimal();
    return {vydej, prijem};
}

std::vector<Pohyb> pohybyDodavky(const RecordSource*, const RecordSource& polozka,
                                 const NastaveniPohybu& n, std::vector<Zprava>* zpravy) {
    if (!skladova(polozka)) return {};
    if (zpravy && castkaPole(polozka, QStringLiteral("Faktor")).isZero())
        zpravy->push_back({QStringLiteral("Upozornění"),
                           zpravaNulovehoFaktoru(polozka, n) + QStringLiteral(", měním na 1")});
    Pohyb p = zakladPohybu(polozka);
    p.smer = Smer::Prijem;
    p.oceneni = Oceneni::Dodavka;
    p.hodnota = castkaPole(polozka, QStringLiteral("PC_NettoC"));
    p.jednotkovaHodnota = castkaPole(polozka, QStringLiteral("PC_Netto"));
    p.pCena = p.hodnota;
    p.rezervace = -p.mnozstvi;
    return {p};
}

RodinaDokladu vytvorPrijemku() {
    RodinaDokladu r;
    r.druhUctu = QLatin1Char('P');
    r.typUctu = QStringLiteral("C");
    r.hlavicka = QStringLiteral("Int_Ucty\\Prijem\\Hla_Prij");
    r.polozky = QStringLiteral("Int_Ucty\\Prijem\\Pol_Prij");
    r.varianty = QStringLiteral("Int_Ucty\\Prijem\\Var_Prij");
    r.poleCeny = QStringLiteral("Cena_ZobrC");
    r.soucty = {{QStringLiteral("Cena_ZobrCelk"), QStringLiteral("Cena_ZobrC")},
                {QStringLiteral("Cena_SklCelk"), QStringLiteral("Cena_SklC")}};
    r.oprava = true;
    r.storno = true;
    r.pohyby = pohybyPrijemky;
    return r;
}

RodinaDokladu vytvorVydejku() {
    RodinaDokladu r;
    r.druhUctu = QLatin1Char('V');
    r.typUctu = QStringLiteral("A");
    r.smer = Smer::Vydej;
    r.kontrola.podleKlice = false;
    r.kontrola.neshoda = KontrolaRodiny::Neshoda::HlasitObjCis;
    r.hlavicka = QStringLiteral("Int_Ucty\\Vydej\\Hla_Vyd");
    r.polozky = QStringLiteral("Int_Ucty\\Vydej\\Pol_Vyd");
    r.varianty = QStringLiteral("Int_Ucty\\Vydej\\Var_Vyd");
    r.poleCeny = QStringLiteral("Cena_ZobrC");
    r.soucty = {{QStringLiteral("Cena_ZobrCelk"), QStringLiteral("Cena_ZobrC")},
                {QStringLiteral("Cena_SklCelk"), QStringLiteral("Cena_SklC")}};
    r.oprava = true;
    r.pohyby = pohybyVydejky;
    return r;
}

RodinaDokladu vytvorDodavku() {
    RodinaDokladu r;
    r.druhUctu = QLatin1Char('Z');
    r.typUctu = QStringLiteral("3");
    r.kontrola.neshoda = KontrolaRodiny::Neshoda::HlasitCislo;
    r.kontrola.caption = QStringLiteral("Upozornění");
    r.hlavicka = QStringLiteral("Ext_Ucty\\PrijZb\\Hla_DLP");
    r.polozky = QStringLiteral("Ext_Ucty\\PrijZb\\Pol_DLP");
    r.varianty = QStringLiteral("Ext_Ucty\\PrijZb\\Var_DLP");
    r.poleCeny = QStringLiteral("PC_NettoC");
    r.soucty = {{QStringLiteral("ZAKLAD"), QStringLiteral("PC_NETTOC")}};
    r.storno = true;
    r.pohyby = pohybyDodavky;
    Navaznost f;
    f.hlavicka = QStringLiteral("Ext_Ucty\\FaPrij\\Hla_FaP");
    f.polozky = QStringLiteral("Ext_Ucty\\FaPrij\\Pol_FaP");
    f.typUctu = QStringLiteral("4");
    f.poleOdkazu = QStringLiteral("Cis_Doklad");
    f.poleZnacky = QStringLiteral("Faktura");
    f.poleOdkazuZpet = QStringLiteral("CIS_Doklad");
    r.navaznost = f;
    return r;
}

} // namespace

const RodinaDokladu& RodinaDokladu::prijemka() {
    static const RodinaDokladu r = vytvorPrijemku();
    return r;
}

const RodinaDokladu& RodinaDokladu::vydejka() {
    static const RodinaDokladu r = vytvorVydejku();
    return r;
}

const RodinaDokladu& RodinaDokladu::dodavka() {
    static const RodinaDokladu r = vytvorDodavku();
    return r;
}

const std::vector<const RodinaDokladu*>& RodinaDokladu::vsechny() {
    static const std::vector<const RodinaDokladu*> v = {&prijemka(), &vydejka(), &dodavka()};
    return v;
}

const RodinaDokladu* RodinaDokladu::podlePismene(QChar druhUctu) {
    for (const RodinaDokladu* r : vsechny())
        if (r->druhUctu == druhUctu.toUpper()) return r;
    return nullptr;
}

} // namespace brix::sklad
