#include "formulare.h"

#include "number_series.h"
#include "platform.h"
#include "pravidla.h"
#include "util/nastaveni.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>

namespace brix {

namespace {

using B = PoleCiselniku::Box;
using P = PoleCiselniku;
using F = EditBox::Format;

// Days, counts and numbers of small-integer fields that cannot be negative.
constexpr double kMaxSmall = 32767;

const QString kDruhyCen = QStringLiteral("MO-maloobchodní, VO - velkoobchodní, IP-interní pohyb, "
                                         "NC-nák.ceny");

RegisterConfig zaklad(const QString& caption, const QString& order) {
    RegisterConfig c;
    c.caption = caption;
    c.order = order;
    return c;
}

} // namespace

// --- payment terms ---------------------------------------------------------------------------

TFormulSkonto::TFormulSkonto(Table& skonto, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulSkonto"), skonto,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Platební podmínky"), "PC_skonto");
              c.searchItems = {{QStringLiteral("&Císlo skonta"), QStringLiteral("PC_Skonto")}};
              c.printItems = {{QStringLiteral("&Seznam plat.podm."),
                               QStringLiteral("ciselnik\\SkontoSezn"),
                               {}}};
              c.printManagerPrefix = QStringLiteral("PrSko_");
              return c;
          }(),
          {P("PC_skonto", "Poř.číslo", "Pořadové číslo platební podmínky 1 - 32767")
               .vRozsahu(1, kMaxSmall),
           {"Popis", "Popis", "Popis platební podmínky"},
           P("Splatnost", "Splatnost", "Počet dní mezi vystavením a splatností")
               .vRozsahu(0, kMaxSmall),
           P("Skonto_dni", "Skonto za dní", "Do kolika dní od vystavení platí skonto")
               .vRozsahu(0, kMaxSmall),
           P("Skonto_pr", "Skonto %", "Skonto v % při placení do stanoveného počtu dní")
               .vRozsahu(0, 100),
           P("Penale", "Penále %", "Penále v % za pozdní platbu").vRozsahu(0, 100),
           P("Odkl_pen", "Odklad penále", "Počet dní, po které se penále neúčtuje")
               .vRozsahu(0, kMaxSmall),
           {"Zpus_pl", "Způsob platby", "Text způsobu platby"}},
          parent) {}

// --- fields of business ----------------------------------------------------------------------

TFormulObor::TFormulObor(Table& obor, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulObor"), obor,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Obory činnosti"), "Cis_obor");
              c.searchItems = {{QStringLiteral("&Císlo oboru"), QStringLiteral("Cis_Obor")}};
              c.printItems = {
                  {QStringLiteral("&Seznam oborů"), QStringLiteral("ciselnik\\OborSezn"), {}}};
              c.printManagerPrefix = QStringLiteral("PrObor_");
              return c;
          }(),
          {P("Cis_obor", "Číslo oboru", "Číslo oboru 1 - 20, vybírá sloupec rabatu")
               .vRozsahu(1, kPocetOboru),
           {"Popis", "Popis", "Oficiální popis oboru"},
           {"Int_popis", "Popis interně", "Popis oboru pro vnitřní potřebu"},
           {QStringLiteral("Poznámka"), "Poznámka", "Poznámka - libovolný text", B::Memo}},
          parent) {}

// --- rebate groups ---------------------------------------------------------------------------

TFormulRabSkup::TFormulRabSkup(Table& rabSkup, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulRabSkup"), rabSkup,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Rabatní skupiny"), "Cis_RabSkup");
              c.searchItems = {{QStringLiteral("&Název"), QStringLiteral("Nazev")}};
              c.printItems = {{QStringLiteral("&Seznam rab.skup."),
                               QStringLiteral("ciselnik\\RabSkupSezn"),
                               {}}};
              c.printManagerPrefix = QStringLiteral("PrRabSk_");
              c.enterMovesBetweenBoxes = false;
              return c;
          }(),
          [] {
              QList<PoleCiselniku> p{
                  P("Cis_RabSkup", "Číslo 1-999 - povinné", "Číslo rabatní skupiny 1 - 999")
                      .vRozsahu(1, 999),
                  {"Nazev", "Název", "Popis rabatní skupiny"},
                  {"PoslCisVyr", "Posl.č.výrobku", {}, B::JenMrizka}};
              for (int i = 1; i <= kPocetOboru; ++i)
                  p.push_back(P(QStringLiteral("Rabat%1").arg(i),
                                QStringLiteral("Sleva pro obor firmy %1").arg(i),
                                QStringLiteral("Sleva v % pro firmy oboru %1").arg(i))
                                  .vRozsahu(0, 100));
              return p;
          }(),
          parent) {}

