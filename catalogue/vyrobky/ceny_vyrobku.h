#pragma once
// The prices of a product as its entry page computes them, without widgets: the purchase price
// (also from a foreign price with duty and excise), the minimum price, the wholesale price with
// its markup, the retail price with its markup, "Přepočet PC" against the highest rebates and
// the price check. The form hands each box's value to the engine as it is typed, tells it when
// a box is entered and left, and shows what the engine answers; tests drive it the same way.
//
// Notation of the formulas: NC = NC_Netto, F = Faktor_Bal and CZ = CenaZa (both as typed, an
// empty box counts 0), D = DPH, S = the price step ZaokrCen, step(x, s) = ZaokrouhliKrok.
//
// Promises:
// - Exact to the ten-thousandth: every product and quotient is rounded to four places in the
//   order the formula writes it; no binary floating point.
// - A zero divisor never throws: a price that cannot be computed keeps its value, a percentage
//   becomes 0, and MO_Marze becomes 999 when NC or MO_Cena is 0.
// - MO_Marze always holds the markup of MO_Cena over NC / F (formula 4), never the margin of the
//   retail price; the margin is only shown (marzeZMO). With F, CZ, NC and MO_Cena not zero, the
//   markup and the retail price agree by UrciMOCenu within the rounding of both after every
//   leaving rule and command (kontrolaSouladuMO says by how much).
// - Prices stay on their steps: PC_Zakl and PC_Min on S, MO_Cena on 0.1 (on S after
//   "Přepočet PC"), NC_Netto on S when it comes from a foreign price.

#include "decimal.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

namespace brix {

// The fields of the product whose boxes the engine reads and writes.
enum class PoleCeny {
    NC_Netto,
    NC_Zahr,
    Min_Marze,
    PC_Min,
    Kalk_Prir,
    PC_Zakl,
    MO_Marze,
    MO_Cena,
    DPH,
    Faktor_Bal,
    CenaZa,
    PC_Rab1,
    PC_Rab2,
    PC_Rab3,
    Objem,
    Spotr_Dan
};
inline constexpr int kPocetPoliCeny = 16;
// The field's name in "Vyrobky".
QString nazevPoleCeny(PoleCeny p);
// The fields whose leaving rule runs first when the product is saved with the focus in them.
bool jePoleSPravidlemUlozeni(PoleCeny p);

// A record of the customs tariff ("Clo.db").
struct TarifCla {
    Decimal Clo;
    bool Sleva_Eur = false;
    Decimal Sazba_EUR;
    Decimal Spotr_Dan;
};

// The computations themselves, on values; each answers nullopt where a divisor is 0 (the price
// keeps its value then).
namespace ceny {
// (1) PC_Zakl = step(NC / F × (1 + Kalk_Prir / 100) × CZ, S)
std::optional<Decimal> CenaVOzPrirazky(Decimal nc, Decimal f, Decimal cz, Decimal kalkPrir,
                                       Decimal s);
// (2) Kalk_Prir = step(PC_Zakl × F / (NC × CZ) × 100 − 100, 0.01); 0 unless NC, F and CZ are
// not 0.
Decimal PrirazkaVOzCeny(Decimal pcZakl, Decimal nc, Decimal f, Decimal cz);
// (3) MO_Cena = step(NC / F × (1 + MO_Marze / 100) × (1 + D / 100) × CZ, 0.1), whatever S is.
std::optional<Decimal> UrciMOCenu(Decimal nc, Decimal f, Decimal cz, Decimal moMarze, Decimal dph);
// (4) MO_Marze = step((MO_Cena / CZ / (1 + D / 100) / (NC / F) − 1) × 100, 0.01); 999 when
// MO_Cena or NC is 0; 0 when F, CZ or 1 + D / 100 is 0.
Decimal MarzeMOzCeny(Decimal moCena, Decimal nc, Decimal f, Decimal cz, Decimal dph);
// (5) PC_Min = step(NC / F × CZ × (1 + Min_Marze / 100), S)
std::optional<Decimal> MinimalniPC(Decimal nc, Decimal f, Decimal cz, Decimal minMarze, Decimal s);
// Min_Marze = step(PC_Min / CZ / (NC / F) × 100 − 100, 0.01); 0 when NC, F or CZ is 0.
Decimal MinMarzeZPC(Decimal pcMin, Decimal nc, Decimal f, Decimal cz);
// The margin of the retail price, profit as a share of it: step((MO_Cena / (1 + D / 100) − NC) /
// MO_Cena × 100, 0.01); −999.99 when MO_Cena is 0, 999 when NC is 0.
Decimal MarzeZMO(Decimal moCena, Decimal nc, Decimal dph);
// The duty rate of a tariff, truncated to two places: Clo, or Clo × (100 − Sazba_EUR) / 100
// with the preference.
Decimal SazbaCla(const TarifCla& t);
} // namespace ceny

// What the engine asks of the world.
struct ZdrojeCen {
    // NajdiNejnRabat: the highest of Rabat1 … Rabat20 of the rebate group; 0 when it does not
    // exist.
    std::function<Decimal(int rabatovaSkupina)> nejvyssiRabat;
    // The tariff record of a code, compared as text.
    std::function<std::optional<TarifCla>(const QString& kod)> tarif;
    // PrevodNaTuzemskou: a foreign amount in the home currency at the date.
    std::function<Decimal(const QString& mena, Decimal castka, const QDate& den)> prevod;
    // A Yes/No question (caption "Dotaz"); true on Yes.
    std::function<bool(const QString& otazka)> otazka;
    // Today (the date of a conversion); empty: the system's date.
    std::function<QDate()> dnes;
};

// What the form does after an event.
struct ReakceCen {
    QString zprava;         // shown when not empty
    QString titulek;        // its caption ("Chyba" unless said otherwise)
    bool pip = false;       // a beep with it
    bool odmitnuto = false; // the command is refused (saving: nothing is saved)
    std::optional<PoleCeny> fokus;
    bool vybrat = false; // the focused box's text selected
};

// The rows of "Kontrola cen".
struct KontrolaCen {
    Decimal voCena;            // "VO cena bez DPH": PC_Zakl
    Decimal moCena;            // "MO cena bez DPH": MO_Cena / (1 + D / 100) down to 0.1
    Decimal maxRabat;          // "Max.rabat": G
    Decimal maxMnRabat;        // "Max.mn.rabat": Q
    Decimal nejnizsiVO;        // "Nejnižší PC": step((100 − G − Q) × PC_Zakl / 100, S)
    Decimal nejnizsiMO;        // the same of mo
    Decimal zadanaMinPC;       // "Zadaná min.PC": PC_Min
    bool voPodMinimem = false; // the lowest price below PC_Min (shown in red)
    bool moPodMinimem = false;
};

inline constexpr char16_t kOtazkaPrepocetNC[] =
    u"Chceš přepočítat ceny(zanechat marže)=Ano nebo ponechat PC a přepočítat marže?";
inline constexpr char16_t kOtazkaPrepocetPC[] = u"Chceš přepočítat ceny?";
inline constexpr char16_t kPolozkaZeSeznamu[] = u"Položka musí být ze seznamu";
inline constexpr char16_t kSlevyNad100[] =
    u"Součet nejvyšších slev je 100 % nebo více, cenu nelze přepočítat";
inline constexpr char16_t kSpotrDanBezObjemu[] =
    u"Při zadané spotřební dani musí být zadán objem (podíl z jednotky sazby spotř.daně";
inline constexpr char16_t kFaktorACenaZa[] = u"Faktor bal. i Cena za musí být větší než 0";

class CenyVyrobku {
public:
    // `zaokrCen`: the price step S; `sazbyDPH`: the valid VAT rates.
    CenyVyrobku(ZdrojeCen zdroje, Decimal zaokrCen, QVector<Decimal> sazbyDPH);

