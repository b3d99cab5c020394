// Random documents of every family: items inserted, edited in quantity, price, rebate and VAT
// rate, deleted, and edits and inserts cancelled, through the item rules and the incremental
// header update. After every step the header equals the one recomputed from the items in any
// order, and a check of it is silent; no rule divides by zero.
#include "ceny_fixture.h"

#include "hlavicka.h"
#include "polozka.h"
#include "util/numeric.h"

#include <algorithm>
#include <random>

using namespace brix;
using brix::test::D;
using brix::test::ZdrojVPameti;

namespace {

const int kSazby[] = {0, 5, 10, 12, 15, 21, 22};
const char* const kFaktory[] = {"1", "1", "1", "4", "10", "0.5", "0"};
const char* const kKroky[] = {"0.01", "0.1", "1", "10"};

class Nahoda {
public:
    explicit Nahoda(unsigned seed) : g_(seed) {}
    int cislo(int od, int po) { return std::uniform_int_distribution<int>(od, po)(g_); }
    template <class T, size_t N> const T& z(const T (&a)[N]) { return a[cislo(0, int(N) - 1)]; }
    Decimal castka(int max) { return Decimal::fromRaw(std::int64_t(cislo(0, max)) * 100); }
    Decimal mnozstvi() {
        // Mostly positive, some returns, some fractions.
        const int q = cislo(-3, 30);
        return cislo(0, 4) == 0 ? Decimal::fromRaw(std::int64_t(q) * 2500) : Decimal(q);
    }
    std::mt19937& g() { return g_; }

private:
    std::mt19937 g_;
};

struct Radek {
    PolozkaCeny ulozena; // as stored
};

class Doklad {
public:
    Doklad(const PopisDokladu& popis, DruhCeny druh, Nahoda& n)
        : popis_(popis), n_(n), soucet_(popis, castkySDPH(popis, druh)) {
        hlavicka_.druhCeny = druh;
        hlavicka_.Zp_Rabat = n.cislo(0, 1) ? QStringLiteral("RS") : QStringLiteral("PS");
        hlavicka_.Rabat = Decimal(n.cislo(0, 15));
        hlavicka_.Cis_Obor = n.cislo(0, 21);
        hlavicka_.Cis_Firmy = 12;
        hlavicka_.Cis_Sklad = QStringLiteral("S1");
        hlavicka_.Dat_Vystav = hlavicka_.Dat_Pln = QDate(2024, 7, 10);
        hlavicka_.Kurs = D("25.1");
        if (popis.maMenu() && n.cislo(0, 2) == 0) hlavicka_.Kod_Meny = QStringLiteral("EUR");
        kroky_.polozky = D(n.z(kKroky));
        kroky_.hlavicky = D(n.z(kKroky));
        kroky_.zaokrCen = D(n.z(kKroky));
        kroky_.cizi = D("0.01");
        zdroj_.kurzy.pridej("EUR", QDate(2024, 1, 1), "25");
        zdroj_.skupina(1, [](int obor) { return Decimal(obor); });
        zdroj_.ceniky[{3, 12}] = {D("77.7"), D("3")};
        zdroj_.zasoby[2] = {D("4"), D("401.2"), D("95")};
    }

    Vyrobek vyrobek() {
        Vyrobek v;
        v.Cis_Vyr = n_.cislo(1, 4);
        v.Nazev = QStringLiteral("Výrobek %1").arg(v.Cis_Vyr);
        v.DPH = Decimal(n_.z(kSazby));
        v.Cis_RabSkp = n_.cislo(0, 3) ? 1 : 2; // group 2 does not exist
        v.PC_Zakl = n_.castka(50000);
        v.MO_Cena = n_.castka(60000);
        v.NC_Netto = n_.castka(40000);
        v.NC_Zahr = n_.castka(2000);
        v.Kod_Meny = QStringLiteral("EUR");
        v.Faktor_Bal = D(n_.z(kFaktory));
        v.CenaZa = D(n_.z(kFaktory));
        v.Vaha = Decimal::fromRaw(n_.cislo(0, 50000));
        v.PC_MnRab1 = Decimal(n_.cislo(0, 10));
        v.PC_Rab1 = Decimal(n_.cislo(0, 10));
        v.Pc_MnRab2 = Decimal(n_.cislo(0, 20));
        v.PC_Rab2 = n_.cislo(0, 5) ? Decimal(n_.cislo(0, 20)) : Decimal(-100);
        v.NC_MnRab1 = Decimal(n_.cislo(0, 10));
        v.NC_Rab1 = Decimal(n_.cislo(0, 10));
        return v;
    }