// --- revenue groups --------------------------------------------------------------------------

TFormulVynSkup::TFormulVynSkup(Table& vynSkup, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulVynSkup"), vynSkup,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Výnosové skupiny"), "PC_VynSkup");
              c.searchItems = {{QStringLiteral("&Císlo výn.skup."), QStringLiteral("PC_VynSkup")}};
              c.printItems = {{QStringLiteral("&Seznam výn.skupin"),
                               QStringLiteral("ciselnik\\VynSkupSezn"),
                               {}}};
              c.printManagerPrefix = QStringLiteral("PrVS_");
              return c;
          }(),
          {P("PC_VynSkup", "Číslo výn.skup.", "Číslo výnosové skupiny 1 - 999").vRozsahu(1, 999),
           {"Popis", "Popis",
            "Popis výnosové skupiny; první slovo seskupuje skupiny ve stromu výrobků"}},
          parent) {}

// --- currencies ------------------------------------------------------------------------------

TFormulZeme::TFormulZeme(Table& meny, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulZeme"), meny,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Měny"), "Platnost_Od;KOD_Meny");
              c.searchItems = {{QStringLiteral("&Název"), QStringLiteral("Nazev")}};
              c.printItems = {
                  {QStringLiteral("&Seznam měn"), QStringLiteral("ciselnik\\ZemeSezn"), {}}};
              c.printManagerPrefix = QStringLiteral("PrMena_");
              return c;
          }(),
          {{"Platnost_Od", "Platnost Od", "Kurs platí od tohoto dne"},
           P("KOD_Meny", "Kód měny", "Mezinárodní třípísmenný kód měny").velkaPismena(),
           {"KOD_Zeme", "Kód země", "Kód země"},
           {"Nazev", "Název", "Země a popis měny"},
           {"Mena", "Popis měny", "Místní název měny"},
           {"Kurs", "Kurs", "Kč za počet jednotek měny daný koeficientem"},
           {"Zaokr", "Zaokrouhlení", "Zaokrouhlení dokladů v této měně"},
           {"Kurs_EUR", "Kurs k EUR", "Pevný přepočítací kurs k euru"},
           {"Koef", "&Koeficient", "Počet jednotek měny, pro který platí kurs"}},
          parent) {}

// --- code designations -----------------------------------------------------------------------

TFormulKodOzn1::TFormulKodOzn1(Table& kodOzn1, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulKodOzn1"), kodOzn1,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Kódové označení 1"), "Kod_Ozn1");
              c.searchItems = {{QStringLiteral("&Hledej"), QStringLiteral("Kod_Ozn1")}};
              c.searchMenuIsItem = true;
              c.sortItems = {{QStringLiteral("&Kódové označení"), QStringLiteral("Kod_Ozn1")}};
              c.printManagerPrefix = QStringLiteral("PrKO1_");
              c.openErrorNotice = QStringLiteral("Opište číslo chyby a kontaktujte Velmarka");
              return c;
          }(),
          {{"Kod_Ozn1", "Kódové označení", "Kódové označení výrobku"},
           {"Popis", "Popis", "Popis kódového označení"},
           {"Poznamka", "Poznámka", "Poznámka - libovolný text", B::Memo}},
          parent) {}

TFormulKodOzn2::TFormulKodOzn2(Table& kodOzn2, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulKodOzn2"), kodOzn2,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Kódové označení 2"), "Kod_Ozn2");
              c.printManagerPrefix = QStringLiteral("PrKO2_");
              return c;
          }(),
          {{"Kod_Ozn2", "Kódové označení", "Druhé kódové označení výrobku"},
           {"Popis", "Popis", "Popis kódového označení"},
           {"Poznamka", "Poznámka", "Poznámka - libovolný text", B::Memo}},
          parent) {}

