#include "propojeni.h"

#include "datacis.h"
#include "formul_firma.h"
#include "formul_vyr_sql.h"
#include "formul_vyrobky.h"
#include "formulare.h"
#include "prikazy.h"
#include "util/nastaveni.h"
#include "vyber_vyrobek.h"

#include <QPointer>
#include <QWidget>

namespace brix {

namespace {
QPointer<TCiselniky> g_ciselniky;
} // namespace

TCiselniky::TCiselniky(QWidget& okno, TDataCis& dm) : QObject(&okno), okno_(okno), dm_(dm) {
    g_ciselniky = this;
}

TCiselniky::~TCiselniky() = default;

bool TCiselniky::vyber(RegisterForm& f, const QString& text, const QString& pole) {
    f.setChooserMode(true, text, pole);
    const bool ok = f.showRegister() == QDialog::Accepted;
    f.setChooserMode(false);
    return ok;
}

TCiselniky* TCiselniky::instance() {
    return g_ciselniky.data();
}

TDataCis& TCiselniky::dataCis() {
    return dm_;
}

template <class F, class... A> F& TCiselniky::form(std::unique_ptr<F>& slot, A&&... args) {
    if (!slot) slot = std::make_unique<F>(std::forward<A>(args)..., &okno_);
    return *slot;
}

TFormulSkonto& TCiselniky::skonto() {
    return form(skonto_, *dataCis().TableSkonto);
}
TFormulObor& TCiselniky::obor() {
    return form(obor_, *dataCis().TableObor);
}
TFormulRabSkup& TCiselniky::rabSkup() {
    return form(rabSkup_, *dataCis().TableRabSkup);
}
TFormulVynSkup& TCiselniky::vynSkup() {
    return form(vynSkup_, *dataCis().TableVynSkup);
}
TFormulZeme& TCiselniky::zeme() {
    return form(zeme_, *dataCis().TableZeme);
}
TFormulKodOzn1& TCiselniky::kodOzn1() {
    return form(kodOzn1_, *dataCis().TableKodOzn1);
}
TFormulKodOzn2& TCiselniky::kodOzn2() {
    return form(kodOzn2_, *dataCis().TableKodOzn2);
}
TFormulCelSaz& TCiselniky::celSaz() {
    return form(celSaz_, *dataCis().TableClo);
}
TFormulDruhUctu& TCiselniky::druhUctu() {
    TDataCis& d = dataCis();
    return form(druhUctu_, *d.TableDruhUctu, d.TableCisUctu);
}
TFormulSklad& TCiselniky::sklad() {
    const bool novy = !sklad_;
    TFormulSklad& f = form(sklad_, *dataCis().TableSklady);
    if (novy)
        f.setVyberStrediska([this](QString& klic) {
            TFormulStredGrid& s = stred();
            s.setChooserMode(true);
            if (s.showRegister() != QDialog::Accepted) return false;
            klic = s.table().field(QStringLiteral("Stredisko")).asString();
            return true;
        });
    return f;
}
TFormulStredGrid& TCiselniky::stred() {
    return form(stred_, *dataCis().TableStred);
}
TFormulFirma& TCiselniky::firmy() {
    const bool novy = !firmy_;
    TFormulFirma& f = form(firmy_, dataCis());
    if (novy)
        f.setVybery({[this] { return vyber(skonto()); }, [this] { return vyber(obor()); },
                     [this] { return vyberZamestnance_ && vyberZamestnance_(); },
                     [this](const QString& kod) {
                         return vyber(zeme(), kod, QStringLiteral("KOD_Meny"));
                     }});
    return f;
}

TFormulVyrobky& TCiselniky::vyrobky() {
    const bool novy = !vyrobky_;
    TFormulVyrobky& f = form(vyrobky_, dataCis());
    if (novy) {
        // Each code list as a chooser in the order of its key, with the typed text searched in
        // its key column.
        auto poCisle = [this](RegisterForm& r, const QString& pole) {
            return [this, &r, pole](const QString& text) {
                if (r.table().active()) r.table().setIndexName(QString());
                return vyber(r, text, pole);
            };
        };
        TFormulVyrobky::Vybery v;
        v.firma = [this](const QString& text) { return firmy().VyberFirmu(text); };
        v.rabSkup = poCisle(rabSkup(), QStringLiteral("Cis_RabSkup"));
        v.vynSkup = poCisle(vynSkup(), QStringLiteral("PC_VynSkup"));
        v.mena = poCisle(zeme(), QStringLiteral("KOD_Meny"));
        v.celSaz = poCisle(celSaz(), QStringLiteral("Cis_celsaz"));
        v.kodOzn1 = poCisle(kodOzn1(), QStringLiteral("Kod_Ozn1"));
        v.kodOzn2 = poCisle(kodOzn2(), QStringLiteral("Kod_Ozn2"));
        // A component's product is looked up by its key without moving the product being
        // edited: the quick search gives the key for the component's box.
        v.rychleHledani = [this, &f](const QString& text) {
            return RychleHledaniVyrobku(FormulVyrSQL(f, dataCis()), text, true);
        };
        f.setVybery(std::move(v));
    }
    return f;
}

VyberVyrobku& TCiselniky::volbaVyrobku() {
    if (!volbaVyrobku_) volbaVyrobku_ = VolbaVyrobkuFormulari(vyrobky(), dataCis());
    return *volbaVyrobku_;
}

TCiselniky& PropojCiselniky(QWidget& hlavniOkno, TDataCis& dm, const NastavObsluhu& nastav) {
    auto* c = new TCiselniky(hlavniOkno, dm);
    // Each command shows its list in normal mode: the table in the list's order, all records.
    auto ukaz = [](RegisterForm& f) {
        f.setChooserMode(false);
        f.showRegister();
    };
    c->obor();
    c->firmy();
    c->vynSkup();
    c->vyrobky();
    // With the quick product search switched on in the settings it is there from the start.
    if (nastaveniProgramu().OkVyrSQL) FormulVyrSQL(c->vyrobky(), dm);
    nastav(prikaz::Vyrobky, [c, ukaz] { ukaz(c->vyrobky()); });
    nastav(prikaz::Firmy, [c, ukaz] { ukaz(c->firmy()); });
    nastav(prikaz::Obory, [c, ukaz] { ukaz(c->obor()); });
    nastav(prikaz::Skonto, [c, ukaz] { ukaz(c->skonto()); });
    nastav(prikaz::RabatniTabulka, [c, ukaz] { ukaz(c->rabSkup()); });
    nastav(prikaz::VynosoveSkupiny, [c, ukaz] { ukaz(c->vynSkup()); });
    nastav(prikaz::Meny, [c, ukaz] { ukaz(c->zeme()); });
    nastav(prikaz::CelniSazebnik, [c, ukaz] { ukaz(c->celSaz()); });
    nastav(prikaz::DruhyUctu, [c, ukaz] { ukaz(c->druhUctu()); });
    nastav(prikaz::Strediska, [c, ukaz] { ukaz(c->stred()); });
    return *c;
}

} // namespace brix