    // One random step; the header afterwards.
    void krok() {
        const int co = radky_.empty() ? 0 : n_.cislo(0, 9);
        if (co <= 2) {
            vloz(n_.cislo(0, 5) == 0);
        } else if (co <= 7) {
            uprav(n_.cislo(0, 5) == 0);
        } else {
            smaz();
        }
    }

    void over(const std::string& kde) {
        // The header the items give, summed in their order and in reverse.
        SoucetDokladu zPolozek(popis_, soucet_.castkySDPH());
        for (const Radek& r : radky_)
            zPolozek.pridej(r.ulozena.podil());
        const HodnotyHlavicky spravne = zPolozek.hlavicka(kroky_.hlavicky);
        ASSERT_EQ(hlavicka(), spravne) << kde;
        SoucetDokladu obracene(popis_, soucet_.castkySDPH());
        std::vector<Radek> zamichane = radky_;
        std::shuffle(zamichane.begin(), zamichane.end(), n_.g());
        for (const Radek& r : zamichane)
            obracene.pridej(r.ulozena.podil());
        ASSERT_EQ(obracene.hlavicka(kroky_.hlavicky), spravne) << kde;
        const VysledekKontroly k = KontrolaHlavicky(zPolozek, hlavicka(), kroky_.hlavicky);
        ASSERT_FALSE(k.rozdil) << kde << " " << k.text.toStdString();
        // The header's own arithmetic.
        ASSERT_EQ(spravne.Cena_Celk, spravne.Zaklad + spravne.DPH) << kde;
        ASSERT_EQ(spravne.Zaklad, spravne.Zaklad0 + spravne.Zaklad1 + spravne.Zaklad2) << kde;
        ASSERT_EQ(spravne.DPH, spravne.DPH1 + spravne.DPH2) << kde;
        if (popis_.kontrola.zaokrouhlovaciRozdil) {
            Decimal zaokrouhleno = spravne.Cena_Celk;
            ZaokrouhliKrok(zaokrouhleno, kroky_.hlavicky);
            ASSERT_EQ(zaokrouhleno, spravne.Cena_Celk) << kde;
        }
    }

    const HodnotyHlavicky& hlavicka() const { return hlavicka_stav_; }
    size_t pocet() const { return radky_.size(); }

private:
    void zapis(const PodilPolozky& z, const PodilPolozky& na) {
        hlavicka_stav_ = soucet_.PrepocetHlavicky(z, na, kroky_.hlavicky);
    }

    void vloz(bool zrusit) {
        // A new item: the memory is zero.
        PolozkaCeny p;
        PodilPolozky pamet;
        p.Mnozstvi = Decimal();
        const Vyrobek v = vyrobek();
        NactiVyrobek(popis_, v, hlavicka_, p, kroky_, true, zdroj_, zpravy_);
        zapis(pamet, p.podil());
        pamet = p.podil();
        const Decimal q = n_.mnozstvi();
        ZmenaMnozstvi(popis_, p, hlavicka_, &v, Decimal(), q, kroky_, zpravy_);
        zapis(pamet, p.podil());
        pamet = p.podil();
        if (zrusit) {
            // Cancelling a new item: its line and rate become 0 and the update removes it.
            PolozkaCeny nula = p;
            nula.PC_NettoC = nula.Cena_CiziC = nula.DPH = Decimal();
            nula.Mnozstvi = Decimal();
            zapis(pamet, nula.podil());
            return;
        }
        radky_.push_back({p});
        vyrobky_.push_back(v);
    }

