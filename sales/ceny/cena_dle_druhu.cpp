#include "cena_dle_druhu.h"

#include "util/numeric.h"
#include "util/text_utils.h"

namespace brix {

namespace {

QString c(Decimal d) {
    return d.toShortString();
}

} // namespace

CenaDleDruhu CenaVyrobkuDleDruhu(const Vyrobek& v, DruhCeny druh, const QString& kodMeny,
                                 Decimal krok, bool zahrMeny, const ZasobaProCenu* zasoba,
                                 ZpravyCeny& zpravy, QStringList* postup) {
    CenaDleDruhu r;
    switch (druh) {
    case DruhCeny::NC: {
        const QString mena = OrizniVpravo(kodMeny);
        if (zahrMeny && !mena.isEmpty() && mena == OrizniVpravo(v.Kod_Meny)) {
            r.ciziCena = v.NC_Zahr;
            if (postup)
                *postup << QStringLiteral("cena NC: nákupní cena v měně výrobku %1 NC_Zahr %2")
                               .arg(mena, c(v.NC_Zahr));
        } else {
            r.cena = v.NC_Netto;
            if (postup) *postup << QStringLiteral("cena NC: NC_Netto %1").arg(c(v.NC_Netto));
        }
        r.faktor = v.Faktor_Bal;
        break;
    }
    case DruhCeny::MO: {
        const Decimal sazba = v.DPH + Decimal(100);
        if (!sazba.isZero()) r.cena = v.MO_Cena / sazba * Decimal(100);
        const Decimal bezDph = r.cena;
        if (krok.isZero())
            zpravy.push_back({DruhZpravyCeny::NulovyKrokZaokrouhleni, {}, {}});
        else
            ZaokrouhliDolu(r.cena, krok);
        r.faktor = v.CenaZa;
        if (postup)
            *postup << QStringLiteral("cena MO: MO_Cena %1 / (100 + DPH %2) × 100 = %3, dolů na "
                                      "krok %4 = %5")
                           .arg(c(v.MO_Cena), c(v.DPH), c(bezDph), c(krok), c(r.cena));
        break;
    }
    case DruhCeny::VO:
        r.cena = v.PC_Zakl;
        r.faktor = v.CenaZa;
        if (postup) *postup << QStringLiteral("cena VO: PC_Zakl %1").arg(c(v.PC_Zakl));
        break;
    case DruhCeny::IP: {
        const ZasobaProCenu z = zasoba ? *zasoba : ZasobaProCenu();
        r.cena = z.zasobaKs > Decimal() ? z.zasobaKc / z.zasobaKs : z.jednotkovaNakupniCena;
        ZaokrouhliKrok(r.cena, krok);
        if (postup)
            *postup << (z.zasobaKs > Decimal()
                            ? QStringLiteral("cena IP: zásoba %1 Kč / %2 ks, na krok %3 = %4")
                                  .arg(c(z.zasobaKc), c(z.zasobaKs), c(krok), c(r.cena))
                            : QStringLiteral("cena IP: bez zásoby jednotková nákupní cena %1, na "
                                             "krok %2 = %3")
                                  .arg(c(z.jednotkovaNakupniCena), c(krok), c(r.cena)));
        break;
    }
    case DruhCeny::Nepovoleny:
        zpravy.push_back({DruhZpravyCeny::NepovolenyDruhCeny, {}, {}});
        if (postup) *postup << QStringLiteral("nepovolený druh ceny: cena 0");
        break;
    }
    return r;
}

} // namespace brix
