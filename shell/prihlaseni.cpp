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

QString& PrihlasenyJmeno() {
    static QString j;
    return j;
}

bool JePrihlaseny(const QString& prijmeni, const QString& jmeno) {
    if (OrizniVpravo(PrihlasenyUzivatel()).isEmpty()) return false;
    return czech::upper(OrizniVpravo(prijmeni)) ==
               czech::upper(OrizniVpravo(PrihlasenyUzivatel())) &&
           OrizniVpravo(jmeno) == OrizniVpravo(PrihlasenyJmeno());
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

std::optional<QString> NajdiZamestnancePodleHesla(TDataCis& dm, const QString& heslo,
                                                  QString* jmeno) {
    if (heslo.isEmpty()) return std::nullopt;
    Otevrena z(sdilena(dm.TableZamest, kTabulkaZamest));
    for (z->first(); !z->eof(); z->next()) {
        if (!hesloZaznamu(*z, heslo)) continue;
        const QString prijmeni = z->field(kPrijmeni).asString();
        if (jmeno) *jmeno = z->field(QStringLiteral("JMENO")).asString();
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

bool UlozZamestnance(TDataCis& dm, const QString& noveHeslo, const QString& puvodniPrijmeni,
                     bool* hesloOdmitnuto) {
    Table& zamest = sdilena(dm.TableZamest, kTabulkaZamest);
    Database& db = dm.database();
    if (hesloOdmitnuto) *hesloOdmitnuto = true;
    if (!noveHeslo.isEmpty() && noveHeslo.size() < kMinDelkaHesla) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                    QStringLiteral("Heslo musí mít nejméně %1 znaky. Zaměstnanec nebude uložen.")
                        .arg(kMinDelkaHesla));
        return false;
    }
    if (!noveHeslo.isEmpty()) {
        Table ostatni(db, QString::fromUtf16(kTabulkaZamest));
        ostatni.open();
        const bool vlozeni = zamest.state() == TableState::Insert;
        for (ostatni.first(); !ostatni.eof(); ostatni.next()) {
            if (!vlozeni && ostatni.bookmark() == zamest.bookmark()) continue;
            if (hesloZaznamu(ostatni, noveHeslo)) {
                // Passwords identify the employee, so they must differ; whose it is stays
                // unsaid.
                showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                            QStringLiteral("Toto heslo nelze použít, zadejte jiné heslo. "
                                           "Zaměstnanec nebude uložen."));
                return false;
            }
        }
    }
    if (hesloOdmitnuto) *hesloOdmitnuto = false;
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

std::optional<QString> OdmitnutiNovehoZamestnance(bool spravce) {
    if (spravce) return std::nullopt;
    return QStringLiteral("Nového zaměstnance může zapsat jen správce uživatelů.");
}

std::optional<QString> OdmitnutiOpravyZamestnance(bool spravce, const QString& prijmeni,
                                                  const QString& jmeno) {
    if (spravce || JePrihlaseny(prijmeni, jmeno)) return std::nullopt;
    return QStringLiteral("Opravit lze jen vlastní záznam. Záznamy ostatních zaměstnanců "
                          "opravuje správce uživatelů.");
}

int PocetSpravcu(TDataCis& dm) {
    // Few rows: the rights table is read through a cursor of its own.
    Table moduly(dm.database(), QString::fromUtf16(kTabulkaModuly));
    moduly.open();
    QSet<QString> prijmeni;
    for (moduly.first(); !moduly.eof(); moduly.next())
        if (moduly.field(QStringLiteral("Modul")).asString().trimmed().toUpper() == kPravoSpravce)
            prijmeni.insert(
                czech::upper(OrizniVpravo(moduly.field(QStringLiteral("Prijmeni")).asString())));
    int n = 0;
    for (const QString& p : std::as_const(prijmeni))
        n += dm.PocetZamestnancu(p);
    return n;
}

namespace {

bool maSpravce(TDataCis& dm, const QString& prijmeni) {
    return NactiPrava(dm, prijmeni).contains(kPravoSpravce);
}

const QString kPosledniSpravce =
    QStringLiteral("Data musí mít alespoň jednoho správce uživatelů. Nejprve udělte právo "
                   "„Správce uživatelů“ jinému zaměstnanci.");

QString popiskyPrav(const QSet<QString>& prava) {
    QStringList out;
    for (const ModulPrava& m : ModulyPrav())
        if (prava.contains(m.kod)) out << m.popisek;
    return out.join(QStringLiteral(", "));
}

bool stejnePrijmeni(const QString& a, const QString& b) {
    return czech::upper(OrizniVpravo(a)) == czech::upper(OrizniVpravo(b));
}

} // namespace

std::optional<QString> OdmitnutiSmazaniZamestnance(TDataCis& dm, bool spravce,
                                                   const QString& prijmeni, const QString& jmeno) {
    if (!spravce) return QStringLiteral("Zaměstnance může smazat jen správce uživatelů.");
    if (JePrihlaseny(prijmeni, jmeno))
        return QStringLiteral("Přihlášeného zaměstnance nelze smazat.");
    if (maSpravce(dm, prijmeni) && PocetSpravcu(dm) <= 1)
        return QStringLiteral("Zaměstnanec je posledním správcem uživatelů a nelze jej smazat. ") +
               kPosledniSpravce;
    return std::nullopt;
}

std::optional<QString> OdmitnutiZmenyPrav(TDataCis& dm, const QString& prijmeni,
                                          const QSet<QString>& moduly) {
    if (moduly.contains(kPravoSpravce) || !maSpravce(dm, prijmeni)) return std::nullopt;
    if (PocetSpravcu(dm) - dm.PocetZamestnancu(prijmeni) > 0) return std::nullopt;
    return QStringLiteral("Právo „Správce uživatelů“ nelze odebrat poslednímu správci. ") +
           kPosledniSpravce;
}

QString OtazkaJmenovcu(TDataCis& dm, const QString& prijmeni, const QString& puvodniPrijmeni) {
    if (OrizniVpravo(prijmeni).isEmpty() || stejnePrijmeni(prijmeni, puvodniPrijmeni)) return {};
    const QSet<QString> prava = NactiPrava(dm, prijmeni);
    if (prava.isEmpty()) return {};
    return QStringLiteral("Přístupová práva se vedou podle příjmení: zaměstnanec získá "
                          "přístupová práva zaměstnanců s příjmením %1 (%2). Chcete jej přesto "
                          "uložit?")
        .arg(czech::upper(OrizniVpravo(prijmeni)), popiskyPrav(prava));
}

std::optional<QString> OdmitnutiPrijmeni(TDataCis& dm, bool spravce, const QString& prijmeni,
                                         const QString& puvodniPrijmeni) {
    if (spravce || OtazkaJmenovcu(dm, prijmeni, puvodniPrijmeni).isEmpty()) return std::nullopt;
    return QStringLiteral("S příjmením %1 jsou spojena přístupová práva; takové příjmení může "
                          "zaměstnanci dát jen správce uživatelů.")
        .arg(czech::upper(OrizniVpravo(prijmeni)));
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
    if (heslo.size() < kMinDelkaHesla)
        return chyba(QStringLiteral("Heslo musí mít nejméně %1 znaky.").arg(kMinDelkaHesla));
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
