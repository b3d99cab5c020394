#include "kontrola_skladu.h"

#include "database.h"
#include "datacis.h"
#include "table.h"

#include <map>
#include <memory>
#include <tuple>

namespace brix::sklad {

// A cursor per table read, kept between runs so that their statements stay prepared.
struct KontrolorSkladu::Kurzory {
    explicit Kurzory(Database& db) : db_(db) {}
    Table* tabulka(const QString& adresa) {
        auto& t = tabulky_[adresa];
        if (!t) {
            if (!db_.findTable(adresa)) return nullptr;
            t = std::make_unique<Table>(db_, adresa);
            t->setIndexName(QString());
        }
        if (!t->active()) t->open();
        return t.get();
    }
    Database& db_;
    std::map<QString, std::unique_ptr<Table>> tabulky_;
};

namespace {

// One record kept after its cursor has moved on (a header its items are checked against).
class Zaznam : public RecordSource {
public:
    explicit Zaznam(const Table& t) : t_(&t) {
        hodnoty_.reserve(t.fieldCount());
        for (int i = 0; i < t.fieldCount(); ++i)
            hodnoty_.push_back(t.fieldValue(i));
    }
    int fieldCount() const override { return int(hodnoty_.size()); }
    const FieldDef& fieldDef(int i) const override { return t_->fieldDef(i); }
    int fieldIndex(const QString& name) const override { return t_->fieldIndex(name); }
    QVariant fieldValue(int i) const override { return hodnoty_[i]; }
    void setFieldValue(int, const QVariant&) override {}
    QString sourceName() const override { return t_->sourceName(); }

private:
    const Table* t_;
    QVector<QVariant> hodnoty_;
};

struct Misto {
    qint64 cisVyr;
    QString sklad;
    bool operator<(const Misto& o) const {
        return cisVyr != o.cisVyr ? cisVyr < o.cisVyr : sklad < o.sklad;
    }
};

struct Soucty {
    Decimal ks, kc, rezervace;
};

QString cislo(Decimal d) {
    return d.toShortString();
}

QString misto(const Misto& m) {
    return QStringLiteral("výrobek %1, sklad \"%2\"").arg(m.cisVyr).arg(m.sklad);
}

QString stavDokladu(const RecordSource& h) {
    const QString s = textPole(h, QStringLiteral("STAV")).toUpper();
    return s.isEmpty() ? QStringLiteral("0") : s;
}

// A ledger record or an expected one, as they are compared.
struct Radek {
    qint64 porCis;
    QString smer;
    QString sklad;
    qint64 cisVyr;
    Decimal mnozstvi;
    bool operator<(const Radek& o) const {
        return std::tie(porCis, smer, sklad, cisVyr, mnozstvi) <
               std::tie(o.porCis, o.smer, o.sklad, o.cisVyr, o.mnozstvi);
    }
    bool operator==(const Radek& o) const = default;
    QString text() const {
        return QStringLiteral("položka %1 %2 sklad \"%3\" výrobek %4 množství %5")
            .arg(porCis)
            .arg(smer, sklad)
            .arg(cisVyr)
            .arg(cislo(mnozstvi));
    }
};

// An item as its follow-up copy must repeat it.
using KopiePolozky = std::tuple<qint64, qint64, Decimal, Decimal>;
KopiePolozky kopiePolozky(const RecordSource& p) {
    return {cisloPole(p, QStringLiteral("PorCis")), cisloPole(p, QStringLiteral("Cis_Vyr")),
            castkaPole(p, QStringLiteral("Mnozstvi")), castkaPole(p, QStringLiteral("PC_NettoC"))};
}

class Kontrola {
public:
    Kontrola(KontrolorSkladu::Kurzory& k, const NastaveniKontroly& n) : k_(k), n_(n) {
        np_.rezervace = n.rezervace;
        np_.klicVyrobku = n.klicVyrobku;
    }