    // ---- values (blank = nullopt; a blank counts 0 in the formulas) -------------------------
    void nastav(PoleCeny p, std::optional<Decimal> v);
    std::optional<Decimal> hodnota(PoleCeny p) const { return v_[int(p)]; }
    Decimal cislo(PoleCeny p) const { return v_[int(p)].value_or(Decimal()); }
    void setKodMeny(const QString& kod) { kodMeny_ = kod.trimmed(); }
    void setCelniSazba(const QString& kod) { celniSazba_ = kod.trimmed(); }
    void setRabatovaSkupina(std::optional<int> cislo) { rabSkup_ = cislo; }
    Decimal zaokrCen() const { return s_; }

    // ---- the events of a box ----------------------------------------------------------------
    // Entering: the value is remembered (and entering NC_Zahr without a currency moves on).
    ReakceCen vstup(PoleCeny p);
    // Typing: the box's new value.
    void psani(PoleCeny p, std::optional<Decimal> v);
    // Leaving: the box's rule.
    ReakceCen odchod(PoleCeny p);
    // Leaving the tariff box: the tariff's excise goes into Spotr_Dan; false when the code is
    // not found (the form opens the tariff list).
    bool odchodCelniSazby();

    // ---- commands ---------------------------------------------------------------------------
    // "Přepočet PC", after its question.
    ReakceCen PrepocetPC();
    KontrolaCen ClickKontrolaCen() const;
    // Steps 1 and 2 of saving and the divisors' check: the focused box's rule, excise without
    // volume, F or CZ not above 0 refuse.
    ReakceCen kontrolaUlozeni(std::optional<PoleCeny> fokus);

    // ---- the computations on the current values (a price that cannot be computed stays) ----
    void CenaVOzPrirazky();
    void PrirazkaVOzCeny();
    void UrciMOCenu();
    void MarzeMOzCeny();
    void MinimalniCena();
    Decimal marzeZMO() const;
    // G and Q of "Přepočet PC" and the price check.
    Decimal NajdiNejnRabat() const;
    Decimal nejvyssiMnozstevniRabat() const;

    // |UrciMOCenu(MO_Marze) − MO_Cena| and the bound the rounding allows it (half the retail
    // step `krokMO`, the markup's step of 0.005 % of the base and the four-place rounding);
    // nullopt when F, CZ, NC or MO_Cena is 0 (the markup is 0 or 999 then, not a relation).
    struct Soulad {
        Decimal rozdil;
        Decimal mez;
    };
    std::optional<Soulad> kontrolaSouladuMO(Decimal krokMO) const;

private:
    Decimal F() const { return cislo(PoleCeny::Faktor_Bal); }
    Decimal CZ() const { return cislo(PoleCeny::CenaZa); }
    Decimal NC() const { return cislo(PoleCeny::NC_Netto); }
    Decimal D() const { return cislo(PoleCeny::DPH); }
    bool zmenenoOdVstupu(PoleCeny p) const { return v_[int(p)] != priVstupu_[int(p)]; }
    ReakceCen pravidloNC();
    ReakceCen pravidloNCZahr();

    ZdrojeCen zdroje_;
    Decimal s_;
    QVector<Decimal> sazby_;
    std::array<std::optional<Decimal>, kPocetPoliCeny> v_{};
    std::array<std::optional<Decimal>, kPocetPoliCeny> priVstupu_{};
    std::array<bool, kPocetPoliCeny> psano_{};
    QString kodMeny_, celniSazba_;
    std::optional<int> rabSkup_;
};

} // namespace brix