    void uprav(bool zrusit) {
        const size_t i = size_t(n_.cislo(0, int(radky_.size()) - 1));
        PolozkaCeny p = radky_[i].ulozena;
        const Vyrobek& v = vyrobky_[i];
        PodilPolozky pamet = p.podil(); // stored when the item went into edit
        switch (n_.cislo(0, 4)) {
        case 0:
            ZmenaMnozstvi(popis_, p, hlavicka_, &v, p.Mnozstvi, n_.mnozstvi(), kroky_, zpravy_);
            break;
        case 1:
            p.PC_Zakl = n_.castka(50000);
            RucniZmenaCeny(popis_, RucniZmena::PC_Zakl, p, hlavicka_, kroky_, zdroj_, zpravy_);
            break;
        case 2:
            p.Rabat = Decimal(n_.cislo(0, 4) ? n_.cislo(0, 30) : 100);
            RucniZmenaCeny(popis_, RucniZmena::Rabat, p, hlavicka_, kroky_, zdroj_, zpravy_);
            break;
        case 3:
            p.PC_Netto = n_.castka(50000);
            RucniZmenaCeny(popis_, RucniZmena::PC_Netto, p, hlavicka_, kroky_, zdroj_, zpravy_);
            break;
        case 4:
            // A rate change moves the item between the buckets.
            p.DPH = Decimal(n_.z(kSazby));
            PrepocetPolozky(popis_, hlavicka_.druhCeny, p, kroky_);
            break;
        }
        zapis(pamet, p.podil());
        pamet = p.podil();
        if (zrusit) {
            // Cancelling an edit: the stored values come back and the update restores them.
            zapis(pamet, radky_[i].ulozena.podil());
            return;
        }
        radky_[i].ulozena = p;
    }

    void smaz() {
        const size_t i = size_t(n_.cislo(0, int(radky_.size()) - 1));
        PodilPolozky pamet = radky_[i].ulozena.podil();
        PolozkaCeny nula = radky_[i].ulozena;
        nula.PC_NettoC = nula.DPH = nula.JHmotnost = Decimal();
        nula.Cena_CiziC = Decimal();
        zapis(pamet, nula.podil());
        radky_.erase(radky_.begin() + std::ptrdiff_t(i));
        vyrobky_.erase(vyrobky_.begin() + std::ptrdiff_t(i));
    }

    const PopisDokladu& popis_;
    Nahoda& n_;
    SoucetDokladu soucet_;
    HlavickaProCeny hlavicka_;
    KrokyDokladu kroky_;
    ZdrojVPameti zdroj_;
    ZpravyCeny zpravy_;
    std::vector<Radek> radky_;
    std::vector<Vyrobek> vyrobky_;
    HodnotyHlavicky hlavicka_stav_;
};

TEST(VlastnostiHlavicky, IncrementalHeaderEqualsTheFullRecomputationAfterEveryStep) {
    const RodinaDokladu rodiny[] = {RodinaDokladu::DodaciList,  RodinaDokladu::FakturaVydana,
                                    RodinaDokladu::Pokladna,    RodinaDokladu::ObjednavkaPrijata,
                                    RodinaDokladu::PrijemZbozi, RodinaDokladu::ObjednavkaVydana};
    const DruhCeny druhy[] = {DruhCeny::VO, DruhCeny::MO, DruhCeny::NC, DruhCeny::IP};
    int kroku = 0;
    for (unsigned seed = 1; seed <= 10; ++seed)
        for (RodinaDokladu r : rodiny)
            for (DruhCeny d : druhy) {
                const PopisDokladu& popis = popisDokladu(r);
                Nahoda n(seed * 97 + unsigned(r) * 13 + unsigned(d));
                Doklad doklad(popis, druhCenyDokladu(popis, textDruhuCeny(d)), n);
                for (int k = 0; k < 100; ++k) {
                    ASSERT_NO_THROW(doklad.krok());
                    doklad.over(popis.typUctu.toStdString() + " " + textDruhuCeny(d).toStdString() +
                                " seed " + std::to_string(seed) + " step " + std::to_string(k));
                    if (::testing::Test::HasFatalFailure()) return;
                    ++kroku;
                }
            }
    EXPECT_EQ(kroku, 10 * 6 * 4 * 100);
}

} // namespace
