// Random sequences of what users do with stock documents, with every stock invariant checked
// after each step: new receipts, issues, transfers and goods received; items added, changed,
// moved and deleted; documents deleted, closed, altered in the tables and closed again,
// reversed. Six products (5 is not a stock item, 6 does not exist) in three warehouses, with
// reservations on and off. A failure names the seed and the steps that led to it.
#include "sklad_fixture.h"

#include <QElapsedTimer>

#include <random>

namespace brix::test {
namespace {

const RodinaDokladu& P = RodinaDokladu::prijemka();
const RodinaDokladu& V = RodinaDokladu::vydejka();
const RodinaDokladu& Z = RodinaDokladu::dodavka();

constexpr int kSekvenci = 3000;
constexpr int kKroku = 40;

struct Doklad {
    const RodinaDokladu* rodina;
    int cislo;
};

class Vlastnosti : public SkladTest {
protected:
    // Back to a root without documents or stock, the series at 1.
    void vycisti() {
        for (const char* t :
             {"int_ucty_prijem_hla_prij", "int_ucty_prijem_pol_prij", "int_ucty_vydej_hla_vyd",
              "int_ucty_vydej_pol_vyd", "ext_ucty_prijzb_hla_dlp", "ext_ucty_prijzb_pol_dlp",
              "ext_ucty_faprij_hla_fap", "ext_ucty_faprij_pol_fap", "sklady_sklzas",
              "sklady_sklpol"})
            db->exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(t)));
        db->exec("UPDATE ciselnik_vyrobky SET sklzas_ks = 0, sklzas_kc = 0, rezervace = 0, "
                 "disponmn = 0");
        db->exec("UPDATE ciselnik_cis_uctu SET prvcis = 1");
        for (Table* t : dm->tabulky())
            if (t->active()) t->refresh();
    }

    int nahodne(int od, int do_) { return std::uniform_int_distribution<int>(od, do_)(rng_); }
    Decimal castka(int maxCele) {
        // Whole units or hundredths, now and then four places.
        const int mista = nahodne(0, 9) == 0 ? 4 : 2;
        const qint64 delitel = mista == 4 ? 1 : 100;
        return Decimal::fromRaw(qint64(nahodne(0, maxCele * 100 * int(100 / delitel))) * delitel);
    }
    Decimal mnozstvi() {
        if (nahodne(0, 12) == 0) return Decimal(-nahodne(1, 3));
        if (nahodne(0, 8) == 0) return Decimal::fromRaw(nahodne(1, 40) * 2500);
        return Decimal(nahodne(0, 9));
    }
    QString sklad() { return QString::number(nahodne(1, 3)); }

    bool otevreny(const Doklad& d) { return stavDokladu(*d.rodina, d.cislo) != "2"; }

    std::vector<int> polozkyDokladu(const Doklad& d) {
        Table& t = kurzor(d.rodina->polozky);
        t.setRange({d.cislo}, {d.cislo});
        std::vector<int> out;
        for (t.first(); !t.eof() && t.hasRecord(); t.next())
            out.push_back(int(t.field("PorCis").asInteger()));
        return out;
    }

    Polozka nahodnaPolozka(const Doklad& d, int porCis) {
        // Goods received name existing products only (the table refuses others).
        const qint64 vyr = d.rodina == &Z ? nahodne(1, 5) : nahodne(1, 6);
        Polozka p = pol(porCis, vyr, sklad(), mnozstvi(), castka(50), castka(60));
        if (nahodne(0, 6) == 0) p.faktor = Decimal(nahodne(0, 3));
        return p;
    }

