#include "ceny_datacis.h"

#include "datacis.h"
#include "platform.h"
#include "table.h"
#include "util/text_utils.h"

namespace brix {

namespace {

MessageIcon ikonaZpravy(const QString& titulek) {
    return titulek == caption::Chyba ? MessageIcon::Error : MessageIcon::Warning;
}

} // namespace

void UkazZpravyCeny(const ZpravyCeny& zpravy) {
    for (const ZpravaCeny& z : zpravy) {
        const TextZpravyCeny t = textZpravy(z);
        Platform::current().messageBox({t.titulek, t.text, ikonaZpravy(t.titulek), Button::Ok});
    }
}

// A private cursor over "Meny" in the order (KOD_Meny, Platnost_Od), with its field positions.
struct CenyDataCis::Kurzy {
    explicit Kurzy(Table& sdilena) : t(sdilena.database(), sdilena.def().address()) {
        t.setIndexName(QStringLiteral("KodMeny"));
        t.open();
        platnost = t.fieldIndex(QStringLiteral("Platnost_Od"));
        kod = t.fieldIndex(QStringLiteral("KOD_Meny"));
        kursPole = t.fieldIndex(QStringLiteral("Kurs"));
        koef = t.fieldIndex(QStringLiteral("Koef"));
        zaokr = t.fieldIndex(QStringLiteral("Zaokr"));
        kursEur = t.fieldIndex(QStringLiteral("Kurs_EUR"));
    }
    Decimal cislo(int i) { return i < 0 ? Decimal() : t.field(i).asDecimal(); }

    Table t;
    int platnost, kod, kursPole, koef, zaokr, kursEur;
};

CenyDataCis::CenyDataCis(TDataCis& dm) : dm_(dm) {}

CenyDataCis::~CenyDataCis() = default;

std::optional<KursMeny> CenyDataCis::kurs(const QString& kod, const QDate& datum) {
    const QString k = OrizniVpravo(kod);
    if (k.isEmpty() || !datum.isValid() || !dm_.TableZeme) return std::nullopt;
    if (!kurzy_) kurzy_ = std::make_unique<Kurzy>(*dm_.TableZeme);
    Table& t = kurzy_->t;
    // The currency's records up to the date; the last of them in key order is the latest.
    t.setRange({k}, {k, datum});
    t.last();
    if (!t.hasRecord()) return std::nullopt;
    KursMeny m;
    m.Platnost_Od = t.field(kurzy_->platnost).asDate();
    m.KOD_Meny = OrizniVpravo(t.field(kurzy_->kod).asString());
    m.Kurs = kurzy_->cislo(kurzy_->kursPole);
    m.Koef = kurzy_->cislo(kurzy_->koef);
    m.Zaokr = kurzy_->cislo(kurzy_->zaokr);
    m.Kurs_EUR = kurzy_->cislo(kurzy_->kursEur);
    return m;
}

Decimal CenyDataCis::PrevodNaTuzemskou(const QString& kod, Decimal castka, const QDate& datum) {
    ZpravyCeny zpravy;
    const Decimal v = brix::PrevodNaTuzemskou(*this, kod, castka, datum, zpravy);
    UkazZpravyCeny(zpravy);
    return v;
}

Decimal CenyDataCis::PrevodNaCiziMenu(const QString& kod, Decimal castka, const QDate& datum) {
    ZpravyCeny zpravy;
    const Decimal v = brix::PrevodNaCiziMenu(*this, kod, castka, datum, zpravy);
    UkazZpravyCeny(zpravy);
    return v;
}

Decimal CenyDataCis::ZaokrouhleniMeny(const QString& kod, const QDate& datum) {
    return brix::ZaokrouhleniMeny(*this, kod, datum);
}

} // namespace brix
