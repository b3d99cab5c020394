#include "pravidla_dokladu.h"

#include "datacis.h"
#include "table_rules.h"
#include "util/nastaveni.h"
#include "zasoby.h"

namespace brix::sklad {

namespace {

struct Tabulky {
    const RodinaDokladu& rodina;
    Table* hlavicka;
    Table* polozky;
    Table* varianty;
    ZpusobMazaniPolozek mazani;
    QStringList nulovat; // line totals zeroed before the delete
    bool nulovatVzdy;    // ... also when the item is only browsed (it is put into edit)
};

bool upravovana(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

} // namespace

NastaveniPohybu NastaveniPohybuBehu() {
    NastaveniPohybu n;
    n.rezervace = nastaveniTabulky().REZERVACE;
    n.krokSkladKarty = nastaveniProgramu().Zaokr_SklKar;
    n.kontrolaSkladu = nastaveniProgramu().OkKontrolaSkladu;
    n.klicVyrobku = nastaveniProgramu().HlKlicVyr;
    return n;
}

void InstalujPravidlaSkladovychDokladu(TDataCis& dm, std::function<NastaveniPohybu()> nastaveni) {
    auto kontext = std::make_shared<KontextPohybu>(dm.database(), nastaveni());
    auto aktualni = [kontext, nastaveni]() -> KontextPohybu& {
        kontext->setNastaveni(nastaveni());
        return *kontext;
    };
    const Tabulky rodiny[] = {
        {RodinaDokladu::prijemka(),
         dm.TableHlaPrij,
         dm.TablePolPrij,
         dm.TablePolVarPrij,
         ZpusobMazaniPolozek::Smazat,
         {"Cena_ZobrC", "Cena_SklC"},
         false},
        {RodinaDokladu::vydejka(),
         dm.TableHlaVyd,
         dm.TablePolVyd,
         dm.TablePolVarVyd,
         ZpusobMazaniPolozek::Smazat,
         {"Cena_ZobrC", "Cena_SklC"},
         true},
        {RodinaDokladu::dodavka(),
         dm.TableHlaDLP,
         dm.TablePolDLP,
         dm.TablePolVarDLP,
         ZpusobMazaniPolozek::EditAKSmazat,
         {"DPH", "PC_NettoC", "Cena_CiziC"},
         true},
    };
    for (const Tabulky& t : rodiny) {
        if (!t.polozky) continue;
        const RodinaDokladu* rodina = &t.rodina;
        if (t.hlavicka) kaskadaPredSmazanimHlavicky(*t.hlavicka, *t.polozky, t.mazani);
        predUlozenim(*t.polozky, [rodina, aktualni](Table& p) {
            aktualni().ZmenaRezervacePolozky(*rodina, p, false);
        });
        predSmazanim(*t.polozky, [rodina, aktualni](Table& p) {
            aktualni().ZmenaRezervacePolozky(*rodina, p, true);
        });
        if (Table* varianty = t.varianty)
            predSmazanim(*t.polozky, [varianty](Table& p) {
                smazPodrizene(p, *varianty, QStringLiteral("CIS_UCTU;PorCis"),
                              QStringLiteral("Cis_Uctu;PorCis"));
            });
        predSmazanim(*t.polozky, [pole = t.nulovat, vzdy = t.nulovatVzdy](Table& p) {
            if (vzdy || upravovana(p)) vynulujPole(p, pole);
        });
    }
}

} // namespace brix::sklad
