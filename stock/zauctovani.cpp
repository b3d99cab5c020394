#include "zauctovani.h"

#include "number_series.h"
#include "storage_messages.h"
#include "util/numeric.h"

#include <QDateTime>

namespace brix::sklad {

namespace {

const QString kChyba = QStringLiteral("Chyba");
const QString kVarovani = QStringLiteral("Varování");
const QString kUpozorneni = QStringLiteral("Upozornění");

Decimal zaokrouhleno(Decimal x, Decimal krok) {
    ZaokrouhliKrok(x, krok);
    return x;
}

// Removes a key range when the scope ends, whatever happens.
struct BezRozsahu {
    Table& t;
    ~BezRozsahu() {
        try {
            if (t.active()) {
                t.cancel();
                t.cancelRange();
            }
        } catch (...) {
        }
    }
};

// The bookmarks of the records in sight, in order: the loops below edit and post records, and
// go back to each by its bookmark.
std::vector<Table::Bookmark> zalozky(Table& t) {
    std::vector<Table::Bookmark> out;
    for (t.first(); !t.eof() && t.hasRecord(); t.next())
        out.push_back(t.bookmark());
    return out;
}

// The same for the records from the current one on (a range just set stands on its first).
std::vector<Table::Bookmark> zalozkyOdAktualni(Table& t) {
    std::vector<Table::Bookmark> out;
    for (; !t.eof() && t.hasRecord(); t.next())
        out.push_back(t.bookmark());
    return out;
}

// Back to a record unless the cursor stands on it.
void naZalozku(Table& t, Table::Bookmark b) {
    if (t.bookmark() != b || t.state() != TableState::Browse) t.gotoBookmark(b);
}

void nastavStav(Table& t, const QString& stav) {
    t.edit();
    t.field(QStringLiteral("STAV")).setString(stav);
    t.post();
}

// Every field of `z` that `do_` has too (names compared ignoring case), except the ones left out.
void kopirujPole(const Table& z, Table& do_, const QStringList& krome = {}) {
    for (int i = 0; i < z.fieldCount(); ++i) {
        if (z.isCalculated(i)) continue;
        const QString& jmeno = z.fieldDef(i).name;
        if (krome.contains(jmeno, Qt::CaseInsensitive)) continue;
        const int j = do_.fieldIndex(jmeno);
        if (j < 0 || do_.isCalculated(j)) continue;
        do_.setFieldValue(j, z.fieldValue(i));
    }
}

QDate datumPlneni(const RecordSource& h) {
    const int i = h.fieldIndex(QStringLiteral("Dat_Plneni"));
    if (i < 0) return {};
    const QVariant v = h.fieldValue(i);
    if (v.isNull()) return {};
    return v.toDateTime().isValid() ? v.toDateTime().date() : v.toDate();
}

} // namespace

Decimal PrijmiPolozkuDodavky(Decimal k, Decimal c, Decimal q, Decimal p, Decimal krok) {
    if (q < Decimal()) return zaokrouhleno(p, krok);
    if (k >= Decimal()) return p;
    // Stock below zero: the missing pieces come back at their own average value, the rest at
    // the line value.
    Decimal r = (c / k * q).abs();
    if (q > k.abs()) r = c.abs() + p / q * (q + k);
    return zaokrouhleno(r, krok);
}

QString stavHlavicky(const RecordSource& hlavicka) {
    const QString s = textPole(hlavicka, QStringLiteral("STAV")).toUpper();
    return s.isEmpty() ? QStringLiteral("0") : s;
}

struct Zauctovani::Doklad {
    int cisUctu = 0;
    Table& h;
    Table& p;
    QDate datum;
};

Zauctovani::Zauctovani(KontextPohybu& kontext, const RodinaDokladu& rodina)
    : k_(kontext), r_(rodina) {}

VysledekPohybu Zauctovani::proved(int cisUctu,
                                  const std::function<void(Doklad&, VysledekPohybu&)>& akce,
                                  const QString& textSelhani) {
    VysledekPohybu v;
    Table* vadna = nullptr;
    k_.zrusUpravy();
    try {
        Database::Transaction tr(k_.databaze());
        Table& h = k_.tabulka(r_.hlavicka);
        Table& p = k_.tabulka(r_.polozky);
        BezRozsahu a{h}, b{p};
        h.cancelRange();
        if (!h.findKey({cisUctu})) {
            v.vysledek = Vysledek::Nenalezen;
            v.zpravy.push_back(
                {kUpozorneni, QStringLiteral("Doklad číslo %1 neexistuje.").arg(cisUctu)});
            return v;
        }
        p.setRange({cisUctu}, {cisUctu});
        Doklad d{cisUctu, h, p, datumPlneni(h)};
        akce(d, v);
        if (!v.ok()) return v; // the transaction rolls back
        tr.commit();
    } catch (const StorageError& e) {
        k_.zrusUpravy();
        v = VysledekPohybu();
        v.vysledek = Vysledek::ChybaUlozeni;
        v.chyba = e;
        if (!e.table().isEmpty() && k_.databaze().findTable(e.table()))
            vadna = &k_.tabulka(e.table());
        std::optional<StorageMessage> m;
        if (vadna) m = storageErrorMessage(e, *vadna);
        v.zpravy.push_back(m ? Zprava{m->caption, m->text} : Zprava{kChyba, e.message()});
        v.zpravy.push_back({kChyba, textSelhani});
    }
    return v;
}

VysledekPohybu Zauctovani::uzavri(int cisUctu, const QString& ocekavanyStav) {
    const QString ocekavany =
        ocekavanyStav.trimmed().isEmpty() ? QStringLiteral("0") : ocekavanyStav.trimmed().toUpper();
    return proved(
        cisUctu,
        [&](Doklad& d, VysledekPohybu& v) {
            const QString stav = stavHlavicky(d.h);
            if (stav != ocekavany) {
                v.vysledek = Vysledek::ZmenenyStav;
                v.zpravy.push_back(
                    {kUpozorneni, QStringLiteral("Doklad mezitím změnil jiný uživatel, akce "
                                                 "nebude provedena.")});
                return;
            }
            if (stav == QLatin1String("2")) {
                if (!r_.oprava) {
                    v.vysledek = Vysledek::JizUzavren;
                    v.zpravy.push_back({kUpozorneni, QStringLiteral("Tento účet byl již "
                                                                    "uzavřen, akce nebude "
                                                                    "dokončena")});
                    return;
                }
                v.oprava = true;
                oprava(d, v);
            } else {
                uzavreni(d, v);
            }
        },
        QStringLiteral("Uzavření nebylo provedeno, doklad ani sklad se nezměnily."));
}

VysledekPohybu Zauctovani::stornuj(int cisUctu) {
    return proved(
        cisUctu,
        [&](Doklad& d, VysledekPohybu& v) {
            if (!r_.storno) {
                v.vysledek = Vysledek::BezStorna;
                v.zpravy.push_back({kUpozorneni, QStringLiteral("Tento doklad nelze stornovat.")});
                return;
            }
            if (stavHlavicky(d.h) != QLatin1String("2")) {
                v.vysledek = Vysledek::NeniUzavren;
                v.zpravy.push_back({kUpozorneni, QStringLiteral("Tento účet není uzavřen, storno "
                                                                "nebude provedeno")});
                return;
            }
            storno(d, v);
        },
        QStringLiteral("Storno nebylo provedeno, doklad ani sklad se nezměnily."));
}

// ---- closing ----------------------------------------------------------------------------------

void Zauctovani::uzavreni(Doklad& d, VysledekPohybu& v) {
    int cislo = 0;
    if (r_.navaznost && !cisloNavazneho(d, v, &cislo)) return;
    for (Table::Bookmark b : zalozky(d.p)) {
        d.p.gotoBookmark(b);
        if (!neuctovana(d.p)) continue;
        if (zauctujPolozku(d, v)) {
            d.p.edit();
            d.p.field(QStringLiteral("Stav")).setString(QStringLiteral("V"));
            d.p.post();
        }
    }
    d.h.edit();
    d.h.field(QStringLiteral("STAV")).setString(QStringLiteral("2"));
    if (r_.navaznost) {
        const Navaznost& n = *r_.navaznost;
        d.h.field(n.poleOdkazu).setString(QString::number(cislo));
        if (!n.poleZnacky.isEmpty()) d.h.field(n.poleZnacky).setBoolean(true);
        vytvorNavazny(d, cislo);
        v.cisloNavazneho = cislo;
    }
    d.h.post();
}

// Posts the current item: false when its product is missing (it stays unposted).
bool Zauctovani::zauctujPolozku(Doklad& d, VysledekPohybu& v) {
    const std::vector<Pohyb> pohyby = r_.pohyby(&d.h, d.p, k_.nastaveni(), &v.zpravy);
    if (pohyby.empty()) return true; // nothing to post: a text line, not a stock item
    const qint64 cisVyr = cisloPole(d.p, QStringLiteral("Cis_Vyr"));
    if (!k_.najdiVyrobek(cisVyr)) {
        v.zpravy.push_back({kVarovani, QStringLiteral("Nenalezen výrobek číslo ") +
                                           textPole(d.p, QStringLiteral("Cis_Vyr"))});
        v.neuctovane.push_back(int(cisloPole(d.p, QStringLiteral("PorCis"))));
        return false;
    }
    for (const Pohyb& p : pohyby)
        zapisDoDeniku(d, p, zauctujPohyb(p, true), nullptr);
    return true;
}

// The movement into its stock level and its product's totals; answers the value posted. An
// open item reserved what it now takes: with `bezRezervace` that reservation goes too.
Decimal Zauctovani::zauctujPohyb(const Pohyb& p, bool bezRezervace) {
    Decimal ks, kc;
    k_.stavZasoby(p.cisVyr, p.sklad, &ks, &kc);
    const Decimal krok = k_.nastaveni().krokSkladKarty;
    Decimal hodnota = p.hodnota;
    switch (p.oceneni) {
    case Oceneni::Pevne:
        break;
    case Oceneni::Vydej:
        // Taking all there is leaves no value behind, whatever the item's stock total.
        hodnota = ks == p.mnozstvi ? kc : zaokrouhleno(p.hodnota, krok);
        break;
    case Oceneni::Dodavka:
        hodnota = PrijmiPolozkuDodavky(ks, kc, p.mnozstvi, p.hodnota, krok);
        break;
    }
    const int s = znamenko(p.smer);
    const Decimal rezervace = bezRezervace && k_.nastaveni().rezervace ? -p.rezervace : Decimal();
    k_.pridejNaSklad(p.cisVyr, p.objCis, p.sklad, Decimal(s) * p.mnozstvi, Decimal(s) * hodnota,
                     rezervace);
    return hodnota;
}

// A new ledger record, or `zaznam` (positioned on an existing one) rewritten.
void Zauctovani::zapisDoDeniku(Doklad& d, const Pohyb& p, Decimal hodnota, Table* zaznam) {
    Table& t = zaznam ? *zaznam : k_.denik();
    if (zaznam)
        t.edit();
    else
        t.insert();
    t.field(QStringLiteral("Druh_Uctu")).setString(QString(r_.druhUctu));
    t.field(QStringLiteral("Cis_Uctu")).setInteger(d.cisUctu);
    t.field(QStringLiteral("PorCis")).setInteger(cisloPole(d.p, QStringLiteral("PorCis")));
    t.field(QStringLiteral("P_V")).setString(textSmeru(p.smer));
    t.field(QStringLiteral("Cis_Sklad")).setString(p.sklad);
    if (d.datum.isValid())
        t.field(QStringLiteral("Dat_Plneni")).setDate(d.datum);
    else
        t.field(QStringLiteral("Dat_Plneni")).clear();
    t.field(QStringLiteral("Cis_Vyr")).setInteger(p.cisVyr);
    t.field(QStringLiteral("Mnozstvi")).setDecimal(p.mnozstvi);
    t.field(QStringLiteral("SklCena")).setDecimal(hodnota);
    t.field(QStringLiteral("PCena")).setDecimal(p.pCena);
    t.post();
}

// ---- correction -------------------------------------------------------------------------------

void Zauctovani::oprava(Doklad& d, VysledekPohybu& v) {
    Table& denik = k_.denik();
    BezRozsahu bez{denik};
    const Decimal krok = k_.nastaveni().krokSkladKarty;
    for (Table::Bookmark b : zalozky(d.p)) {
        d.p.gotoBookmark(b);
        const qint64 porCis = cisloPole(d.p, QStringLiteral("PorCis"));
        const std::vector<Pohyb> nove = r_.pohyby(&d.h, d.p, k_.nastaveni(), nullptr);
        denik.setRange({QString(r_.druhUctu), d.cisUctu, porCis},
                       {QString(r_.druhUctu), d.cisUctu, porCis});
        std::vector<Table::Bookmark> zaznamy = zalozkyOdAktualni(denik);
        if (zaznamy.empty()) {
            // An item the closing left unposted (its product was missing) is posted now.
            if (neuctovana(d.p)) {
                if (!zauctujPolozku(d, v)) continue;
            } else if (!nove.empty()) {
                v.zpravy.push_back({kVarovani, QStringLiteral("Nenalezena položka ") +
                                                   QString::number(porCis) +
                                                   QStringLiteral(",akce pro tuto položku "
                                                                  "nebude provedena")});
            }
        } else {
            // Each old record is paired with the item's movement in its direction (a transfer
            // item has one out of its warehouse and one into the target).
            const std::vector<Pohyb> rezervace = k_.rezervacePolozky(r_, &d.h, d.p);
            std::vector<bool> pouzity(nove.size(), false);
            for (Table::Bookmark z : zaznamy) {
                naZalozku(denik, z);
                const Smer smer = textPole(denik, QStringLiteral("P_V")).toUpper() == "V"
                                      ? Smer::Vydej
                                      : Smer::Prijem;
                const qint64 stareVyr = cisloPole(denik, QStringLiteral("Cis_Vyr"));
                const QString stareSklad = textPole(denik, QStringLiteral("Cis_Sklad"));
                const Decimal stareMn = castkaPole(denik, QStringLiteral("Mnozstvi"));
                const Decimal stareKc = castkaPole(denik, QStringLiteral("SklCena"));
                const int s = znamenko(smer);
                const auto chybiRadek = [&] {
                    v.zpravy.push_back({kVarovani, QStringLiteral("Nenalezena položka ") +
                                                       QString::number(stareVyr) +
                                                       QStringLiteral(",bude vytvořena nová "
                                                                      "věta")});
                };
                size_t i = 0;
                while (i < nove.size() && (pouzity[i] || nove[i].smer != smer))
                    ++i;
                const Pohyb* p = i < nove.size() ? &nove[i] : nullptr;
                Decimal hodnota;
                if (p) {
                    pouzity[i] = true;
                    const Decimal jednotkova =
                        stareMn.isZero() ? p->jednotkovaHodnota : stareKc / stareMn;
                    hodnota = zaokrouhleno(jednotkova * p->mnozstvi, krok);
                }
                if (p && p->cisVyr == stareVyr && p->sklad == stareSklad) {
                    // The old figures out and the new in, on the same stock level at once.
                    if (!k_.pridejNaSklad(stareVyr, p->objCis, stareSklad,
                                          Decimal(s) * (p->mnozstvi - stareMn),
                                          Decimal(s) * (hodnota - stareKc), Decimal()))
                        chybiRadek();
                } else {
                    if (!k_.pridejNaSklad(stareVyr, textPole(d.p, QStringLiteral("ObjCis")),
                                          stareSklad, Decimal(-s) * stareMn, Decimal(-s) * stareKc,
                                          Decimal()))
                        chybiRadek();
                    if (p)
                        k_.pridejNaSklad(p->cisVyr, p->objCis, p->sklad, Decimal(s) * p->mnozstvi,
                                         Decimal(s) * hodnota, Decimal());
                }
                naZalozku(denik, z);
                if (!p) {
                    denik.remove(); // the item no longer moves stock this way
                    continue;
                }
                zapisDoDeniku(d, *p, hodnota, &denik);
            }
            for (size_t i = 0; i < nove.size(); ++i)
                if (!pouzity[i]) zapisDoDeniku(d, nove[i], zauctujPohyb(nove[i], false), nullptr);
            k_.ZmenaRezervace(rezervace, {});
        }
        if (neuctovana(d.p)) {
            d.p.edit();
            d.p.field(QStringLiteral("Stav")).setString(QStringLiteral("V"));
            d.p.post();
        }
    }
}

// ---- reversal ---------------------------------------------------------------------------------

void Zauctovani::storno(Doklad& d, VysledekPohybu& v) {
    Table& denik = k_.denik();
    BezRozsahu bez{denik};
    denik.setRange({QString(r_.druhUctu), d.cisUctu, 1}, {QString(r_.druhUctu), d.cisUctu, 9999});
    denik.first();
    while (!denik.isEmpty()) {
        const qint64 cisVyr = cisloPole(denik, QStringLiteral("Cis_Vyr"));
        const QString sklad = textPole(denik, QStringLiteral("Cis_Sklad"));
        const int s = textPole(denik, QStringLiteral("P_V")).toUpper() == "V" ? -1 : 1;
        const Decimal mn = castkaPole(denik, QStringLiteral("Mnozstvi"));
        const Decimal kc = castkaPole(denik, QStringLiteral("SklCena"));
        const Table::Bookmark zaznam = denik.bookmark();
        if (!k_.najdiVyrobek(cisVyr)) {
            QString klic = QString::number(cisVyr);
            if (d.p.findKey({d.cisUctu, cisloPole(denik, QStringLiteral("PorCis"))}))
                klic = textPole(d.p, k_.nastaveni().klicVyrobku);
            v.zpravy.push_back({kUpozorneni, klic + QStringLiteral(" není v evidenci výrobků")});
        } else if (!k_.stavZasoby(cisVyr, sklad, nullptr, nullptr)) {
            v.zpravy.push_back({kChyba, QStringLiteral("Nenalezena sklad.zasoba pro ") +
                                            QString::number(cisVyr) +
                                            QStringLiteral(" skladovy pohyb se neprovede")});
        } else {
            k_.pridejNaSklad(cisVyr, QString(), sklad, Decimal(-s) * mn, Decimal(-s) * kc,
                             Decimal());
        }
        denik.gotoBookmark(zaznam);
        denik.remove();
    }
    // The items are open again and reserve again.
    for (Table::Bookmark b : zalozky(d.p)) {
        d.p.gotoBookmark(b);
        if (!neuctovana(d.p)) {
            d.p.edit();
            d.p.field(QStringLiteral("Stav")).setString(QStringLiteral("P"));
            d.p.post();
        }
        k_.ZmenaRezervace({}, k_.rezervacePolozky(r_, &d.h, d.p));
    }
    if (r_.navaznost) stornujNavazny(d, v);
    nastavStav(d.h, QStringLiteral("S"));
}

// ---- the follow-up document -------------------------------------------------------------------

// The follow-up's number: after a reversal the one it had, else the next free one of its series.
bool Zauctovani::cisloNavazneho(Doklad& d, VysledekPohybu& v, int* cislo) {
    const Navaznost& n = *r_.navaznost;
    Table& navazne = k_.tabulka(n.hlavicka);
    if (stavHlavicky(d.h) == QLatin1String("S")) {
        const QString text = textPole(d.h, n.poleOdkazu);
        bool ok = false;
        const int puvodni = text.toInt(&ok);
        if (ok && navazne.findKey({puvodni})) {
            *cislo = puvodni;
            return true;
        }
        v.zpravy.push_back({kUpozorneni, QStringLiteral("Nenalezena faktura ") + text +
                                             QStringLiteral(",bude vytvořena nová Fa")});
    }
    const QString druh = textPole(d.h, QStringLiteral("DRUH"));
    Table& rady = k_.tabulka(QStringLiteral("Ciselnik\\Cis_uctu"));
    const int c = VolneCisloUctu(rady, n.typUctu, druh, &navazne, [&v](int) {
        v.zpravy.push_back({kVarovani, QStringLiteral("Zvyšuji číslo fa - obsazené")});
    });
    if (c < 0) {
        v.vysledek = Vysledek::ChybiRada;
        v.zpravy = {{kChyba, QStringLiteral("Neexistující Typ_uctu,Druh dokladu (") + n.typUctu +
                                 QStringLiteral(",") + druh + QStringLiteral(") nelze uzavřít")}};
        return false;
    }
    *cislo = c;
    return true;
}

// The follow-up made from the header and every item, field by field by equal names. A reused
// follow-up is made again whole: items it may still hold are replaced.
void Zauctovani::vytvorNavazny(Doklad& d, int cislo) {
    const Navaznost& n = *r_.navaznost;
    Table& hn = k_.tabulka(n.hlavicka);
    Table& pn = k_.tabulka(n.polozky);
    BezRozsahu bez{pn};
    pn.setRange({cislo}, {cislo});
    pn.first();
    while (!pn.isEmpty())
        pn.remove();
    for (Table::Bookmark b : zalozky(d.p)) {
        d.p.gotoBookmark(b);
        pn.insert();
        kopirujPole(d.p, pn);
        pn.field(QStringLiteral("CIS_UCTU")).setInteger(cislo);
        pn.post();
    }
    if (hn.findKey({cislo}))
        hn.edit();
    else
        hn.insert();
    kopirujPole(d.h, hn);
    hn.field(n.poleOdkazuZpet).setString(QString::number(d.cisUctu));
    hn.field(QStringLiteral("CIS_UCTU")).setInteger(cislo);
    hn.post();
}

void Zauctovani::stornujNavazny(Doklad& d, VysledekPohybu& v) {
    const Navaznost& n = *r_.navaznost;
    const QString text = textPole(d.h, n.poleOdkazu);
    bool ok = false;
    const int cislo = text.toInt(&ok);
    Table& pn = k_.tabulka(n.polozky);
    BezRozsahu bez{pn};
    if (ok) {
        pn.setRange({cislo, 1}, {cislo, 9999});
        pn.first();
        while (!pn.isEmpty())
            pn.remove();
    }
    Table& hn = k_.tabulka(n.hlavicka);
    if (ok && hn.findKey({cislo}))
        nastavStav(hn, QStringLiteral("S"));
    else
        v.zpravy.push_back({kUpozorneni, QStringLiteral("Nenalezena faktura ") + text +
                                             QStringLiteral(",přepis položky faktury nebude "
                                                            "proveden")});
}

} // namespace brix::sklad
