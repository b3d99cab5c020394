// Sales pricing: 100,000 items priced by the engine (the product chosen, the quantity rebate,
// the line amounts, the incremental header), the full check of a 1,000-item document, and
// 10,000 items' value records read through the adapter (product by key, rebate group, customer
// price, rate record) against raw SQLite doing the same four keyed reads with prepared
// statements in the same process.
#include "ceny_datacis.h"
#include "datacis.h"
#include "hlavicka.h"
#include "polozka.h"
#include "table.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <random>
#include <vector>

using namespace brix;

namespace {

constexpr int kVyrobku = 2000;
constexpr int kSkupin = 20;
constexpr int kFirma = 5;

Decimal d(double v) {
    return Decimal::fromDouble(v);
}

// ---- the engine alone ----------------------------------------------------------------------

class ZdrojVPameti : public ZdrojCen {
public:
    ZdrojVPameti() {
        for (int s = 0; s < kSkupin; ++s) {
            skupiny_[s].Cis_RabSkup = s + 1;
            for (int n = 0; n < 20; ++n)
                skupiny_[s].Rabat[n] = Decimal(n % 10 + s % 5);
        }
        kurs_.KOD_Meny = QStringLiteral("EUR");
        kurs_.Kurs = d(25.2);
        kurs_.Koef = Decimal(1);
        kurs_.Zaokr = d(0.01);
        kurs_.Kurs_EUR = Decimal(1);
    }
    std::optional<KursMeny> kurs(const QString&, const QDate&) override { return kurs_; }
    std::optional<RabatniSkupina> rabatniSkupina(int cislo) override {
        if (cislo < 1 || cislo > kSkupin) return std::nullopt;
        return skupiny_[cislo - 1];
    }
    std::optional<CenaZakaznika> cenaZakaznika(qint64 cisVyr, qint64) override {
        if (cisVyr % 3) return std::nullopt;
        return CenaZakaznika{Decimal(100), Decimal(4)};
    }
    ZasobaProCenu zasoba(qint64, const QString&) override { return {}; }

private:
    RabatniSkupina skupiny_[kSkupin];
    KursMeny kurs_;
};

std::vector<Vyrobek> vyrobky() {
    std::vector<Vyrobek> v(kVyrobku);
    const int sazby[] = {21, 12, 0, 21};
    for (int i = 0; i < kVyrobku; ++i) {
        Vyrobek& x = v[i];
        x.Cis_Vyr = i + 1;
        x.Nazev = QStringLiteral("Výrobek %1").arg(i + 1);
        x.ObjCis = QStringLiteral("V-%1").arg(i + 1);
        x.DruhMn = QStringLiteral("ks");
        x.Druh_Pol = QStringLiteral("S");
        x.DPH = Decimal(sazby[i % 4]);
        x.Cis_RabSkp = i % (kSkupin + 1) + 1; // every 21st group is missing
        x.PC_Zakl = Decimal::fromRaw(1000000 + i * 137);
        x.MO_Cena = Decimal::fromRaw(1500000 + i * 171);
        x.CenaZa = Decimal(i % 7 ? 1 : 10);
        x.Faktor_Bal = Decimal(1);
        x.Vaha = d(0.9);
        x.PC_MnRab1 = Decimal(10);
        x.PC_Rab1 = Decimal(3);
        x.Pc_MnRab2 = Decimal(50);
        x.PC_Rab2 = Decimal(5);
    }
    return v;
}

void cenyPolozek(benchmark::State& state, RodinaDokladu rodina, bool mena) {
    const PopisDokladu& popis = popisDokladu(rodina);
    const std::vector<Vyrobek> vs = vyrobky();
    ZdrojVPameti zdroj;
    constexpr int kPolozek = 100000;
    std::mt19937 rnd(3);
    std::vector<std::pair<int, Decimal>> radky(kPolozek);
    for (auto& r : radky)
        r = {int(rnd() % kVyrobku), Decimal(int(rnd() % 60) + 1)};
    KrokyDokladu kroky;
    kroky.polozky = d(0.01);
    kroky.hlavicky = Decimal(1);
    for (auto _ : state) {
        HlavickaProCeny h;
        h.druhCeny = DruhCeny::VO;
        h.Zp_Rabat = QStringLiteral("RS");
        h.Cis_Obor = 3;
        h.Cis_Firmy = kFirma;
        h.Dat_Vystav = h.Dat_Pln = QDate(2024, 7, 10);
        if (mena) h.Kod_Meny = QStringLiteral("EUR");
        SoucetDokladu soucet(popis);
        ZpravyCeny zpravy;
        HodnotyHlavicky hlavicka;
        for (const auto& [i, q] : radky) {
            PolozkaCeny p;
            NactiVyrobek(popis, vs[i], h, p, kroky, true, zdroj, zpravy);
            hlavicka = soucet.PrepocetHlavicky({}, p.podil(), kroky.hlavicky);
            const PodilPolozky pamet = p.podil();
            ZmenaMnozstvi(popis, p, h, &vs[i], Decimal(), q, kroky, zpravy);
            hlavicka = soucet.PrepocetHlavicky(pamet, p.podil(), kroky.hlavicky);
            zpravy.clear();
        }
        benchmark::DoNotOptimize(hlavicka);
    }
    state.SetItemsProcessed(state.iterations() * kPolozek);
}

void BM_CenyPolozek_DodaciList(benchmark::State& state) {
    cenyPolozek(state, RodinaDokladu::DodaciList, false);
}
void BM_CenyPolozek_FakturaVEurech(benchmark::State& state) {
    cenyPolozek(state, RodinaDokladu::FakturaVydana, true);
}

void BM_KontrolaHlavicky_1000Polozek(benchmark::State& state) {
    const PopisDokladu& popis = popisDokladu(RodinaDokladu::DodaciList);
    std::vector<PodilPolozky> polozky(1000);
    std::mt19937 rnd(5);
    const int sazby[] = {0, 5, 10, 12, 15, 21, 22};
    for (PodilPolozky& p : polozky)
        p = {Decimal::fromRaw(std::int64_t(rnd() % 10000000)), Decimal(), d(1.5), sazby[rnd() % 7]};
    SoucetDokladu vzor(popis);
    for (const PodilPolozky& p : polozky)
        vzor.pridej(p);
    const HodnotyHlavicky ulozena = vzor.hlavicka(Decimal(1));
    for (auto _ : state) {
        SoucetDokladu s(popis);
        for (const PodilPolozky& p : polozky)
            s.pridej(p);
        const VysledekKontroly k = KontrolaHlavicky(s, ulozena, Decimal(1));
        if (k.rozdil) state.SkipWithError("the header differs");
        benchmark::DoNotOptimize(k);
    }
}

// ---- the adapter against raw SQLite ----------------------------------------------------------

struct Koren {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<TDataCis> dm;
    std::vector<qint64> klice; // the items' products