// --- customs tariff --------------------------------------------------------------------------

TFormulCelSaz::TFormulCelSaz(Table& clo, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulCelSaz"), clo,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Vstup celního sazebníku"), "Cis_celsaz");
              c.searchItems = {{QStringLiteral("&Celní číslo"), QStringLiteral("Cis_celsaz")}};
              // The character-printer list while character printing is set on now.
              c.printItems = {
                  {QStringLiteral("&Seznam čísel celního sazebníku"), {}, [](RegisterForm&) {
                       return SablonaCelnihoSazebniku(nastaveniProgramu().ZnTisk);
                   }}};
              c.newHasF5 = false;
              c.escapeQuestion = QStringLiteral("Chceš opravdu skončit bez záznamu ?");
              return c;
          }(),
          {{"Cis_celsaz", "Číslo cel.saz.", "Osmimístné číslo celního sazebníku"},
           {"D_kod",
            "Doplňkový kód",
            "Doplňkový kód (lze zapsat i jiný)",
            B::SeznamAJine,
            {"", "00", "01", "90"}},
           {"Nazev", "Název", "Popis skupiny celního sazebníku"},
           {"Jednotka",
            "Jednotka",
            "Jednotka celního sazebníku",
            B::Seznam,
            {"NAR", "UNS", "TNN", "MTQ", "NPR", "MTR", "MTK", ""}},
           P("Clo", "Clo", "Clo v % pro nákupní cenu výrobků").vRozsahu(0, 100),
           P("DPH", "DPH", "Sazba DPH v %", B::SeznamAJine, {"0", "5", "22"}).vRozsahu(0, 100),
           {"Sleva_Eur", "Sleva EUR", "Skupina má preferenci", B::Zaskrtnuti},
           P("Sazba_EUR", "Sazba EUR", "Preferenční sleva v % z cla").vRozsahu(0, 100),
           {"Poznamka", "Poznámka", "Poznámka - libovolný text", B::Memo},
           {"Spotr_Dan", "Spotřební daň", "Spotřební daň za jednotku objemu"}},
          parent) {}

// --- document kinds --------------------------------------------------------------------------

TFormulDruhUctu::TFormulDruhUctu(Table& druhyUctu, Table* cisUctu, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulDruhUctu"), druhyUctu,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Vstup druhu účtu"), "Typ_Uctu;Druh");
              c.searchItems = {{QStringLiteral("&Typ účtu"), QStringLiteral("Typ_Uctu")}};
              c.printItems = {{QStringLiteral("&Seznam čísel účtů"),
                               QStringLiteral("ciselnik\\CisUctuSezn"),
                               {}}};
              return c;
          }(),
          {{"Typ_Uctu",
            "Typ účtu",
            "DL,FV,3-DLP,4-FaP,A-Výdejka,C-Prijemka,J-Kasa,K-Kasa uz.,OV;OP;FZ-zál.fav",
            B::Seznam,
            {"3", "4", "A", "C", "DL", "FV", "FZ", "J", "K", "OP", "OV"}},
           P("Druh", "Druh", "Libovolný třípísmenný kód druhu - povinné").velkaPismena(),
           {"Popis", "Popis", "Popis druhu účtu"},
           {"Druh_ceny", "Druh ceny", kDruhyCen, B::Seznam, {"IP", "MO", "NC", "VO"}},
           {"ZaokrPol", "Zaokrouhlení cen", "Zaokrouhlení cen položek"},
           {"ZaokrHla", "Zaokrouhlení účtu", "Zaokrouhlení celkové částky účtu"}},
          parent),
      cisUctu_(cisUctu) {}

qint64 TFormulDruhUctu::DalsiCisloUctu(const QString& typ, const QString& druh, qint64 cislo) {
    if (!cisUctu_) return -1;
    const bool otevrena = cisUctu_->active();
    if (!otevrena) cisUctu_->open();
    const qint64 n = brix::DalsiCisloUctu(*cisUctu_, typ, druh, cislo);
    if (!otevrena) cisUctu_->close();
    return n;
}