    QStringList proved() {
        nactiVyrobky();
        zasobyProtiDeniku();
        vyrobkyProtiZasobam();
        for (const RodinaDokladu* r : RodinaDokladu::vsechny())
            doklady(*r);
        if (n_.rezervace) rezervace();
        return rozdily_;
    }

private:
    // Calls `f` for every record of the table, in primary-key order.
    template <typename F> void prochazej(const QString& tabulka, F f) {
        Table* t = k_.tabulka(tabulka);
        if (!t) return;
        for (t->first(); !t->eof() && t->hasRecord(); t->next())
            f(*t);
    }

    void nactiVyrobky() {
        prochazej(QStringLiteral("Ciselnik\\Vyrobky"), [&](const Table& v) {
            vyrobky_[cisloPole(v, QStringLiteral("Cis_vyr"))] = {
                castkaPole(v, QStringLiteral("SklZas_Ks")),
                castkaPole(v, QStringLiteral("SklZas_Kc")),
                castkaPole(v, QStringLiteral("Rezervace")),
                castkaPole(v, QStringLiteral("DisponMn"))};
        });
    }

    void zasobyProtiDeniku() {
        std::map<Misto, Soucty> denik;
        prochazej(QStringLiteral("Sklady\\SklPol"), [&](const Table& z) {
            const QString smer = textPole(z, QStringLiteral("P_V")).toUpper();
            const int s = smer == QLatin1String("V") ? -1 : 1;
            const Radek r{cisloPole(z, QStringLiteral("PorCis")), smer,
                          textPole(z, QStringLiteral("Cis_Sklad")),
                          cisloPole(z, QStringLiteral("Cis_Vyr")),
                          castkaPole(z, QStringLiteral("Mnozstvi"))};
            Soucty& t = denik[{r.cisVyr, r.sklad}];
            t.ks += Decimal(s) * r.mnozstvi;
            t.kc += Decimal(s) * castkaPole(z, QStringLiteral("SklCena"));
            denikDokladu_[textPole(z, QStringLiteral("Druh_Uctu")).toUpper()]
                         [cisloPole(z, QStringLiteral("Cis_Uctu"))]
                             .push_back(r);
        });
        prochazej(QStringLiteral("Sklady\\SklZas"), [&](const Table& z) {
            const Misto m{cisloPole(z, QStringLiteral("Cis_Vyr")),
                          textPole(z, QStringLiteral("Cis_Sklad"))};
            Soucty& r = zasoby_[m];
            r.ks = castkaPole(z, QStringLiteral("SklZas_ks"));
            r.kc = castkaPole(z, QStringLiteral("SklZas_kc"));
            r.rezervace = castkaPole(z, QStringLiteral("Rezervace"));
            const auto it = denik.find(m);
            const Soucty d = it == denik.end() ? Soucty{} : it->second;
            if (r.ks != d.ks)
                rozdil(QStringLiteral("Zásoba (%1): množství %2, součet pohybů %3")
                           .arg(misto(m), cislo(r.ks), cislo(d.ks)));
            if (r.kc != d.kc)
                rozdil(QStringLiteral("Zásoba (%1): hodnota %2, součet pohybů %3")
                           .arg(misto(m), cislo(r.kc), cislo(d.kc)));
        });
        for (const auto& [m, d] : denik)
            if (!zasoby_.count(m) && (!d.ks.isZero() || !d.kc.isZero()))
                rozdil(QStringLiteral("Zásoba (%1) chybí, součet pohybů %2 ks, %3 Kč")
                           .arg(misto(m), cislo(d.ks), cislo(d.kc)));
    }

