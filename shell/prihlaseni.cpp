#include "prihlaseni.h"

#include "czech.h"
#include "database.h"
#include "heslo.h"
#include "prikazy.h"
#include "table.h"
#include "util/message_hook.h"

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

// The rows of the surname: the rights cursor limited to them.
void omezNaPrijmeni(Table& moduly, const QString& prijmeni) {
    moduly.setIndexName(QStringLiteral("Prijmeni"));
    const QString klic = czech::upper(prijmeni);
    moduly.setRange({klic}, {klic});
}

int pocetZamestnancuSPrijmenim(Database& db, const QString& prijmeni) {
    Table z(db, QString::fromUtf16(kTabulkaZamest));
    z.open();
    int n = 0;
    const QString klic = czech::upper(prijmeni);
    for (z.first(); !z.eof(); z.next())
        if (czech::upper(z.field(kPrijmeni).asString()) == klic) ++n;
    return n;
}

} // namespace

std::optional<QString> NajdiZamestnancePodleHesla(Database& db, const QString& heslo) {
    if (heslo.isEmpty()) return std::nullopt;
    Table z(db, QString::fromUtf16(kTabulkaZamest));
    z.open();
    for (z.first(); !z.eof(); z.next()) {
        if (!hesloZaznamu(z, heslo)) continue;
        const QString prijmeni = z.field(kPrijmeni).asString();
        if (hashZaznamu(z).isEmpty() && z.hasField(kHesloHash)) {
            // An old plain password: it becomes a hash now.
            z.edit();
            z.field(kHesloHash).setString(HashHesla(heslo));
            z.field(kHeslo).clear();
            z.post();
        }
        return prijmeni;
    }
    return std::nullopt;
}

QSet<QString> NactiPrava(Database& db, const QString& prijmeni) {
    QSet<QString> out;
    if (prijmeni.isEmpty()) return out;
    Table m(db, QString::fromUtf16(kTabulkaModuly));
    m.open();
    omezNaPrijmeni(m, prijmeni);
    for (m.first(); !m.eof(); m.next())
        out.insert(m.field(QStringLiteral("Modul")).asString().trimmed().toUpper());
    return out;
}

void UlozPrava(Database& db, const QString& prijmeni, const QSet<QString>& moduly) {
    Database::Transaction tr(db);
    Table m(db, QString::fromUtf16(kTabulkaModuly));
    m.open();
    omezNaPrijmeni(m, prijmeni);
    m.first();
    while (!m.isEmpty())
        m.remove();
    m.cancelRange();
    for (const ModulPrava& mp : ModulyPrav()) {
        if (!moduly.contains(mp.kod)) continue;
        m.insert();
        m.field(QStringLiteral("Prijmeni")).setString(czech::upper(prijmeni));
        m.field(QStringLiteral("Modul")).setString(mp.kod);
        m.post();
    }
    tr.commit();
}

void PrejmenujPrava(Database& db, const QString& stary, const QString& novy) {
    if (stary.isEmpty() || czech::upper(stary) == czech::upper(novy)) return;
    const QSet<QString> prava = NactiPrava(db, stary);
    if (prava.isEmpty()) return;
    Database::Transaction tr(db);
    QSet<QString> nova = NactiPrava(db, novy);
    nova.unite(prava);
    UlozPrava(db, novy, nova);
    if (pocetZamestnancuSPrijmenim(db, stary) == 0) UlozPrava(db, stary, {});
    tr.commit();
}

void SmazPravaBezZamestnance(Database& db, const QString& prijmeni) {
    if (!prijmeni.isEmpty() && pocetZamestnancuSPrijmenim(db, prijmeni) == 0)
        UlozPrava(db, prijmeni, {});
}

bool UlozZamestnance(Table& zamest, const QString& noveHeslo, const QString& puvodniPrijmeni) {
    Database& db = zamest.database();
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
    zamest.post();
    PrejmenujPrava(db, puvodniPrijmeni, novePrijmeni);
    tr.commit();
    return true;
}

bool MaZamestnance(Database& db) {
    Table z(db, QString::fromUtf16(kTabulkaZamest));
    z.open();
    return !z.isEmpty();
}

bool VytvorSpravce(Database& db, const QString& prijmeni, const QString& heslo,
                   const QString& hesloZnovu) {
    auto chyba = [](const QString& text) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), text);
        return false;
    };
    if (prijmeni.trimmed().isEmpty()) return chyba(QStringLiteral("Zadejte příjmení správce."));
    if (heslo.isEmpty()) return chyba(QStringLiteral("Zadejte heslo správce."));
    if (heslo != hesloZnovu)
        return chyba(QStringLiteral("Zadaná hesla se neshodují, zadejte je znovu."));
    Database::Transaction tr(db);
    Table z(db, QString::fromUtf16(kTabulkaZamest));
    z.open();
    z.insert();
    z.field(kPrijmeni).setString(prijmeni.trimmed());
    const QString ulozene = z.field(kPrijmeni).asString();
    if (!UlozZamestnance(z, heslo, QString())) return false;
    QSet<QString> vse;
    for (const ModulPrava& m : ModulyPrav())
        vse.insert(m.kod);
    UlozPrava(db, ulozene, vse);
    tr.commit();
    return true;
}

RadkyNastPr NactiRadkyNastPr(Database& db) {
    RadkyNastPr r;
    Table t(db, QString::fromUtf16(kTabulkaNastPr));
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        const QString popis = t.field(QStringLiteral("Popis")).asString().trimmed().toUpper();
        if (popis == QLatin1String("REZERVACE"))
            r.REZERVACE = t.field(QStringLiteral("Boolean")).asBoolean();
        else if (popis == QLatin1String("VERZETEXTIL"))
            r.VERZETEXTIL = t.field(QStringLiteral("Boolean")).asBoolean();
        else if (popis == QLatin1String("TITLE"))
            r.TITLE = t.field(QStringLiteral("Hodnota")).asString();
    }
    return r;
}

RadkyNastPr& radkyNastPr() {
    static RadkyNastPr r;
    return r;
}

} // namespace brix