    Koren() {
        db = Database::open(dir.path());
        dm = std::make_unique<TDataCis>(*db);
        Database::Transaction tx(*db);
        Table vyr(*db, QStringLiteral("Ciselnik\\Vyrobky"));
        vyr.open();
        for (int i = 1; i <= kVyrobku; ++i) {
            vyr.insert();
            vyr.field("Cis_vyr").setInteger(i);
            vyr.field("ObjCis").setString(QStringLiteral("V-%1").arg(i));
            vyr.field("Nazev").setString(QStringLiteral("Výrobek %1").arg(i));
            vyr.field("Druh_Pol").setString(QStringLiteral("S"));
            vyr.field("DPH").setFloat(21);
            vyr.field("Faktor_Bal").setInteger(1);
            vyr.field("Cis_Firmy").setInteger(1);
            vyr.field("Cis_RabSkp").setInteger(i % kSkupin + 1);
            vyr.field("PC_Zakl").setFloat(100 + i * 0.37);
            vyr.field("CenaZa").setFloat(1);
            vyr.post();
        }
        Table rab(*db, QStringLiteral("Ciselnik\\RabSkup"));
        rab.open();
        for (int s = 1; s <= kSkupin; ++s) {
            rab.insert();
            rab.field("Cis_RabSkup").setInteger(s);
            for (int n = 1; n <= 20; ++n)
                rab.field(QStringLiteral("Rabat%1").arg(n)).setFloat(n % 10);
            rab.post();
        }
        Table cenik(*db, QStringLiteral("Ciselnik\\Cenik_Zak"));
        cenik.open();
        for (int i = 3; i <= kVyrobku; i += 3)
            for (int f : {kFirma, 7, 9}) {
                cenik.insert();
                cenik.field("Cis_Vyr").setInteger(i);
                cenik.field("Cis_Firmy").setInteger(f);
                cenik.field("PC_ZAKL").setFloat(90 + i * 0.3);
                cenik.post();
            }
        Table meny(*db, QStringLiteral("Ciselnik\\Meny"));
        meny.open();
        for (const char* kod : {"EUR", "USD", "GBP"})
            for (int m = 1; m <= 12; ++m) {
                meny.insert();
                meny.field("Platnost_Od").setDate(QDate(2024, m, 1));
                meny.field("KOD_Meny").setString(QString::fromLatin1(kod));
                meny.field("Kurs").setFloat(25 + m * 0.1);
                meny.field("Koef").setFloat(1);
                meny.field("Zaokr").setFloat(0.01);
                meny.post();
            }
        tx.commit();
        std::mt19937 rnd(9);
        klice.resize(10000);
        for (qint64& k : klice)
            k = qint64(rnd() % kVyrobku) + 1;
    }
};

Koren& koren() {
    static Koren k;
    return k;
}

void BM_Adapter_CtyriCteni(benchmark::State& state) {
    Koren& k = koren();
    CenyDataCis ceny(*k.dm);
    const QDate datum(2024, 7, 10);
    for (auto _ : state) {
        Decimal soucet;
        for (qint64 klic : k.klice) {
            const std::optional<Vyrobek> v = ceny.vyrobekDleKlice(QString::number(klic));
            if (!v) {
                state.SkipWithError("product not found");
                return;
            }
            const std::optional<RabatniSkupina> s = ceny.rabatniSkupina(*v->Cis_RabSkp);
            const std::optional<CenaZakaznika> c = ceny.cenaZakaznika(v->Cis_Vyr, kFirma);
            const std::optional<KursMeny> m = ceny.kurs(QStringLiteral("EUR"), datum);
            soucet += v->PC_Zakl + (s ? s->Rabat[2] : Decimal()) + (c ? c->PC_ZAKL : Decimal()) +
                      (m ? m->Kurs : Decimal());
        }
        benchmark::DoNotOptimize(soucet);
    }
    state.SetItemsProcessed(state.iterations() * qint64(k.klice.size()));
}

// The same rows read by prepared statements into the same value records: the product's price
// fields, the twenty rebates, the customer's two prices, the rate record.
const char* const kPoleVyrobku =
    "Cis_vyr, ObjCis, Nazev, NazCizJaz, Kod_Ozn1, Kod_Ozn2, Kod_Ozn3, DruhMn, Druh_Pol, Kod_Meny, "
    "Cis_CelSaz, Poznamka, Vaha, DPH, Cis_RabSkp, NC_Netto, NC_Zahr, Faktor_Bal, MO_Cena, PC_Zakl, "
    "CenaZa, PC_MnRab1, PC_Rab1, Pc_MnRab2, PC_Rab2, PC_MnRab3, PC_Rab3, NC_MnRab1, NC_Rab1, "
    "Objem, Spotr_Dan";

QString text(sqlite3_stmt* st, int c) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                             sqlite3_column_bytes(st, c));
}

