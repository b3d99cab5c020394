#include "nabidka.h"

#include "datacis.h"
#include "table.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"

namespace brix {

namespace {

// The customer's class and currency.
struct Zakaznik {
    std::optional<int> obor;
    QString mena;
};

std::optional<Zakaznik> zakaznik(TDataCis& dm, qint64 cislo) {
    if (!dm.TableFir) return std::nullopt;
    Table t(dm.database(), dm.TableFir->def().address());
    t.setIndexName(QString());
    t.open();
    if (!t.findKey({cislo})) return std::nullopt;
    Zakaznik z;
    if (!t.field(QStringLiteral("Cis_obor")).isNull())
        z.obor = int(t.field(QStringLiteral("Cis_obor")).asInteger());
    z.mena = OrizniVpravo(t.field(QStringLiteral("Kod_Meny")).asString()).trimmed();
    return z;
}

QString prvniSklad(TDataCis& dm) {
    if (!dm.TableSklady) return {};
    Table t(dm.database(), dm.TableSklady->def().address());
    t.setIndexName(QString());
    t.open();
    t.first();
    return t.hasRecord() ? OrizniVpravo(t.field(QStringLiteral("Cis_Sklad")).asString())
                         : QString();
}

} // namespace

VysledekNabidky Nabidka(CenyDataCis& ceny, const ZadaniNabidky& zadani,
                        const std::vector<RadekNabidky>& radky,
                        const std::function<void(const PolozkaNabidky&)>& poPolozce) {
    VysledekNabidky v;
    const PopisDokladu& popis = *zadani.popis;
    TDataCis& dm = ceny.dataModul();

    // The header of a new document.
    ZpravyCeny zpravy;
    v.kroky.zaokrCen = v.kroky.polozky = nastaveniProgramu().ZaokrCen;
    const NastaveniZaokrouhleni n = NastavZaokrouhleni(
        popis, ceny.druhUctu(popis, zadani.druh, popis.typUctu), QString(), v.kroky, zpravy);
    UkazZpravyCeny(zpravy);
    HlavickaProCeny& h = v.hlavicka;
    h.druhCeny = druhCenyDokladu(popis, n.druhCeny);
    h.Zp_Rabat = QStringLiteral("RS");
    h.Dat_Vystav = h.Dat_Pln = zadani.datum;
    h.Cis_Sklad = prvniSklad(dm);
    if (popis.oborNoveHlavicky > 0) h.Cis_Obor = popis.oborNoveHlavicky;
    if (zadani.firma) {
        h.Cis_Firmy = zadani.firma;
        if (const std::optional<Zakaznik> z = zakaznik(dm, *zadani.firma)) {
            h.Cis_Obor = z->obor;
            if (popis.maMenu()) h.Kod_Meny = z->mena;
        } else {
            v.chyby << QStringLiteral("zákazník %1 nenalezen").arg(*zadani.firma);
        }
    }
    if (zadani.mena && popis.maMenu()) h.Kod_Meny = OrizniVpravo(*zadani.mena).trimmed();
    if (popis.maMenu()) v.kroky.cizi = KrokCiziMeny(ceny, h.Kod_Meny, h.Dat_Pln);

    // The lines, each as an entry form prices a new item.
    SoucetDokladu soucet(popis, castkySDPH(popis, h.druhCeny));
    int porCis = 0;
    for (const RadekNabidky& r : radky) {
        const std::optional<Vyrobek> vyrobek = ceny.vyrobekDleKlice(r.klic);
        if (!vyrobek) {
            v.chyby << QStringLiteral("řádek %1: výrobek %2 nenalezen").arg(r.radek).arg(r.klic);
            continue;
        }
        PolozkaNabidky p;
        p.porCis = ++porCis;
        p.klic = r.klic;
        ceny.NactiVyrobek(popis, *vyrobek, h, p.polozka, v.kroky, &p.postup);
        PodilPolozky pamet;
        soucet.PrepocetHlavicky(pamet, p.polozka.podil(), v.kroky.hlavicky);
        pamet = p.polozka.podil();
        zpravy.clear();
        ZmenaMnozstvi(popis, p.polozka, h, &*vyrobek, Decimal(), r.mnozstvi, v.kroky, zpravy,
                      &p.postup);
        // Saved: the quantity left already, so the rebate stays; the foreign price follows.
        PredUlozenimPolozky(popis, p.polozka, h, &*vyrobek, r.mnozstvi, v.kroky, ceny, zpravy);
        UkazZpravyCeny(zpravy);
        v.soucty = soucet.PrepocetHlavicky(pamet, p.polozka.podil(), v.kroky.hlavicky);
        if (poPolozce) poPolozce(p);
        v.polozky.push_back(std::move(p));
    }
    v.soucty = soucet.hlavicka(v.kroky.hlavicky);
    return v;
}

} // namespace brix
