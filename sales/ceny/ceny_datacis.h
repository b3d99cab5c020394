#pragma once
// The pricing engine over the data module: the value records the engine computes with are read
// through TDataCis (the product, the rebate group, the customer price, the rate records), and
// its messages are shown through the platform layer. The shared cursors the forms show are not
// moved by a look-up: rates, groups and customer prices are read through private cursors on
// their keys, so that, for example, a conversion keeps the position of "Meny".

#include "cena_dle_druhu.h"
#include "meny.h"
#include "zaznamy.h"
#include "zpravy.h"

#include <memory>

namespace brix {

class TDataCis;
class Table;

// Shows the messages in order, each in its box with its caption and one OK button.
void UkazZpravyCeny(const ZpravyCeny& zpravy);

class CenyDataCis : public KurzovniListek {
public:
    explicit CenyDataCis(TDataCis& dm);
    ~CenyDataCis() override;
    CenyDataCis(const CenyDataCis&) = delete;
    CenyDataCis& operator=(const CenyDataCis&) = delete;

    TDataCis& dataModul() const { return dm_; }

    // The rate record by an index seek on (KOD_Meny, Platnost_Od): the last record of the
    // currency whose Platnost_Od is not after the date. Nothing for a blank code or date, or
    // when the data root has no "Meny".
    std::optional<KursMeny> kurs(const QString& kod, const QDate& datum) override;

    // The conversions of meny.h with their messages shown.
    Decimal PrevodNaTuzemskou(const QString& kod, Decimal castka, const QDate& datum);
    Decimal PrevodNaCiziMenu(const QString& kod, Decimal castka, const QDate& datum);
    Decimal ZaokrouhleniMeny(const QString& kod, const QDate& datum);

    // The product of the current record of `vyrobky` (a cursor over "Vyrobky"); the empty
    // record when it has none.
    Vyrobek ctiVyrobek(Table& vyrobky);

    // The price of the type for the product current in TableVyr (NajdiVyrobek positions it),
    // with the setting ZahrMeny; for "IP" the stock figures of the product in `sklad` are read
    // through ZasobaVyrobku with its messages. The messages are shown.
    CenaDleDruhu CenaVyrobkuDleDruhu(const QString& druhCeny, const QString& kodMeny, Decimal krok,
                                     const QString& sklad);

private:
    struct Kurzy;
    struct PoleVyrobku;
    TDataCis& dm_;
    std::unique_ptr<Kurzy> kurzy_;
    std::unique_ptr<PoleVyrobku> poleVyrobku_;
};

} // namespace brix
