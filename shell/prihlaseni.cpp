#include "prihlaseni.h"

#include "czech.h"
#include "database.h"
#include "datacis.h"
#include "heslo.h"
#include "prikazy.h"
#include "storage_error.h"
#include "table.h"
#include "util/message_hook.h"
#include "util/text_utils.h"

namespace brix {

QString& PrihlasenyUzivatel() {
    static QString u;
    return u;
}

bool& Verbose() {
    static bool v = false;
    return v;
}

bool JeVerbose(const QStringList& argumenty) {
    return argumenty.size() > 1 && argumenty.at(1).toLower() == QLatin1String("verbose");
}

namespace {

const QString kHesloHash = QStringLiteral("HesloHash");
const QString kHeslo = QStringLiteral("Heslo");
const QString kPrijmeni = QStringLiteral("PRIJMENI");

QString hashZaznamu(Table& t) {
    return t.hasField(kHesloHash) ? t.field(kHesloHash).asString() : QString();
}

bool hesloZaznamu(Table& t, const QString& heslo) {
    const QString hash = hashZaznamu(t);
    if (!hash.isEmpty()) return OverHeslo(heslo, hash);
    const QString stare = t.field(kHeslo).asString();
    return !stare.isEmpty() && czech::upper(stare) == czech::upper(heslo);
}

Table& sdilena(Table* t, const char16_t* adresa) {
    return TDataCis::sdilena(t, QString::fromUtf16(adresa));
}

// A shared table opened for one operation: closed again afterwards when it was closed before.
class Otevrena {
public:
    explicit Otevrena(Table& t) : t_(t), otevrel_(!t.active()) {
        if (otevrel_) t_.open();
    }
    ~Otevrena() {
        if (!otevrel_) return;
        try {
            if (t_.state() == TableState::Edit || t_.state() == TableState::Insert) t_.cancel();
            t_.close();
        } catch (...) {
        }
    }
    Otevrena(const Otevrena&) = delete;
    Otevrena& operator=(const Otevrena&) = delete;
    Table& operator*() const { return t_; }
    Table* operator->() const { return &t_; }

private:
    Table& t_;
    bool otevrel_;
};

// The shared rights table limited to the rows of one surname (bound as a key range, so an
// apostrophe in a surname is just a letter); order, range and filter are restored afterwards.
class PravaPrijmeni {
public:
    PravaPrijmeni(TDataCis& dm, const QString& prijmeni)
        : tabulka_(sdilena(dm.TableModul, kTabulkaModuly)), index_(tabulka_->indexName()),
          filtr_(tabulka_->filtered()) {
        tabulka_->setFiltered(false);
        tabulka_->setIndexName(QStringLiteral("Prijmeni"));
        omez(prijmeni);
    }
    ~PravaPrijmeni() {
        try {
            tabulka_->cancelRange();
            tabulka_->setIndexName(index_);
            tabulka_->setFiltered(filtr_);
        } catch (...) {
        }
    }
    void omez(const QString& prijmeni) {
        const QString klic = czech::upper(OrizniVpravo(prijmeni));
        tabulka_->setRange({klic}, {klic});
    }
    Table& operator*() const { return *tabulka_; }
    Table* operator->() const { return &*tabulka_; }

private:
    Otevrena tabulka_;
    QString index_;
    bool filtr_;
};

} // namespace

std::optional<QString> NajdiZamestnancePodleHesla(TDataCis& dm, const QString& heslo) {
    if (heslo.isEmpty()) return std::nullopt;
    Otevrena z(sdilena(dm.TableZamest, kTabulkaZamest));
    for (z->first(); !z->eof(); z->next()) {
        if (!hesloZaznamu(*z, heslo)) continue;
        const QString prijmeni = z->field(kPrijmeni).asString();
        if (hashZaznamu(*z).isEmpty() && z->hasField(kHesloHash)) {
            // An old plain password: it becomes a hash now.
            z->edit();
            z->field(kHesloHash).setString(HashHesla(heslo));
            z->field(kHeslo).clear();
            z->post();
        }
        return prijmeni;
    }
    return std::nullopt;
}

QSet<QString> NactiPrava(TDataCis& dm, const QString& prijmeni) {
    QSet<QString> out;
    if (OrizniVpravo(prijmeni).isEmpty()) return out;
    PravaPrijmeni m(dm, prijmeni);
    for (m->first(); !m->eof(); m->next())
        out.insert(m->field(QStringLiteral("Modul")).asString().trimmed().toUpper());
    return out;
}

void UlozPrava(TDataCis& dm, const QString& prijmeni, const QSet<QString>& moduly) {
    Database::Transaction tr(dm.database());
    PravaPrijmeni m(dm, prijmeni);
    m->first();
    while (!m->isEmpty())
        m->remove();
    for (const ModulPrava& mp : ModulyPrav()) {
        if (!moduly.contains(mp.kod)) continue;
        m->insert();
        m->field(QStringLiteral("Prijmeni")).setString(czech::upper(OrizniVpravo(prijmeni)));
        m->field(QStringLiteral("Modul")).setString(mp.kod);
        m->post();
    }
    tr.commit();
}

void PrejmenujPrava(TDataCis& dm, const QString& stary, const QString& novy) {
    if (OrizniVpravo(stary).isEmpty() ||
        czech::upper(OrizniVpravo(stary)) == czech::upper(OrizniVpravo(novy)))
        return;
    const QSet<QString> prava = NactiPrava(dm, stary);
    if (prava.isEmpty()) return;
    Database::Transaction tr(dm.database());
    QSet<QString> nova = NactiPrava(dm, novy);
    nova.unite(prava);
    UlozPrava(dm, novy, nova);
    if (dm.PocetZamestnancu(stary) == 0) UlozPrava(dm, stary, {});
    tr.commit();
}

bool UlozZamestnance(TDataCis& dm, const QString& noveHeslo, const QString& puvodniPrijmeni) {
    Table& zamest = sdilena(dm.TableZamest, kTabulkaZamest);
    Database& db = dm.database();
    if (!noveHeslo.isEmpty()) {
        Table ostatni(db, QString::fromUtf16(kTabulkaZamest));
        ostatni.open();
        const bool vlozeni = zamest.state() == TableState::Insert;
        for (ostatni.first(); !ostatni.eof(); ostatni.next()) {
            if (!vlozeni && ostatni.bookmark() == zamest.bookmark()) continue;
            if (hesloZaznamu(ostatni, noveHeslo)) {
                showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                            QStringLiteral("Toto heslo již má jiný zaměstnanec, zadejte jiné "
                                           "heslo. Zaměstnanec nebude uložen."));
                return false;
            }
        }
    }
    Database::Transaction tr(db);
    if (!noveHeslo.isEmpty()) {
        if (zamest.hasField(kHesloHash)) {
            zamest.field(kHesloHash).setString(HashHesla(noveHeslo));
            zamest.field(kHeslo).clear();
        } else {
            zamest.field(kHeslo).setString(czech::upper(noveHeslo));
        }
    }
    const QString novePrijmeni = zamest.field(kPrijmeni).asString();
    try {
        zamest.post();
    } catch (const Abort&) {
        return false; // the storage rule's message was shown; the record stays in edit
    }
    PrejmenujPrava(dm, puvodniPrijmeni, novePrijmeni);
    tr.commit();
    return true;
}