    void vyrobkyProtiZasobam() {
        std::map<qint64, Soucty> soucty;
        for (const auto& [m, r] : zasoby_) {
            Soucty& s = soucty[m.cisVyr];
            s.ks += r.ks;
            s.kc += r.kc;
            s.rezervace += r.rezervace;
        }
        for (const auto& [cisVyr, v] : vyrobky_) {
            const auto it = soucty.find(cisVyr);
            const Soucty s = it == soucty.end() ? Soucty{} : it->second;
            const QString kdo = QStringLiteral("Výrobek %1").arg(cisVyr);
            if (v.ks != s.ks)
                rozdil(kdo + QStringLiteral(": zásoba %1 ks, součet skladů %2")
                                 .arg(cislo(v.ks), cislo(s.ks)));
            if (v.kc != s.kc)
                rozdil(kdo + QStringLiteral(": zásoba %1 Kč, součet skladů %2")
                                 .arg(cislo(v.kc), cislo(s.kc)));
            if (v.rezervace != s.rezervace)
                rozdil(kdo + QStringLiteral(": rezervace %1, součet skladů %2")
                                 .arg(cislo(v.rezervace), cislo(s.rezervace)));
            if (v.dispon != v.ks - v.rezervace)
                rozdil(kdo + QStringLiteral(": disponibilní množství %1, má být %2")
                                 .arg(cislo(v.dispon), cislo(v.ks - v.rezervace)));
        }
        for (const auto& [cisVyr, s] : soucty)
            if (!vyrobky_.count(cisVyr) && (!s.ks.isZero() || !s.kc.isZero()))
                rozdil(
                    QStringLiteral("Zásoba výrobku %1, který není v evidenci výrobků").arg(cisVyr));
    }

    // Headers and items of a family, each header with the items that follow it in key order.
    void doklady(const RodinaDokladu& r) {
        Table* hlavicky = k_.tabulka(r.hlavicka);
        Table* polozky = k_.tabulka(r.polozky);
        if (!hlavicky || !polozky) return;
        std::map<qint64, std::unique_ptr<Zaznam>> hlavicka;
        qint64 nejvyssi = 0;
        for (hlavicky->first(); !hlavicky->eof() && hlavicky->hasRecord(); hlavicky->next()) {
            const qint64 cis = cisloPole(*hlavicky, QStringLiteral("CIS_UCTU"));
            hlavicka[cis] = std::make_unique<Zaznam>(*hlavicky);
            nejvyssi = std::max(nejvyssi, cis);
        }
        std::map<qint64, Doklad> doklady;
        for (polozky->first(); !polozky->eof() && polozky->hasRecord(); polozky->next()) {
            const qint64 cis = cisloPole(*polozky, QStringLiteral("CIS_UCTU"));
            const auto h = hlavicka.find(cis);
            const Zaznam* z = h == hlavicka.end() ? nullptr : h->second.get();
            polozka(r, z, *polozky, doklady[cis]);
        }
        std::map<qint64, QString> stavNavazneho;
        std::map<qint64, std::vector<KopiePolozky>> kopie;
        if (r.navaznost) {
            prochazej(r.navaznost->hlavicka, [&](const Table& t) {
                stavNavazneho[cisloPole(t, QStringLiteral("CIS_UCTU"))] = stavDokladu(t);
            });
            prochazej(r.navaznost->polozky, [&](const Table& t) {
                kopie[cisloPole(t, QStringLiteral("CIS_UCTU"))].push_back(kopiePolozky(t));
            });
        }
        std::map<qint64, std::vector<Radek>>& denik = denikDokladu_[QString(r.druhUctu)];
        for (const auto& [cis, z] : hlavicka) {
            Doklad& d = doklady[cis];
            const QString kdo = QStringLiteral("Doklad %1 %2").arg(r.druhUctu).arg(cis);
            const QString stav = stavDokladu(*z);
            if (stav != QLatin1String("2"))
                for (qint64 porCis : d.zauctovane)
                    rozdil(
                        kdo +
                        QStringLiteral(": otevřený doklad má zaúčtovanou položku %1").arg(porCis));
            const auto it = denik.find(cis);
            std::vector<Radek> skutecne = it == denik.end() ? std::vector<Radek>{} : it->second;
            std::vector<Radek>& ocekavane = d.pohyby;
            if (stav != QLatin1String("2")) ocekavane.clear();
            std::sort(ocekavane.begin(), ocekavane.end());
            std::sort(skutecne.begin(), skutecne.end());
            if (ocekavane != skutecne) {
                for (const Radek& x : ocekavane)
                    if (!std::binary_search(skutecne.begin(), skutecne.end(), x))
                        rozdil(kdo + QStringLiteral(": chybí pohyb ") + x.text());
                for (const Radek& x : skutecne)
                    if (!std::binary_search(ocekavane.begin(), ocekavane.end(), x))
                        rozdil(kdo + QStringLiteral(": navíc pohyb ") + x.text());
                if (ocekavane.size() != skutecne.size())
                    rozdil(kdo + QStringLiteral(": %1 pohybů, má být %2")
                                     .arg(skutecne.size())
                                     .arg(ocekavane.size()));
            }
            d.soucty.resize(r.soucty.size());
            for (size_t i = 0; i < r.soucty.size(); ++i) {
                const Decimal hodnota = castkaPole(*z, r.soucty[i].first);
                if (hodnota != d.soucty[i])
                    rozdil(kdo + QStringLiteral(": %1 %2, součet položek %3")
                                     .arg(r.soucty[i].first, cislo(hodnota), cislo(d.soucty[i])));
            }
            if (r.navaznost) navazny(*r.navaznost, *z, kdo, stav, d, stavNavazneho, kopie);
        }
        for (const auto& [cis, radky] : denik)
            if (!hlavicka.count(cis))
                rozdil(QStringLiteral("Doklad %1 %2 neexistuje, v deníku má %3 pohybů")
                           .arg(r.druhUctu)
                           .arg(cis)
                           .arg(radky.size()));
        rada(r.typUctu, nejvyssi, QString(r.druhUctu));
        if (r.navaznost && !stavNavazneho.empty())
            rada(r.navaznost->typUctu, stavNavazneho.rbegin()->first, r.navaznost->hlavicka);
    }

