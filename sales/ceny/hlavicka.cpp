#include "hlavicka.h"

#include "util/numeric.h"

#include <algorithm>
#include <array>

namespace brix {

namespace {

const Decimal kDesetina = Decimal::fromRaw(Decimal::kScale / 10);
const Decimal kSetina = Decimal::fromRaw(Decimal::kScale / 100);
const Decimal kSto(100);

// The sum (base x rate) of a bucket, divided by 100 and raised to the next 0.10 away from zero:
// trunc(|s| / 10 + 0.9999) / 10 with the sign of s, s the sum of the products.
Decimal zvysNaDesetiny(Decimal soucin) {
    const Decimal w = soucin.abs() / Decimal(10);
    const std::int64_t desetin = (w + Decimal::fromRaw(9999)).truncated();
    const Decimal dph = Decimal::fromRaw(desetin * (Decimal::kScale / 10));
    return soucin < Decimal() ? -dph : dph;
}

struct Kos {
    Decimal castka; // the bucket's sum of line amounts
    Decimal soucin; // sum of (amount x rate)
    Decimal dph;
    Decimal zaklad;
    bool maPolozky = false;
    int sazbaNejvetsi = 0; // the rate of the largest amount in the bucket
    Decimal nejvetsi;
};

} // namespace

int kosSazby(int sazba) {
    if (sazba == 0) return 0;
    return sazba < 10 ? 1 : 2;
}

Decimal DPHZakladu(Decimal zaklad, int sazba) {
    return kosSazby(sazba) == 0 ? Decimal() : zvysNaDesetiny(zaklad * Decimal(sazba));
}

bool castkySDPH(const PopisDokladu& popis, DruhCeny druh) {
    return popis.cenaMOsDPH && druh == DruhCeny::MO;
}

SoucetDokladu::SoucetDokladu(const PopisDokladu& popis, bool castkySDPH)
    : popis_(&popis), castkySDPH_(castkySDPH) {}

void SoucetDokladu::vynuluj() {
    sazby_.clear();
    cizi_ = hmotnost_ = Decimal();
}

void SoucetDokladu::posun(int sazba, Decimal castka) {
    if (castka.isZero()) return;
    auto it = std::lower_bound(sazby_.begin(), sazby_.end(), sazba,
                               [](const std::pair<int, Decimal>& s, int t) { return s.first < t; });
    if (it != sazby_.end() && it->first == sazba) {
        it->second += castka;
        if (it->second.isZero()) sazby_.erase(it);
    } else {
        sazby_.insert(it, {sazba, castka});
    }
}

void SoucetDokladu::pridej(const PodilPolozky& p) {
    posun(p.sazba, p.castka);
    cizi_ += p.cizi;
    hmotnost_ += p.hmotnost;
}

void SoucetDokladu::odeber(const PodilPolozky& p) {
    posun(p.sazba, -p.castka);
    cizi_ -= p.cizi;
    hmotnost_ -= p.hmotnost;
}

HodnotyHlavicky SoucetDokladu::PrepocetHlavicky(const PodilPolozky& puvodni,
                                                const PodilPolozky& nova, Decimal krokHlavicky) {
    odeber(puvodni);
    pridej(nova);
    return hlavicka(krokHlavicky);
}

HodnotyHlavicky SoucetDokladu::hlavicka(Decimal krokHlavicky) const {
    std::array<Kos, 3> kose;
    for (const auto& [sazba, castka] : sazby_) {
        Kos& k = kose[kosSazby(sazba)];
        k.maPolozky = true;
        k.castka += castka;
        // Ascending rates: an equal amount of a higher rate takes over.
        if (castka.abs() >= k.nejvetsi) {
            k.nejvetsi = castka.abs();
            k.sazbaNejvetsi = sazba;
        }
        if (kosSazby(sazba) == 0) continue;
        if (castkySDPH_) {
            const Decimal delitel = kSto + Decimal(sazba);
            if (!delitel.isZero()) k.dph += castka - castka / delitel * kSto;
        } else {
            k.soucin += castka * Decimal(sazba);
        }
    }
    kose[0].zaklad = kose[0].castka;
    for (int b = 1; b < 3; ++b) {
        Kos& k = kose[b];
        if (castkySDPH_) {
            Decimal nahoru = k.castka;
            ZaokrouhliNahoru(nahoru, kDesetina);
            k.zaklad = nahoru - k.dph;
        } else {
            k.zaklad = k.castka;
            k.dph = zvysNaDesetiny(k.soucin);
        }
    }

    HodnotyHlavicky h;
    if (popis_->kontrola.zaokrouhlovaciRozdil) {
        Decimal celkem;
        for (const Kos& k : kose)
            celkem += k.zaklad + k.dph;
        Decimal zaokrouhleno = celkem;
        ZaokrouhliKrok(zaokrouhleno, krokHlavicky);
        const Decimal rozdil = zaokrouhleno - celkem;
        // The bucket of the largest base; ties to the higher rates.
        int kam = -1;
        for (int b = 2; b >= 0; --b)
            if (!kose[b].zaklad.isZero() &&
                (kam < 0 || kose[b].zaklad.abs() > kose[kam].zaklad.abs()))
                kam = b;
        for (int b = 2; b >= 0 && kam < 0; --b)
            if (kose[b].maPolozky) kam = b;
        if (!rozdil.isZero() && kam >= 0) {
            Kos& k = kose[kam];
            Decimal podil;
            const Decimal delitel = kSto + Decimal(k.sazbaNejvetsi);
            if (kam > 0 && !delitel.isZero()) {
                podil = rozdil * Decimal(k.sazbaNejvetsi) / delitel;
                ZaokrouhliKrok(podil, kSetina);
            }
            k.zaklad += rozdil - podil;
            k.dph += podil;
            h.HPKU_Kc = rozdil;
        }
    }
    h.Zaklad0 = kose[0].zaklad;
    h.DPH0 = Decimal();
    h.Zaklad1 = kose[1].zaklad;
    h.DPH1 = kose[1].dph;
    h.Zaklad2 = kose[2].zaklad;
    h.DPH2 = kose[2].dph;
    h.Zaklad = h.Zaklad0 + h.Zaklad1 + h.Zaklad2;
    h.DPH = h.DPH1 + h.DPH2;
    h.Cena_Celk = h.Zaklad + h.DPH;
    h.Cena_Cizi = cizi_;
    h.Hmotnost = hmotnost_;
    return h;
}

VysledekKontroly KontrolaHlavicky(const SoucetDokladu& zPolozek, const HodnotyHlavicky& ulozena,
                                  Decimal krokHlavicky) {
    VysledekKontroly r;
    r.spravne = zPolozek.hlavicka(krokHlavicky);
    const HodnotyHlavicky& s = r.spravne;
    const PopisDokladu& popis = zPolozek.popis();
    const PravidloKontroly& k = popis.kontrola;
    const PoleHlavicky& pole = popis.pole;
    QStringList casti;
    auto porovnej = [&casti](const QString& nazevPole, Decimal ma, Decimal spravne,
                             const char* text) {
        if (nazevPole.isEmpty() || ma == spravne) return;
        casti << QString::fromUtf8(text) + spravne.toShortString() + QStringLiteral(", opravit ?");
    };
    porovnej(pole.Zaklad, ulozena.Zaklad, s.Zaklad, "Nesprávný základ v hlavičce,správně :");
    porovnej(pole.DPH, ulozena.DPH, s.DPH, "Nesprávné DPH v hlavičce, správně:");
    porovnej(pole.Cena_Celk, ulozena.Cena_Celk, s.Cena_Celk, "Nesprávná cena celkem, správně :");
    if (k.ciziAHmotnost) {
        porovnej(pole.Cena_Cizi, ulozena.Cena_Cizi, s.Cena_Cizi, "Nesprávná cena celkem:");
        porovnej(pole.Hmotnost, ulozena.Hmotnost, s.Hmotnost,
                 "Nesprávná hmotnost v hlavičce,správně :");
    }
    const bool kose = ulozena.Zaklad0 != s.Zaklad0 || ulozena.DPH0 != s.DPH0 ||
                      ulozena.Zaklad1 != s.Zaklad1 || ulozena.DPH1 != s.DPH1 ||
                      ulozena.Zaklad2 != s.Zaklad2 || ulozena.DPH2 != s.DPH2;
    const bool zaokrouhleni =
        k.zaokrouhlovaciRozdil && !pole.HPKU_Kc.isEmpty() && ulozena.HPKU_Kc != s.HPKU_Kc;
    r.rozdil = !casti.isEmpty() || kose || zaokrouhleni;
    if (r.rozdil && casti.isEmpty())
        casti << QStringLiteral("Nesprávné rozdělení základu a DPH podle sazeb v hlavičce, "
                                "opravit ?");
    r.text = casti.join(k.oddelovac);
    if (r.rozdil && k.zaokrouhlovaciRozdil && !s.HPKU_Kc.isZero())
        r.text += QStringLiteral(" Zaokrouhlovací rozdíl");
    return r;
}

} // namespace brix
