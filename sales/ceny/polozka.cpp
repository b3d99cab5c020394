#include "polozka.h"

#include "util/numeric.h"
#include "util/text_utils.h"

namespace brix {

namespace {

const Decimal kDesetina = Decimal::fromRaw(Decimal::kScale / 10);
const Decimal kSto(100);

Decimal naKrok(Decimal x, Decimal krok) {
    ZaokrouhliKrok(x, krok);
    return x;
}

QString c(Decimal d) {
    return d.toShortString();
}

// The base price of a net price at the rebate: net / (100 - rebate), then x 100; nothing at a
// rebate of 100, where every base price gives the same net price.
std::optional<Decimal> zakladZNetta(Decimal netto, Decimal rabat) {
    const Decimal zbytek = kSto - rabat;
    if (zbytek.isZero()) return std::nullopt;
    return netto / zbytek * kSto;
}

// A line's amount for the factor's units: the amount divided by the factor at the step, 0 for a
// factor of 0. Any other factor divides, one between 0 and 1 too.
Decimal naFaktor(Decimal castka, Decimal faktor, Decimal krok) {
    if (faktor.isZero()) return Decimal();
    Decimal r = castka / faktor;
    ZaokrouhliKrok(r, krok);
    return r;
}

bool deliFaktorem(DeleniFaktorem deleni, DruhCeny druh) {
    switch (deleni) {
    case DeleniFaktorem::MOaVO:
        return druh == DruhCeny::MO || druh == DruhCeny::VO;
    case DeleniFaktorem::MOVOaNC:
        return druh == DruhCeny::MO || druh == DruhCeny::VO || druh == DruhCeny::NC;
    case DeleniFaktorem::Vzdy:
        return true;
    }
    return false;
}

Decimal krokRadku(KrokRadku k, DruhCeny druh, const KrokyDokladu& kroky) {
    switch (k) {
    case KrokRadku::Polozky:
        return kroky.polozky;
    case KrokRadku::ZaokrCen:
        return kroky.zaokrCen;
    case KrokRadku::ZaokrCenNeboDesetina:
        return druh == DruhCeny::MO ? kDesetina : kroky.zaokrCen;
    }
    return kroky.polozky;
}

// The rebate of the product's group for the header's customer class; a class outside 1..20 is
// set to 1 with its warning.
Decimal rabatSkupiny(const Vyrobek& v, HlavickaProCeny& h, ZdrojCen& zdroj,
                     VysledekNacteni& vysledek, ZpravyCeny& zpravy, QStringList* postup) {
    const std::optional<RabatniSkupina> skupina =
        v.Cis_RabSkp ? zdroj.rabatniSkupina(*v.Cis_RabSkp) : std::nullopt;
    if (!skupina) {
        zpravy.push_back({DruhZpravyCeny::RabatniSkupinaNenalezena,
                          v.Cis_RabSkp ? QString::number(*v.Cis_RabSkp) : QString(),
                          {}});
        if (postup) *postup << QStringLiteral("rabatní skupina nenalezena: rabat 0");
        return Decimal();
    }
    int obor = h.Cis_Obor.value_or(0);
    if (obor < 1 || obor > 20) {
        zpravy.push_back({DruhZpravyCeny::OborMimoRozsah,
                          h.Cis_Obor ? QString::number(*h.Cis_Obor) : QString(),
                          {}});
        h.Cis_Obor = obor = 1;
        vysledek.oborZmenen = true;
    }
    const Decimal r = skupina->Rabat[obor - 1];
    if (postup)
        *postup << QStringLiteral("rabat skupiny %1 pro obor %2: %3 %")
                       .arg(skupina->Cis_RabSkup)
                       .arg(obor)
                       .arg(c(r));
    return r;
}

} // namespace

PodilPolozky PolozkaCeny::podil() const {
    return {PC_NettoC, Cena_CiziC, JHmotnost * Mnozstvi, int(DPH.truncated())};
}

DruhCeny druhCenyDokladu(const PopisDokladu& popis, QStringView druhCenyHlavicky) {
    const DruhCeny druh = druhCeny(druhCenyHlavicky);
    if (popis.druhCenyMOneboVO) return druh == DruhCeny::MO ? DruhCeny::MO : DruhCeny::VO;
    return druh;
}

NastaveniZaokrouhleni NastavZaokrouhleni(const PopisDokladu& popis,
                                         const std::optional<DruhUctu>& druh,
                                         const QString& druhCenyHlavicky, KrokyDokladu& kroky,
                                         ZpravyCeny& zpravy) {
    if (!druh) {
        kroky.polozky = kroky.hlavicky = kDesetina;
        zpravy.push_back({popis.chybaDruhuVelka ? DruhZpravyCeny::NeexistujiciDRUH
                                                : DruhZpravyCeny::NeexistujiciDruh,
                          {},
                          {}});
        return {false, druhCenyHlavicky};
    }
    kroky.polozky = druh->ZaokrPol;
    kroky.hlavicky = druh->ZaokrHla;
    const bool prazdny = OrizniVpravo(druhCenyHlavicky).isEmpty();
    return {true, prazdny ? druh->Druh_ceny : druhCenyHlavicky};
}

Decimal KrokCiziMeny(KurzovniListek& kurzy, const QString& kod, const QDate& datPln) {
    const QString k = OrizniVpravo(kod);
    const Decimal krok = k.isEmpty() ? Decimal() : ZaokrouhleniMeny(kurzy, k, datPln);
    return krok > Decimal() ? krok : kDesetina;
}

VysledekNacteni NactiVyrobek(const PopisDokladu& popis, const Vyrobek& v, HlavickaProCeny& h,
                             PolozkaCeny& p, const KrokyDokladu& kroky, bool zahrMeny,
                             ZdrojCen& zdroj, ZpravyCeny& zpravy, QStringList* postup) {
    VysledekNacteni r;
    const bool mena = popis.maMenu() && !h.Kod_Meny.isEmpty();
    const bool cizi = zahrMeny && mena;

    // Names and codes.
    switch (popis.nazevPolozky) {
    case NazevPolozky::Cesky:
        p.Nazev = v.Nazev;
        break;
    case NazevPolozky::CeskyNeboCizi:
        p.Nazev = mena && !h.ceskeNazvy ? v.NazCizJaz : v.Nazev;
        break;
    case NazevPolozky::CiziSMenou:
        p.Nazev = mena ? v.NazCizJaz : v.Nazev;
        break;
    }
    p.Cis_Vyr = v.Cis_Vyr;
    p.ObjCis = v.ObjCis;
    p.Kod_Ozn1 = v.Kod_Ozn1;
    p.Kod_Ozn2 = v.Kod_Ozn2;
    p.Kod_Ozn3 = v.Kod_Ozn3;
    p.DruhMn = v.DruhMn;
    p.JHmotnost = v.Vaha;
    if (!popis.pole.Cis_Sklad.isEmpty()) p.Cis_Sklad = h.Cis_Sklad;
    p.Cis_celsaz = v.Cis_CelSaz;

    // The excise duty: for one unit of the item, its quantity follows the item's.
    if (popis.prirazkaACenik && v.Spotr_Dan > Decimal()) {
        PrirazkaSD s;
        s.Popis = v.Cis_CelSaz;
        s.Mnozstvi = naKrok(v.Objem * p.Mnozstvi, kroky.polozky);
        s.JCena = v.Spotr_Dan;
        s.CCena = naKrok(v.Spotr_Dan * v.Objem, kroky.polozky);
        r.prirazka = s;
        if (postup)
            *postup << QStringLiteral("spotřební daň: %1 × objem %2 = %3 na jednotku")
                           .arg(c(v.Spotr_Dan), c(v.Objem), c(s.CCena));
    }

    if (popis.poznamkaVyrobku) p.Poznamka = v.Poznamka;
    p.DPH = mena ? Decimal() : v.DPH;

    // The price by type.
    CenaDleDruhu cena;
    if (popis.cenaMOsDPH && h.druhCeny == DruhCeny::MO) {
        cena.cena = v.MO_Cena;
        cena.faktor = v.CenaZa;
        if (postup) *postup << QStringLiteral("cena MO vč. DPH: MO_Cena %1").arg(c(v.MO_Cena));
    } else {
        ZasobaProCenu zasoba;
        if (h.druhCeny == DruhCeny::IP) zasoba = zdroj.zasoba(v.Cis_Vyr, p.Cis_Sklad);
        cena = CenaVyrobkuDleDruhu(v, h.druhCeny, h.Kod_Meny,
                                   popis.krokCenyDesetina ? kDesetina : kroky.polozky, zahrMeny,
                                   &zasoba, zpravy, postup);
    }
    p.PC_Zakl = p.PC_Netto = cena.cena;
    p.Faktor = cena.faktor;

    // The foreign price.
    if (cizi) {
        const bool vlastniMena = h.Kod_Meny == OrizniVpravo(v.Kod_Meny);
        if (h.druhCeny == DruhCeny::MO || h.druhCeny == DruhCeny::VO ||
            (h.druhCeny == DruhCeny::NC && !vlastniMena)) {
            p.Cena_Cizi = PrevodNaCiziMenu(zdroj, h.Kod_Meny, p.PC_Netto, h.Dat_Vystav, zpravy);
        } else if (h.druhCeny == DruhCeny::NC) {
            p.Cena_Cizi = cena.ciziCena;
            p.PC_Netto = popis.ciziNCPresKurs ? naKrok(h.Kurs * p.Cena_Cizi, kroky.polozky)
                                              : PrevodNaTuzemskou(zdroj, h.Kod_Meny, p.Cena_Cizi,
                                                                  h.Dat_Vystav, zpravy);
            p.PC_Zakl = p.PC_Netto;
        }
    }

    // The customer's agreed price.
    if (popis.prirazkaACenik && h.Cis_Firmy) {
        if (const std::optional<CenaZakaznika> z = zdroj.cenaZakaznika(v.Cis_Vyr, *h.Cis_Firmy)) {
            p.Rabat = Decimal();
            if (!cizi) p.PC_Zakl = z->PC_ZAKL;
            if (postup)
                *postup << QStringLiteral("ceník zákazníka %1: rabat 0%2")
                               .arg(*h.Cis_Firmy)
                               .arg(cizi ? QString()
                                         : QStringLiteral(", základní cena %1").arg(c(p.PC_Zakl)));
        }
    }

    p.Druh_Pol = v.Druh_Pol;

    // The rebate.
    const QString zpusob = OrizniVpravo(h.Zp_Rabat);
    switch (popis.rabat) {
    case RabatPriVyberu::SkupinaNeboPevny:
        if (zpusob == QLatin1String("RS"))
            p.Rabat = rabatSkupiny(v, h, zdroj, r, zpravy, postup);
        else if (zpusob == QLatin1String("PS"))
            p.Rabat = h.Rabat;
        break;
    case RabatPriVyberu::SkupinaJinakPevny:
        p.Rabat =
            zpusob == QLatin1String("RS") ? rabatSkupiny(v, h, zdroj, r, zpravy, postup) : h.Rabat;
        break;
    case RabatPriVyberu::Nulovy:
        p.Rabat = Decimal();
        break;
    }
    if (postup && popis.rabat != RabatPriVyberu::Nulovy && zpusob != QLatin1String("RS"))
        *postup << QStringLiteral("rabat dokladu: %1 %").arg(c(p.Rabat));

    // The net price.
    switch (popis.krokNetta) {
    case KrokNetta::Polozky:
        p.PC_Netto = CenaPoSleve(kroky.polozky, p.Rabat, p.PC_Zakl);
        break;
    case KrokNetta::Desetina:
        p.PC_Netto = CenaPoSleve(kDesetina, p.Rabat, p.PC_Zakl);
        break;
    case KrokNetta::Zadny:
        p.PC_Netto = p.PC_Zakl;
        break;
    }

    if (popis.ciziZNetta && cizi)
        p.Cena_Cizi = naKrok(PrevodNaCiziMenu(zdroj, h.Kod_Meny, p.PC_Netto, h.Dat_Vystav, zpravy),
                             kroky.cizi);

    PrepocetPolozky(popis, h.druhCeny, p, kroky);
    return r;
}

Decimal MnozstevniRabat(const PopisDokladu& popis, const Vyrobek* v, Decimal q, ZpravyCeny& zpravy,
                        QStringList* postup) {
    if (!v) {
        zpravy.push_back({DruhZpravyCeny::VyrobekNenalezenRabat, {}, {}});
        return Decimal();
    }
    Decimal r;
    if (popis.mnozstevniRabat == MnozstevniRabatDruh::Nakupni) {
        if (!v->NC_MnRab1.isZero() && q >= v->NC_MnRab1) r = v->NC_Rab1;
    } else {
        if (!v->PC_MnRab1.isZero() && q >= v->PC_MnRab1) r = v->PC_Rab1;
        if (!v->Pc_MnRab2.isZero() && q >= v->Pc_MnRab2) {
            if (v->PC_Rab2 > Decimal(-100)) {
                r = v->PC_Rab2;
                if (!v->PC_MnRab3.isZero() && q >= v->PC_MnRab3) r = v->PC_Rab3;
            } else {
                zpravy.push_back({DruhZpravyCeny::SpecialniMnozstevniRabat, {}, {}});
            }
        }
    }
    if (postup && !r.isZero())
        *postup << QStringLiteral("množstevní rabat při množství %1: %2 %").arg(c(q), c(r));
    return r;
}

void ZmenaMnozstvi(const PopisDokladu& popis, PolozkaCeny& p, const HlavickaProCeny& h,
                   const Vyrobek* v, Decimal q0, Decimal q1, const KrokyDokladu& kroky,
                   ZpravyCeny& zpravy, QStringList* postup) {
    // An unchanged quantity changes no rebate (and repeats no message).
    if (v && q0 != q1) {
        const Decimal pred = MnozstevniRabat(popis, v, q0, zpravy, postup);
        const Decimal po = MnozstevniRabat(popis, v, q1, zpravy, postup);
        p.Rabat = p.Rabat - pred + po;
    } else if (!v) {
        zpravy.push_back({DruhZpravyCeny::VyrobekNenalezenRabat, {}, {}});
    }
    p.Mnozstvi = q1;
    p.PC_Netto = CenaPoSleve(kroky.zaokrCen, p.Rabat, p.PC_Zakl);
    if (postup)
        *postup << QStringLiteral("množství %1: rabat %2 %, cena po slevě na krok %3 = %4")
                       .arg(c(q1), c(p.Rabat), c(kroky.zaokrCen), c(p.PC_Netto));
    PrepocetPolozky(popis, h.druhCeny, p, kroky);
}

void RucniZmenaCeny(const PopisDokladu& popis, RucniZmena zmena, PolozkaCeny& p,
                    const HlavickaProCeny& h, const KrokyDokladu& kroky, KurzovniListek& kurzy,
                    ZpravyCeny& zpravy) {
    const bool mena = popis.maMenu() && !h.Kod_Meny.isEmpty();
    switch (zmena) {
    case RucniZmena::PC_Zakl:
    case RucniZmena::Rabat:
        p.PC_Netto = CenaPoSleve(kroky.zaokrCen, p.Rabat, p.PC_Zakl);
        if (mena && (zmena == RucniZmena::PC_Zakl ? popis.upravy.ciziPriZakladu
                                                  : popis.upravy.ciziPriRabatu))
            p.Cena_Cizi = PrevodNaCiziMenu(kurzy, h.Kod_Meny, p.PC_Netto, h.Dat_Vystav, zpravy);
        break;
    case RucniZmena::PC_Netto:
        if (const std::optional<Decimal> z = zakladZNetta(p.PC_Netto, p.Rabat))
            p.PC_Zakl = naKrok(*z, kroky.zaokrCen);
        else
            zpravy.push_back({DruhZpravyCeny::RabatStoProcent, {}, {}});
        break;
    case RucniZmena::Cena_Cizi:
        // Without a currency the foreign price has no meaning (its box is disabled).
        if (!mena) break;
        if (popis.upravy.ciziPresKurs) {
            p.PC_Netto = naKrok(h.Kurs * p.Cena_Cizi, kroky.polozky);
            p.PC_Zakl = p.PC_Netto;
            break;
        }
        p.PC_Netto = PrevodNaTuzemskou(kurzy, h.Kod_Meny, p.Cena_Cizi, h.Dat_Pln, zpravy);
        if (const std::optional<Decimal> z = zakladZNetta(p.PC_Netto, p.Rabat))
            p.PC_Zakl = *z;
        else
            zpravy.push_back({DruhZpravyCeny::RabatStoProcent, {}, {}});
        break;
    }
    PrepocetPolozky(popis, h.druhCeny, p, kroky);
}

void PrepocetPolozky(const PopisDokladu& popis, DruhCeny druh, PolozkaCeny& p,
                     const KrokyDokladu& kroky) {
    const PravidloRadku& pravidlo = popis.radek;
    if (pravidlo.zaokrouhlitZaklad) ZaokrouhliKrok(p.PC_Zakl, kroky.polozky);
    if (pravidlo.zaokrouhlitNetto) ZaokrouhliKrok(p.PC_Netto, kroky.polozky);
    const Decimal q = p.Mnozstvi;
    const bool deli = deliFaktorem(pravidlo.deleni, druh);

    Decimal castka = q * p.PC_Netto;
    if (deli) castka = naFaktor(castka, p.Faktor, krokRadku(pravidlo.krokDeleni, druh, kroky));
    ZaokrouhliKrok(castka, krokRadku(pravidlo.konecnyKrok, druh, kroky));
    p.PC_NettoC = castka;

    switch (pravidlo.cizi) {
    case CiziRadek::Zadny:
        break;
    case CiziRadek::KrokCizi:
        p.Cena_CiziC = naFaktor(q * p.Cena_Cizi, p.Faktor, kroky.cizi);
        ZaokrouhliKrok(p.Cena_CiziC, kroky.cizi);
        break;
    case CiziRadek::DeleniPolozky:
        p.Cena_CiziC = q * p.Cena_Cizi;
        if (deli) p.Cena_CiziC = naFaktor(p.Cena_CiziC, p.Faktor, kroky.polozky);
        break;
    }
}

void PrepocetPolozky(const PopisDokladu& popis, DruhCeny druh, PolozkaCeny& p,
                     const TextyPolozky& t, const KrokyDokladu& kroky) {
    p.Mnozstvi = TextNaCastku(t.Mnozstvi);
    p.PC_Zakl = TextNaCastku(t.PC_Zakl);
    p.PC_Netto = TextNaCastku(t.PC_Netto);
    p.Cena_Cizi = TextNaCastku(t.Cena_Cizi);
    PrepocetPolozky(popis, druh, p, kroky);
}

void PredUlozenimPolozky(const PopisDokladu& popis, PolozkaCeny& p, const HlavickaProCeny& h,
                         const Vyrobek* v, Decimal q0, const KrokyDokladu& kroky,
                         KurzovniListek& kurzy, ZpravyCeny& zpravy) {
    const bool mena = popis.maMenu() && !h.Kod_Meny.isEmpty();
    if (popis.upravy.ulozeniZeCizi && mena && !p.Cena_Cizi.isZero())
        p.PC_Zakl = PrevodNaTuzemskou(kurzy, h.Kod_Meny, p.Cena_Cizi, h.Dat_Pln, zpravy);
    if (popis.upravy.ulozeniRabatu) {
        if (v && q0 != p.Mnozstvi) {
            const Decimal pred = MnozstevniRabat(popis, v, q0, zpravy);
            const Decimal po = MnozstevniRabat(popis, v, p.Mnozstvi, zpravy);
            p.Rabat = p.Rabat - pred + po;
        } else if (!v) {
            zpravy.push_back({DruhZpravyCeny::VyrobekNenalezenRabat, {}, {}});
        }
        p.PC_Netto = CenaPoSleve(kroky.zaokrCen, p.Rabat, p.PC_Zakl);
    }
    if (popis.upravy.ulozeniCizi && mena)
        p.Cena_Cizi = PrevodNaCiziMenu(kurzy, h.Kod_Meny, p.PC_Netto, h.Dat_Vystav, zpravy);
    PrepocetPolozky(popis, h.druhCeny, p, kroky);
}

} // namespace brix