// --- warehouses ------------------------------------------------------------------------------

TFormulSklad::TFormulSklad(Table& sklady, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulSklad"), sklady,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Sklady"), "Cis_Sklad");
              c.searchItems = {{QStringLiteral("&Název"), QStringLiteral("Nazev")}};
              c.printItems = {
                  {QStringLiteral("&Seznam skladů"), QStringLiteral("ciselnik\\SkladSezn"), {}}};
              return c;
          }(),
          {{"Cis_Sklad", "Číslo skladu", "Číslo skladu"},
           {"Nazev", "Název", "Název skladu"},
           {"Ulice", "Ulice", "Ulice"},
           {"Mesto", "Město", "Město"},
           P("PSC", "PSČ", "Poštovní směrovací číslo").tvar(F::Psc),
           {"Cis_Stred", "Středisko", "Středisko skladu (F3 - výběr)"},
           {"Banka", "Banka", "Banka"},
           {"Ucet", "Účet", "Číslo účtu"},
           {"Sm_kod", "Směr.kód", "Směrový kód banky"},
           {"Tlf", "Telefon", "Telefon"},
           {"Fax", "Fax", "Fax"},
           {"Kontakt", "Kontakt", "Kontaktní osoba"},
           {"Cis_Obor", "Obor", "Rabatní třída 1 - 20 pro ceny VO a MO dokladů skladu", B::Text},
           {"Druh_Ceny",
            "Druh ceny",
            "IP-skladová cena, MO-maloobchodní, NC-nákupní, VO-velkoobchodní",
            B::Seznam,
            {"IP", "MO", "NC", "VO"}}},
          parent) {
    if (EditBox* stred = editBox(QStringLiteral("Cis_Stred"))) {
        stred->setChooser(true);
        connect(stred, &EditBox::chooserRequested, this, [this, stred] {
            QString klic;
            if (vyberStrediska_ && vyberStrediska_(klic)) stred->setText(klic);
            stred->lineEdit()->setFocus();
        });
    }
}

bool TFormulSklad::kontrolaVstupu() {
    EditBox* obor = editBox(QStringLiteral("Cis_Obor"));
    QString zprava;
    if (OborSkladu(obor->text(), &zprava)) return true;
    Platform::current().error(zprava);
    obor->lineEdit()->setFocus();
    return false;
}

// --- cost centres ----------------------------------------------------------------------------

TFormulStredGrid::TFormulStredGrid(Table& stredisko, QWidget* parent)
    : TFormulCiselnik(
          QStringLiteral("TFormulStredGrid"), stredisko,
          [] {
              RegisterConfig c = zaklad(QStringLiteral("Vstup středisek"), "Stredisko");
              c.searchItems = {{QStringLiteral("&Středisko"), QStringLiteral("Stredisko")}};
              c.printItems = {{QStringLiteral("&Seznam středisek"),
                               QStringLiteral("\\ciselnik\\StredSezn"),
                               {}}};
              c.printManagerPrefix = QStringLiteral("PrStred_");
              c.filterItem = false; // "&Filtr" is in the menu bar itself
              return c;
          }(),
          {{"Stredisko", "Středisko", "4 znakové označení střediska"},
           {"Nazev", "Název", "Název střediska"},
           {"Ulice", "Ulice", "Ulice"},
           {"Mesto", "Město", "Město"},
           P("PSC", "PSČ", "Poštovní směrovací číslo").tvar(F::Psc),
           {"Telefon", "Telefon", "Telefon"},
           {"Path_Export", "Cesta pro export", "Adresář, do kterého středisko exportuje"}},
          parent) {
    MenuFiltrHlavni = new QAction(QStringLiteral("&Filtr"), this);
    MainMenu->insertAction(MenuTisk ? MenuTisk->menuAction() : nullptr, MenuFiltrHlavni);
    connect(MenuFiltrHlavni, &QAction::triggered, this, [this] { filtrClick(); });
    addBrowseAction(MenuFiltrHlavni);
}

} // namespace brix