    struct Doklad {
        std::vector<Radek> pohyby;       // what its posted items must have in the ledger
        std::vector<qint64> zauctovane;  // its posted items
        std::vector<Decimal> soucty;     // the sums of the header totals' item fields
        std::vector<KopiePolozky> kopie; // what the follow-up must hold
    };

    // What one item adds to its document's expectations and to the reservations.
    void polozka(const RodinaDokladu& r, const Zaznam* hlavicka, const Table& p, Doklad& d) {
        d.soucty.resize(r.soucty.size());
        for (size_t i = 0; i < r.soucty.size(); ++i)
            d.soucty[i] += castkaPole(p, r.soucty[i].second);
        d.kopie.push_back(kopiePolozky(p));
        if (neuctovana(p)) {
            if (!skladova(p) || !vyrobky_.count(cisloPole(p, QStringLiteral("Cis_Vyr")))) return;
            for (const Pohyb& m : r.pohyby(hlavicka, p, np_, nullptr))
                if (!m.rezervace.isZero()) rezervace_[{m.cisVyr, m.sklad}] += m.rezervace;
            return;
        }
        const qint64 porCis = cisloPole(p, QStringLiteral("PorCis"));
        d.zauctovane.push_back(porCis);
        if (!vyrobky_.count(cisloPole(p, QStringLiteral("Cis_Vyr")))) return;
        for (const Pohyb& m : r.pohyby(hlavicka, p, np_, nullptr))
            d.pohyby.push_back({porCis, textSmeru(m.smer), m.sklad, m.cisVyr, m.mnozstvi});
    }