Decimal cislo(sqlite3_stmt* st, int c) {
    return sqlite3_column_type(st, c) == SQLITE_NULL
               ? Decimal()
               : Decimal::fromDouble(sqlite3_column_double(st, c));
}

void BM_Raw_CtyriCteni(benchmark::State& state) {
    Koren& k = koren();
    sqlite3* h = k.db->handle();
    auto priprav = [h](const QString& sql) {
        sqlite3_stmt* st = nullptr;
        const QByteArray b = sql.toUtf8();
        sqlite3_prepare_v2(h, b.constData(), -1, &st, nullptr);
        return st;
    };
    const QString vyr = k.db->table("Ciselnik\\Vyrobky").sqlName;
    const QString rab = k.db->table("Ciselnik\\RabSkup").sqlName;
    const QString cen = k.db->table("Ciselnik\\Cenik_Zak").sqlName;
    const QString men = k.db->table("Ciselnik\\Meny").sqlName;
    QStringList rabaty;
    for (int n = 1; n <= 20; ++n)
        rabaty << QStringLiteral("Rabat%1").arg(n);
    sqlite3_stmt* sv = priprav(QStringLiteral("SELECT %1 FROM \"%2\" WHERE Cis_vyr = ?")
                                   .arg(QString::fromLatin1(kPoleVyrobku), vyr));
    sqlite3_stmt* sr = priprav(
        QStringLiteral("SELECT %1 FROM \"%2\" WHERE Cis_RabSkup = ?").arg(rabaty.join(", "), rab));
    sqlite3_stmt* sc = priprav(QStringLiteral("SELECT PC_ZAKL, PC_ZAKLC FROM \"%1\" WHERE "
                                              "Cis_Vyr = ? AND Cis_Firmy = ? LIMIT 1")
                                   .arg(cen));
    sqlite3_stmt* sm =
        priprav(QStringLiteral("SELECT Platnost_Od, KOD_Meny, Kurs, Koef, Zaokr, Kurs_EUR FROM "
                               "\"%1\" WHERE KOD_Meny = ? AND Platnost_Od <= ? ORDER BY "
                               "Platnost_Od DESC LIMIT 1")
                    .arg(men));
    const QByteArray eur = QByteArrayLiteral("EUR");
    const QByteArray datum = QByteArrayLiteral("2024-07-10");
    for (auto _ : state) {
        Decimal soucet;
        for (qint64 klic : k.klice) {
            sqlite3_bind_int64(sv, 1, klic);
            if (sqlite3_step(sv) != SQLITE_ROW) {
                state.SkipWithError("product not found");
                return;
            }
            Vyrobek v;
            v.Cis_Vyr = sqlite3_column_int64(sv, 0);
            v.ObjCis = text(sv, 1);
            v.Nazev = text(sv, 2);
            v.NazCizJaz = text(sv, 3);
            v.Kod_Ozn1 = text(sv, 4);
            v.Kod_Ozn2 = text(sv, 5);
            v.Kod_Ozn3 = text(sv, 6);
            v.DruhMn = text(sv, 7);
            v.Druh_Pol = text(sv, 8);
            v.Kod_Meny = text(sv, 9);
            v.Cis_CelSaz = text(sv, 10);
            v.Poznamka = text(sv, 11);
            v.Vaha = cislo(sv, 12);
            v.DPH = cislo(sv, 13);
            v.Cis_RabSkp = int(sqlite3_column_int64(sv, 14));
            Decimal* ceny[] = {&v.NC_Netto,  &v.NC_Zahr, &v.Faktor_Bal, &v.MO_Cena,
                               &v.PC_Zakl,   &v.CenaZa,  &v.PC_MnRab1,  &v.PC_Rab1,
                               &v.Pc_MnRab2, &v.PC_Rab2, &v.PC_MnRab3,  &v.PC_Rab3,
                               &v.NC_MnRab1, &v.NC_Rab1, &v.Objem,      &v.Spotr_Dan};
            for (int c = 0; c < 16; ++c)
                *ceny[c] = cislo(sv, 15 + c);
            sqlite3_reset(sv);

            sqlite3_bind_int64(sr, 1, *v.Cis_RabSkp);
            RabatniSkupina s;
            if (sqlite3_step(sr) == SQLITE_ROW)
                for (int n = 0; n < 20; ++n)
                    s.Rabat[n] = cislo(sr, n);
            sqlite3_reset(sr);

            sqlite3_bind_int64(sc, 1, v.Cis_Vyr);
            sqlite3_bind_int64(sc, 2, kFirma);
            CenaZakaznika c;
            if (sqlite3_step(sc) == SQLITE_ROW) c = {cislo(sc, 0), cislo(sc, 1)};
            sqlite3_reset(sc);

            sqlite3_bind_text(sm, 1, eur.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(sm, 2, datum.constData(), -1, SQLITE_STATIC);
            KursMeny m;
            if (sqlite3_step(sm) == SQLITE_ROW) {
                m.Platnost_Od = QDate::fromString(text(sm, 0), Qt::ISODate);
                m.KOD_Meny = text(sm, 1);
                m.Kurs = cislo(sm, 2);
                m.Koef = cislo(sm, 3);
                m.Zaokr = cislo(sm, 4);
                m.Kurs_EUR = cislo(sm, 5);
            }
            sqlite3_reset(sm);
            soucet += v.PC_Zakl + s.Rabat[2] + c.PC_ZAKL + m.Kurs;
        }
        benchmark::DoNotOptimize(soucet);
    }
    for (sqlite3_stmt* st : {sv, sr, sc, sm})
        sqlite3_finalize(st);
    state.SetItemsProcessed(state.iterations() * qint64(k.klice.size()));
}

} // namespace

BENCHMARK(BM_CenyPolozek_DodaciList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CenyPolozek_FakturaVEurech)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KontrolaHlavicky_1000Polozek)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Adapter_CtyriCteni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_CtyriCteni)->Unit(benchmark::kMillisecond);
