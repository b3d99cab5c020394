#include "ceny_vyrobku.h"

#include "util/numeric.h"

#include <algorithm>
#include <cmath>

namespace brix {

namespace {

const Decimal kSto(100);
const Decimal kJedna(1);
const Decimal kSetina = Decimal::fromRaw(Decimal::kScale / 100);
const Decimal kDesetina = Decimal::fromRaw(Decimal::kScale / 10);
const Decimal k999(999);
const Decimal kMinus99999 = Decimal::fromRaw(-9999900); // -999.99

Decimal krok(Decimal x, Decimal s) {
    ZaokrouhliKrok(x, s);
    return x;
}

// A formula whose divisor turned out 0 (also one rounded to 0 on the way) has no value.
template <class F> std::optional<Decimal> bezNuly(F vzorec) {
    try {
        return vzorec();
    } catch (const DivisionByZero&) {
        return std::nullopt;
    }
}

const char* const kNazvy[kPocetPoliCeny] = {"NC_Netto",  "NC_Zahr",    "Min_Marze", "PC_Min",
                                            "Kalk_Prir", "PC_Zakl",    "MO_Marze",  "MO_Cena",
                                            "DPH",       "Faktor_Bal", "CenaZa",    "PC_Rab1",
                                            "PC_Rab2",   "PC_Rab3",    "Objem",     "Spotr_Dan"};

} // namespace

QString nazevPoleCeny(PoleCeny p) {
    return QString::fromLatin1(kNazvy[int(p)]);
}

bool jePoleSPravidlemUlozeni(PoleCeny p) {
    switch (p) {
    case PoleCeny::NC_Netto:
    case PoleCeny::NC_Zahr:
    case PoleCeny::Min_Marze:
    case PoleCeny::PC_Min:
    case PoleCeny::Kalk_Prir:
    case PoleCeny::PC_Zakl:
    case PoleCeny::MO_Marze:
    case PoleCeny::MO_Cena:
        return true;
    default:
        return false;
    }
}

// ---- the formulas ---------------------------------------------------------------------------

namespace ceny {

std::optional<Decimal> CenaVOzPrirazky(Decimal nc, Decimal f, Decimal cz, Decimal kalkPrir,
                                       Decimal s) {
    if (f.isZero()) return std::nullopt;
    return bezNuly([&] { return krok(nc / f * (kJedna + kalkPrir / kSto) * cz, s); });
}

Decimal PrirazkaVOzCeny(Decimal pcZakl, Decimal nc, Decimal f, Decimal cz) {
    if (nc.isZero() || f.isZero() || cz.isZero()) return Decimal();
    return bezNuly([&] { return krok(pcZakl * f / (nc * cz) * kSto - kSto, kSetina); })
        .value_or(Decimal());
}

std::optional<Decimal> UrciMOCenu(Decimal nc, Decimal f, Decimal cz, Decimal moMarze, Decimal dph) {
    if (f.isZero()) return std::nullopt;
    return bezNuly([&] {
        return krok(nc / f * (kJedna + moMarze / kSto) * (kJedna + dph / kSto) * cz, kDesetina);
    });
}

Decimal MarzeMOzCeny(Decimal moCena, Decimal nc, Decimal f, Decimal cz, Decimal dph) {
    if (moCena.isZero() || nc.isZero()) return k999;
    if (f.isZero() || cz.isZero()) return Decimal();
    return bezNuly([&] {
               return krok((moCena / cz / (kJedna + dph / kSto) / (nc / f) - kJedna) * kSto,
                           kSetina);
           })
        .value_or(Decimal());
}

std::optional<Decimal> MinimalniPC(Decimal nc, Decimal f, Decimal cz, Decimal minMarze, Decimal s) {
    if (f.isZero()) return std::nullopt;
    return bezNuly([&] { return krok(nc / f * cz * (kJedna + minMarze / kSto), s); });
}

Decimal MinMarzeZPC(Decimal pcMin, Decimal nc, Decimal f, Decimal cz) {
    if (nc.isZero() || f.isZero() || cz.isZero()) return Decimal();
    return bezNuly([&] { return krok(pcMin / cz / (nc / f) * kSto - kSto, kSetina); })
        .value_or(Decimal());
}

Decimal MarzeZMO(Decimal moCena, Decimal nc, Decimal dph) {
    if (nc.isZero()) return k999;
    if (moCena.isZero()) return kMinus99999;
    return bezNuly(
               [&] { return krok((moCena / (kJedna + dph / kSto) - nc) / moCena * kSto, kSetina); })
        .value_or(Decimal());
}

Decimal SazbaCla(const TarifCla& t) {
    Decimal d = t.Clo;
    if (t.Sleva_Eur) d = d * (kSto - t.Sazba_EUR) / kSto;
    ZaokrouhliDolu(d, kSetina); // truncated, not rounded
    return d;
}

} // namespace ceny

// ---- the engine -----------------------------------------------------------------------------

CenyVyrobku::CenyVyrobku(ZdrojeCen zdroje, Decimal zaokrCen, QVector<Decimal> sazbyDPH)
    : zdroje_(std::move(zdroje)), s_(zaokrCen), sazby_(std::move(sazbyDPH)) {}

void CenyVyrobku::nastav(PoleCeny p, std::optional<Decimal> v) {
    v_[int(p)] = v;
    priVstupu_[int(p)] = v;
    psano_[int(p)] = false;
}

void CenyVyrobku::psani(PoleCeny p, std::optional<Decimal> v) {
    v_[int(p)] = v;
    psano_[int(p)] = true;
}

ReakceCen CenyVyrobku::vstup(PoleCeny p) {
    priVstupu_[int(p)] = v_[int(p)];
    psano_[int(p)] = false;
    ReakceCen r;
    if (p == PoleCeny::NC_Zahr && kodMeny_.isEmpty()) r.fokus = PoleCeny::NC_Netto;
    return r;
}

void CenyVyrobku::CenaVOzPrirazky() {
    if (auto v = ceny::CenaVOzPrirazky(NC(), F(), CZ(), cislo(PoleCeny::Kalk_Prir), s_))
        v_[int(PoleCeny::PC_Zakl)] = *v;
}

void CenyVyrobku::PrirazkaVOzCeny() {
    v_[int(PoleCeny::Kalk_Prir)] = ceny::PrirazkaVOzCeny(cislo(PoleCeny::PC_Zakl), NC(), F(), CZ());
}

void CenyVyrobku::UrciMOCenu() {
    if (auto v = ceny::UrciMOCenu(NC(), F(), CZ(), cislo(PoleCeny::MO_Marze), D()))
        v_[int(PoleCeny::MO_Cena)] = *v;
}

void CenyVyrobku::MarzeMOzCeny() {
    v_[int(PoleCeny::MO_Marze)] =
        ceny::MarzeMOzCeny(cislo(PoleCeny::MO_Cena), NC(), F(), CZ(), D());
}

void CenyVyrobku::MinimalniCena() {
    if (auto v = ceny::MinimalniPC(NC(), F(), CZ(), cislo(PoleCeny::Min_Marze), s_))
        v_[int(PoleCeny::PC_Min)] = *v;
}

Decimal CenyVyrobku::marzeZMO() const {
    return ceny::MarzeZMO(cislo(PoleCeny::MO_Cena), NC(), D());
}

Decimal CenyVyrobku::NajdiNejnRabat() const {
    if (!rabSkup_ || !zdroje_.nejvyssiRabat) return Decimal();
    return zdroje_.nejvyssiRabat(*rabSkup_);
}

Decimal CenyVyrobku::nejvyssiMnozstevniRabat() const {
    Decimal q;
    for (PoleCeny p : {PoleCeny::PC_Rab1, PoleCeny::PC_Rab2, PoleCeny::PC_Rab3})
        if (v_[int(p)]) q = std::max(q, *v_[int(p)]);
    return q;
}

// NC_Netto: the minimum price, then the question: the prices follow the markups (Yes) or the
// markups the prices (No).
ReakceCen CenyVyrobku::pravidloNC() {
    MinimalniCena();
    const bool ceny = zdroje_.otazka && zdroje_.otazka(QString::fromUtf16(kOtazkaPrepocetNC));
    if (ceny) {
        CenaVOzPrirazky();
        UrciMOCenu();
    } else {
        PrirazkaVOzCeny();
        MarzeMOzCeny();
    }
    ReakceCen r;
    r.fokus = PoleCeny::PC_Min;
    r.vybrat = true;
    return r;
}

// NC_Zahr: the purchase price in the home currency with the duty and the excise of the tariff.
// A purchase price changed so goes on as a purchase price typed (its rule and question), so
// that the prices and markups are never left apart.
ReakceCen CenyVyrobku::pravidloNCZahr() {
    Decimal d, e;
    if (!celniSazba_.isEmpty() && zdroje_.tarif)
        if (const std::optional<TarifCla> t = zdroje_.tarif(celniSazba_)) {
            d = ceny::SazbaCla(*t);
            e = t->Spotr_Dan;
        }
    Decimal p;
    if (v_[int(PoleCeny::NC_Zahr)] && zdroje_.prevod)
        p = zdroje_.prevod(kodMeny_, *v_[int(PoleCeny::NC_Zahr)],
                           zdroje_.dnes ? zdroje_.dnes() : QDate::currentDate());
    const std::optional<Decimal> puvodni = v_[int(PoleCeny::NC_Netto)];
    const Decimal nc = krok(p * (kSto + d) / kSto + e, s_);
    v_[int(PoleCeny::NC_Netto)] = nc;
    if (puvodni.value_or(Decimal()) == nc) return {};
    return pravidloNC();
}

ReakceCen CenyVyrobku::odchod(PoleCeny p) {
    ReakceCen r;
    switch (p) {
    case PoleCeny::NC_Netto:
        return pravidloNC();
    case PoleCeny::NC_Zahr:
        return pravidloNCZahr();
    case PoleCeny::Min_Marze:
        MinimalniCena();
        break;
    case PoleCeny::PC_Min: {
        Decimal pc = krok(cislo(PoleCeny::PC_Min), s_);
        v_[int(PoleCeny::PC_Min)] = pc;
        if (pc.isZero()) MinimalniCena();
        v_[int(PoleCeny::Min_Marze)] = ceny::MinMarzeZPC(cislo(PoleCeny::PC_Min), NC(), F(), CZ());
        break;
    }
    case PoleCeny::Kalk_Prir: {
        const std::optional<Decimal> v =
            ceny::CenaVOzPrirazky(NC(), F(), CZ(), cislo(PoleCeny::Kalk_Prir), s_);
        if (!v) break;
        const bool blizko = (*v - cislo(PoleCeny::PC_Zakl)).abs() <= kDesetina;
        if (zmenenoOdVstupu(p) || !blizko) v_[int(PoleCeny::PC_Zakl)] = *v;
        break;
    }
    case PoleCeny::PC_Zakl:
        PrirazkaVOzCeny();
        break;
    case PoleCeny::MO_Marze:
        if (psano_[int(p)] && zmenenoOdVstupu(p)) UrciMOCenu();
        break;
    case PoleCeny::MO_Cena:
        MarzeMOzCeny();
        break;
    case PoleCeny::DPH:
        if (!v_[int(p)] || !sazby_.contains(*v_[int(p)])) {
            r.zprava = QString::fromUtf16(kPolozkaZeSeznamu);
            r.pip = true;
        }
        // The retail price stays; its markup follows the new rate.
        if (zmenenoOdVstupu(p)) MarzeMOzCeny();
        break;
    case PoleCeny::Faktor_Bal:
    case PoleCeny::CenaZa:
        // Another pack factor or price quantity: the prices stay, their markups follow.
        if (zmenenoOdVstupu(p)) {
            PrirazkaVOzCeny();
            MarzeMOzCeny();
        }
        break;
    default:
        break;
    }
    priVstupu_[int(p)] = v_[int(p)];
    psano_[int(p)] = false;
    return r;
}

bool CenyVyrobku::odchodCelniSazby() {
    if (celniSazba_.isEmpty() || !zdroje_.tarif) return true;
    const std::optional<TarifCla> t = zdroje_.tarif(celniSazba_);
    if (!t) return false;
    v_[int(PoleCeny::Spotr_Dan)] = t->Spotr_Dan;
    return true;
}

ReakceCen CenyVyrobku::PrepocetPC() {
    ReakceCen r;
    if (!zdroje_.otazka || !zdroje_.otazka(QString::fromUtf16(kOtazkaPrepocetPC))) return r;
    const Decimal g = NajdiNejnRabat();
    const Decimal q = nejvyssiMnozstevniRabat();
    const Decimal rabat = g + q;
    if (rabat >= kSto) {
        r.zprava = QString::fromUtf16(kSlevyNad100);
        r.odmitnuto = true;
        return r;
    }
    const Decimal pcZakl = krok(cislo(PoleCeny::PC_Min) * kSto / (kSto - rabat), s_);
    v_[int(PoleCeny::PC_Zakl)] = pcZakl;
    const Decimal nc = NC(), f = F(), cz = CZ(), d = D();
    v_[int(PoleCeny::Kalk_Prir)] =
        f.isZero() || nc.isZero() || cz.isZero()
            ? Decimal()
            : bezNuly([&] {
                  return krok(pcZakl / cz / (nc / f) * kSto - kSto, kSetina);
              }).value_or(Decimal());
    const Decimal m = pcZakl * (kJedna + d / kSto);
    if (nc.isZero())
        v_[int(PoleCeny::MO_Marze)] = k999;
    else if (f.isZero() || cz.isZero())
        v_[int(PoleCeny::MO_Marze)] = Decimal();
    else
        v_[int(PoleCeny::MO_Marze)] =
            bezNuly([&] {
                return krok(m / cz / (kJedna + d / kSto) / (nc / f) * kSto - kSto, kSetina);
            }).value_or(Decimal());
    v_[int(PoleCeny::MO_Cena)] = krok(m, s_);
    return r;
}

KontrolaCen CenyVyrobku::ClickKontrolaCen() const {
    KontrolaCen k;
    k.voCena = cislo(PoleCeny::PC_Zakl);
    k.moCena = bezNuly([&] {
                   return cislo(PoleCeny::MO_Cena) / (kJedna + D() / kSto);
               }).value_or(Decimal());
    ZaokrouhliDolu(k.moCena, kDesetina);
    k.maxRabat = NajdiNejnRabat();
    k.maxMnRabat = nejvyssiMnozstevniRabat();
    const Decimal podil = kSto - k.maxRabat - k.maxMnRabat;
    k.nejnizsiVO = krok(podil * k.voCena / kSto, s_);
    k.nejnizsiMO = krok(podil * k.moCena / kSto, s_);
    k.zadanaMinPC = cislo(PoleCeny::PC_Min);
    k.voPodMinimem = k.nejnizsiVO < k.zadanaMinPC;
    k.moPodMinimem = k.nejnizsiMO < k.zadanaMinPC;
    return k;
}

ReakceCen CenyVyrobku::kontrolaUlozeni(std::optional<PoleCeny> fokus) {
    ReakceCen r;
    if (fokus && jePoleSPravidlemUlozeni(*fokus)) r = odchod(*fokus);
    r.fokus.reset();
    r.vybrat = false;
    if (v_[int(PoleCeny::Spotr_Dan)] && !v_[int(PoleCeny::Objem)]) {
        r.zprava = QString::fromUtf16(kSpotrDanBezObjemu);
        r.odmitnuto = true;
        r.fokus = PoleCeny::Objem;
        return r;
    }
    if (F() <= Decimal() || CZ() <= Decimal()) {
        r.zprava = QString::fromUtf16(kFaktorACenaZa);
        r.odmitnuto = true;
        r.fokus = F() <= Decimal() ? PoleCeny::Faktor_Bal : PoleCeny::CenaZa;
    }
    return r;
}

std::optional<CenyVyrobku::Soulad> CenyVyrobku::kontrolaSouladuMO(Decimal krokMO) const {
    const Decimal nc = NC(), f = F(), cz = CZ(), d = D();
    if (nc.isZero() || f.isZero() || cz.isZero() || cislo(PoleCeny::MO_Cena).isZero() ||
        (kJedna + d / kSto).isZero())
        return std::nullopt;
    const std::optional<Decimal> mo = ceny::UrciMOCenu(nc, f, cz, cislo(PoleCeny::MO_Marze), d);
    const double q = std::abs((nc / f).toDouble());
    if (!mo || q == 0) return std::nullopt; // NC / F rounds to nothing: no relation to keep
    const double zaklad = std::abs(q * cz.toDouble() * (1 + d.toDouble() / 100));
    const double cena = std::abs(cislo(PoleCeny::MO_Cena).toDouble());
    // Half a retail step; the markup's step of 0.005 % and the four-place rounding of NC / F,
    // which both formulas carry over relative to it, on the base and on the price.
    const double relativne = 0.0001 + 0.0002 / q;
    const double mez = krokMO.toDouble() / 2 + (zaklad + cena) * relativne + 0.001;
    return Soulad{(*mo - cislo(PoleCeny::MO_Cena)).abs(), Decimal::fromDouble(mez)};
}

} // namespace brix