    void navazny(const Navaznost& n, const Zaznam& h, const QString& kdo, const QString& stav,
                 Doklad& d, const std::map<qint64, QString>& stavNavazneho,
                 std::map<qint64, std::vector<KopiePolozky>>& kopie) {
        if (stav != QLatin1String("2") && stav != QLatin1String("S")) return;
        const QString odkaz = textPole(h, n.poleOdkazu);
        bool ok = false;
        const qint64 cislo = odkaz.toLongLong(&ok);
        const auto stavN = ok ? stavNavazneho.find(cislo) : stavNavazneho.end();
        if (stavN == stavNavazneho.end()) {
            if (stav == QLatin1String("2"))
                rozdil(kdo + QStringLiteral(": chybí navazující doklad \"%1\"").arg(odkaz));
            return;
        }
        std::vector<KopiePolozky>& jeho = kopie[cislo];
        if (stav == QLatin1String("S")) {
            if (stavN->second != QLatin1String("S") || !jeho.empty())
                rozdil(kdo + QStringLiteral(": navazující doklad %1 není stornován").arg(cislo));
            return;
        }
        std::sort(jeho.begin(), jeho.end());
        std::sort(d.kopie.begin(), d.kopie.end());
        if (jeho != d.kopie)
            rozdil(kdo + QStringLiteral(": položky navazujícího dokladu %1 nesouhlasí (%2 a %3)")
                             .arg(cislo)
                             .arg(d.kopie.size())
                             .arg(jeho.size()));
    }

    void rezervace() {
        for (const auto& [m, r] : zasoby_) {
            const auto it = rezervace_.find(m);
            const Decimal ocekavana = it == rezervace_.end() ? Decimal() : it->second;
            if (r.rezervace != ocekavana)
                rozdil(QStringLiteral("Zásoba (%1): rezervace %2, otevřené doklady %3")
                           .arg(misto(m), cislo(r.rezervace), cislo(ocekavana)));
        }
        for (const auto& [m, d] : rezervace_)
            if (!zasoby_.count(m) && !d.isZero())
                rozdil(QStringLiteral("Zásoba (%1) chybí, otevřené doklady rezervují %2")
                           .arg(misto(m), cislo(d)));
    }

    void rada(const QString& typ, qint64 nejvyssi, const QString& kdo) {
        if (nejvyssi <= 0) return;
        if (rady_.empty())
            prochazej(QStringLiteral("Ciselnik\\Cis_uctu"), [&](const Table& z) {
                rady_[textPole(z, QStringLiteral("Typ_Uctu")).toUpper()] =
                    cisloPole(z, QStringLiteral("PrvCis"));
            });
        const auto it = rady_.find(typ.toUpper());
        if (it == rady_.end()) return; // a type without a series proposes no numbers
        if (it->second <= nejvyssi)
            rozdil(QStringLiteral("Číselná řada %1 nabízí %2, doklady %3 mají již číslo %4")
                       .arg(typ)
                       .arg(it->second)
                       .arg(kdo)
                       .arg(nejvyssi));
    }

    void rozdil(const QString& text) { rozdily_ << text; }

    struct Vyrobek {
        Decimal ks, kc, rezervace, dispon;
    };

    KontrolorSkladu::Kurzory& k_;
    NastaveniKontroly n_;
    NastaveniPohybu np_;
    QStringList rozdily_;
    std::map<qint64, Vyrobek> vyrobky_;
    std::map<Misto, Soucty> zasoby_;
    std::map<Misto, Decimal> rezervace_;
    std::map<QString, std::map<qint64, std::vector<Radek>>> denikDokladu_;
    std::map<QString, qint64> rady_;
};

} // namespace

KontrolorSkladu::KontrolorSkladu(Database& db) : db_(db), kurzory_(std::make_unique<Kurzory>(db)) {}

KontrolorSkladu::~KontrolorSkladu() = default;

QStringList KontrolorSkladu::proved(const NastaveniKontroly& nastaveni) {
    return Kontrola(*kurzory_, nastaveni).proved();
}

QStringList KontrolaSkladu(Database& db, const NastaveniKontroly& nastaveni) {
    return KontrolorSkladu(db).proved(nastaveni);
}

QStringList KontrolaSkladu(Database& db) {
    NastaveniKontroly n;
    if (db.findTable(QStringLiteral("Nastaven\\Nast_Pr"))) {
        Table t(db, QStringLiteral("Nastaven\\Nast_Pr"));
        n.rezervace = nactiNastaveniTabulky(t).REZERVACE;
    }
    return KontrolaSkladu(db, n);
}

} // namespace brix::sklad