    // One random step; answers what it did.
    QString krok() {
        const int volba = nahodne(0, 99);
        if (doklady_.empty() || volba < 12) {
            const int druh = nahodne(0, 3);
            const RodinaDokladu& r = druh == 0 ? P : druh == 3 ? Z : V;
            const bool prevod = druh == 2;
            const int c = doklady->novy(r, prevod, sklad(), nahodne(0, 3) == 0 ? "IP" : "NC");
            doklady_.push_back({&r, c});
            return QStringLiteral("nový %1%2 %3").arg(r.druhUctu).arg(prevod ? "P" : "").arg(c);
        }
        const size_t i = size_t(nahodne(0, int(doklady_.size()) - 1));
        const Doklad d = doklady_[i];
        const QString kdo = QStringLiteral("%1 %2").arg(d.rodina->druhUctu).arg(d.cislo);
        const std::vector<int> polozky = polozkyDokladu(d);
        if (otevreny(d)) {
            if (volba < 45 || polozky.empty()) {
                const int porCis = polozky.empty() ? 1 : polozky.back() + 1;
                doklady->uloz(*d.rodina, d.cislo, nahodnaPolozka(d, porCis));
                return kdo + QStringLiteral(" přidej %1").arg(porCis);
            }
            const int porCis = polozky[size_t(nahodne(0, int(polozky.size()) - 1))];
            if (volba < 58) {
                const Decimal q = mnozstvi();
                const Decimal cena = castka(40);
                doklady->zmen(*d.rodina, d.cislo, porCis, [&](Table& t) {
                    t.field("Mnozstvi").setDecimal(q);
                    const bool z = d.rodina == &Z;
                    t.field(z ? "PC_Netto" : "Cena_Skl").setDecimal(cena);
                    t.field(z ? "PC_NettoC" : "Cena_SklC").setDecimal(q * cena);
                });
                return kdo + QStringLiteral(" změň %1 na %2").arg(porCis).arg(q.toShortString());
            }
            if (volba < 66) {
                const QString s = sklad();
                const qint64 vyr = d.rodina == &Z ? nahodne(1, 5) : nahodne(1, 6);
                doklady->zmen(*d.rodina, d.cislo, porCis, [&](Table& t) {
                    t.field("Cis_Sklad").setString(s);
                    t.field("Cis_Vyr").setInteger(vyr);
                    t.field("Druh_Pol").setString(vyr == 5 ? "T" : "S");
                });
                return kdo + QStringLiteral(" přesuň %1 na %2/%3").arg(porCis).arg(vyr).arg(s);
            }
            if (volba < 74) {
                doklady->smaz(*d.rodina, d.cislo, porCis);
                return kdo + QStringLiteral(" smaž %1").arg(porCis);
            }
            if (volba < 78) {
                doklady->smazDoklad(*d.rodina, d.cislo);
                doklady_.erase(doklady_.begin() + std::ptrdiff_t(i));
                return kdo + QStringLiteral(" smaž doklad");
            }
            const VysledekPohybu v = uzavri(*d.rodina, d.cislo);
            EXPECT_TRUE(v.ok()) << texty(v).join("\n").toStdString();
            return kdo + QStringLiteral(" uzavři");
        }
        // A closed document.
        if (volba < 40 && d.rodina->storno) {
            EXPECT_TRUE(stornuj(*d.rodina, d.cislo).ok());
            return kdo + QStringLiteral(" storno");
        }
        if (volba < 75 && d.rodina->oprava && !polozky.empty()) {
            // The quantities are altered in the tables, then the document is closed again.
            const int porCis = polozky[size_t(nahodne(0, int(polozky.size()) - 1))];
            const Decimal q = mnozstvi();
            doklady->zmen(*d.rodina, d.cislo, porCis,
                          [&](Table& t) { t.field("Mnozstvi").setDecimal(q); });
            const VysledekPohybu v = uzavri(*d.rodina, d.cislo);
            EXPECT_TRUE(v.ok()) << texty(v).join("\n").toStdString();
            return kdo + QStringLiteral(" oprav %1 na %2 a uzavři znovu")
                             .arg(porCis)
                             .arg(q.toShortString());
        }
        const VysledekPohybu v = uzavri(*d.rodina, d.cislo);
        EXPECT_TRUE(v.ok() || v.vysledek == Vysledek::JizUzavren);
        return kdo + QStringLiteral(" uzavři znovu");
    }

    std::mt19937 rng_;
    std::vector<Doklad> doklady_;
};

TEST_F(Vlastnosti, EveryInvariantHoldsAfterEveryStepOfRandomSequences) {
    QElapsedTimer cas;
    cas.start();
    qint64 casKontroly = 0;
    // BRIX_SEED repeats a failed run from its seed, BRIX_SEKVENCI runs more or fewer.
    bool ok = false;
    const unsigned pevny = unsigned(qEnvironmentVariable("BRIX_SEED").toUInt(&ok));
    const unsigned zaklad = ok ? pevny : std::random_device{}();
    const int pocet = qEnvironmentVariableIsSet("BRIX_SEKVENCI")
                          ? qEnvironmentVariableIntValue("BRIX_SEKVENCI")
                      : ok ? 1
                           : kSekvenci;
    for (int s = 0; s < pocet; ++s) {
        const unsigned seed = zaklad + unsigned(s);
        rng_.seed(seed);
        setRezervace(seed % 4 != 3);
        vycisti();
        doklady_.clear();
        QStringList kroky;
        for (int k = 0; k < kKroku; ++k) {
            kroky << krok();
            QElapsedTimer tk;
            tk.start();
            const QStringList rozdily = kontrola();
            casKontroly += tk.nsecsElapsed();
            if (!rozdily.isEmpty() || ::testing::Test::HasFailure()) {
                FAIL() << "BRIX_SEED=" << seed << (nastaveni.rezervace ? "" : " (bez rezervací)")
                       << ", krok " << k + 1 << ":\n  " << kroky.join("\n  ").toStdString()
                       << "\nrozdíly:\n  " << rozdily.join("\n  ").toStdString();
            }
        }
    }
    std::cout << "kontrola " << casKontroly / 1000000 << " ms\n";
    std::cout << pocet << " sekvencí po " << kKroku << " krocích za " << cas.elapsed() << " ms\n";
}

} // namespace
} // namespace brix::test