bool MaZamestnance(TDataCis& dm) {
    Otevrena z(sdilena(dm.TableZamest, kTabulkaZamest));
    return !z->isEmpty();
}

bool VytvorSpravce(TDataCis& dm, const QString& prijmeni, const QString& heslo,
                   const QString& hesloZnovu) {
    auto chyba = [](const QString& text) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), text);
        return false;
    };
    if (prijmeni.trimmed().isEmpty()) return chyba(QStringLiteral("Zadejte příjmení správce."));
    if (heslo.isEmpty()) return chyba(QStringLiteral("Zadejte heslo správce."));
    if (heslo != hesloZnovu)
        return chyba(QStringLiteral("Zadaná hesla se neshodují, zadejte je znovu."));
    Database::Transaction tr(dm.database());
    Otevrena z(sdilena(dm.TableZamest, kTabulkaZamest));
    z->insert();
    z->field(kPrijmeni).setString(prijmeni.trimmed());
    const QString ulozene = z->field(kPrijmeni).asString();
    if (!UlozZamestnance(dm, heslo, QString())) {
        if (z->state() == TableState::Insert) z->cancel();
        return false;
    }
    QSet<QString> vse;
    for (const ModulPrava& m : ModulyPrav())
        vse.insert(m.kod);
    UlozPrava(dm, ulozene, vse);
    tr.commit();
    return true;
}

} // namespace brix
