#include "aplikace.h"

#include "cis_rada_form.h"
#include "cisla_uctu_form.h"
#include "database.h"
#include "datacis.h"
#include "formul_iprij_grid.h"
#include "formul_var_vyr_ks.h"
#include "formulare.h"
#include "hlavni_okno.h"
#include "koren.h"
#include "nastaveni_form.h"
#include "o_aplikaci.h"
#include "platform.h"
#include "pravidla_dokladu.h"
#include "prihlaseni.h"
#include "prihlaseni_dlg.h"
#include "prikazy.h"
#include "propojeni.h"
#include "reportwindows.h"
#include "storage_error.h"
#include "util/message_hook.h"
#include "util/nastaveni.h"
#include "varianty.h"
#include "vstup/register_tools.h"
#include "zamestnanci.h"

#include <QApplication>
#include <QScreen>

namespace brix {

void PropojZpravySPlatformou() {
    setMessageHook([](MessageKind kind, const QString& cap, const QString& text) {
        MessageBox box;
        box.caption = cap;
        box.text = text;
        box.icon = kind == MessageKind::Error     ? MessageIcon::Error
                   : kind == MessageKind::Warning ? MessageIcon::Warning
                                                  : MessageIcon::Information;
        box.buttons = Button::Ok;
        Platform::current().messageBox(box);
    });
}

Aplikace::Aplikace(const QString& datovyKoren, const QStringList& argumenty)
    : koren_(datovyKoren), argumenty_(argumenty) {}

Aplikace::~Aplikace() {
    varianty_.reset();
    zamestnanci_.reset();
    nastaveni_.reset();
    udajeFirmy_.reset();
    menu_.reset();
    dm_.reset();
    db_.reset();
}

bool Aplikace::spust() {
    // The machine configuration was read with the platform, before any form.
    PropojZpravySPlatformou();
    InstalujNastrojeRegistru();
    report::installReportWindows();
    Verbose() = JeVerbose(argumenty_);

    // The data root is ready before any form reads its files: a new or empty directory gets
    // its settings files first, so that no form misses them.
    try {
        PripravaKorene p = PripravDatovyKoren(koren_);
        pripraveno_ = std::move(p.db);
        novyKoren_ = p.novy;
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }

    menu_ = std::make_unique<TFormMenu>();
    auto about = std::make_unique<TAboutBox>();
    udajeFirmy_ = std::make_unique<TFormulUdajeFirmy>(koren_);

    about->nastavSplash(true);
    about->show();
    about->repaint();
    QApplication::processEvents();

    const bool ok = vytvorSdileneFormulare(about.get());

    about->nastavSplash(false);
    about->close();
    about.reset();
    if (!ok) return false;

    propojPrikazy();
    if (!restoreFormGeometry(*menu_)) placeForm(*menu_, menu_->size());
    menu_->show();
    return prvniZobrazeni();
}

void Aplikace::obnovStav() {
    if (menu_) menu_->zobrazStav(PrihlasenyUzivatel(), udajeFirmy().Nazev, koren_);
}

bool Aplikace::vytvorSdileneFormulare(QWidget* splash) {
    try {
        db_ = std::move(pripraveno_);
        dm_ = std::make_unique<TDataCis>(*db_);
        sklad::InstalujPravidlaSkladovychDokladu(*dm_, sklad::NastaveniPohybuBehu);
        InstalujVraceniVariant(*dm_);
        varianty_ = std::make_unique<TFormulVarVyrKS>(*dm_);
        if (!MaZamestnance(*dm_)) {
            if (splash) splash->hide();
            TFormulPrvniStart prvni(*dm_);
            if (Platform::current().execModal(prvni) != QDialog::Accepted) return false;
            // Then the own company, which every print carries; "&Zruš" leaves it for later.
            // Data taken over from the old program brought their own.
            if (!prvni.prevedeno()) {
                udajeFirmy_->nacti();
                Platform::current().execModal(*udajeFirmy_);
            }
        }
        // After the first start, which may have brought the old program's files along.
        if (novyKoren_) udajeFirmy_->nacti();
        zamestnanci_ = std::make_unique<TFormulZamestGrid>(*dm_, false);
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
        return false;
    }
    nastaveni_ = std::make_unique<TFormulNastaveni>(koren_);
    if (nastaveni_->stavNacteni() == StavNacteni::Chybi)
        Platform::current().error(QStringLiteral("Soubor %1 nelze otevřít, platí výchozí "
                                                 "nastavení.")
                                      .arg(QString::fromUtf16(kSouborNastaveni)));
    return true;
}

bool Aplikace::prvniZobrazeni() {
    Platform& p = Platform::current();
    NastaveniProgramu& n = nastaveniProgramu();
    if (n.Tiskarna >= 0 && n.Tiskarna < p.printers().size() && !p.selectPrinter(n.Tiskarna))
        p.error(QStringLiteral("Nelze inicializovat nastavenou tiskárnu"));
    if (n.PoklZasuvka) ZasuvkaInit();

    {
        TPasswordDlg login(*dm_, menu_.get());
        if (p.execModal(login) != QDialog::Accepted) {
            menu_->close();
            return false;
        }
        menu_->povolPrava(login.moduly());
        zamestnanci_->nastavSpravce(login.moduly().contains(kPravoSpravce));
        try {
            if (dm_->TableNast_Prgm) {
                nastaveniTabulky() = nactiNastaveniTabulky(*dm_->TableNast_Prgm);
                nastPrNacten_ = true;
            }
        } catch (const StorageError& e) {
            p.error(e.message());
        }
        if (nastaveniTabulky().maTitle && !nastaveniTabulky().TITLE.trimmed().isEmpty())
            menu_->setWindowTitle(nastaveniTabulky().TITLE);
        priponaZnakovehoTisku().urci(n.ZnTisk);
    }
    obnovStav();
    return true;
}

void Aplikace::propojPrikazy() {
    TFormMenu* m = menu_.get();
    m->nastavObsluhu(prikaz::Zasuvka, [this] {
        if (ZasuvkaOtevri()) return;
        // Without a drawer the command says so the first time; then it only beeps.
        if (zasuvkaHlasena_) {
            Platform::current().beep();
            return;
        }
        zasuvkaHlasena_ = true;
        Platform::current().information(
            QStringLiteral("Pokladní zásuvka není připojena nebo není nastavena. Zařízení "
                           "zásuvky se zadává v konfiguraci počítače (oddíl [Zasuvka])."));
    });
    m->nastavObsluhu(prikaz::Konec, [m] { m->close(); });
    m->nastavObsluhu(prikaz::PrvniCislaUctu, [this, m] {
        TFormulCisUctu f(*dm_, m);
        Platform::current().execModal(f);
    });
    TCiselniky& ciselniky =
        PropojCiselniky(*m, *dm_, [m](const QString& id, std::function<void()> obsluha) {
            m->nastavObsluhu(id, std::move(obsluha));
        });
    // The partners' dealer is chosen from the employees, by surname.
    ciselniky.setVyberZamestnance([this] {
        if (dm_->TableZamest && dm_->TableZamest->active())
            dm_->TableZamest->setIndexName(QString());
        return TCiselniky::vyber(*zamestnanci_, QString(), QStringLiteral("PRIJMENI"));
    });
    // The receipt register, made when first opened and kept for the run.
    auto prijemky = std::make_shared<std::unique_ptr<TFormulIPrijGrid>>();
    m->nastavObsluhu(prikaz::Prijemka, [this, m, prijemky, c = &ciselniky] {
        if (!*prijemky) {
            *prijemky = std::make_unique<TFormulIPrijGrid>(
                *dm_, c->volbaVyrobku(), [] { return PrihlasenyUzivatel(); }, m);
            (*prijemky)->setVybery(
                {[c](const QString& t) { return TCiselniky::vyber(c->druhUctu(), t); },
                 [this](const QString& t) {
                     return TCiselniky::vyber(*zamestnanci_, t, QStringLiteral("PRIJMENI"));
                 },
                 [c](const QString& t) { return TCiselniky::vyber(c->sklad(), t); }});
        }
        (*prijemky)->showRegister();
    });
    m->nastavObsluhu(prikaz::CiselneRady, [this, m] {
        TFormulCis_Rada f(*dm_, m);
        f.showRegister();
    });
    m->nastavObsluhu(prikaz::Zamestnanci, [this] {
        zamestnanci_->showRegister();
        obnovStav(); // the logged-in employee may have renamed himself
    });
    m->nastavObsluhu(prikaz::Nastaveni, [this] { Platform::current().execModal(*nastaveni_); });
    m->nastavObsluhu(prikaz::NastaveniFirmy, [this] {
        udajeFirmy_->nacti();
        Platform::current().execModal(*udajeFirmy_);
        obnovStav();
    });
    m->nastavObsluhu(prikaz::OAplikaci, [m] {
        TAboutBox about(m);
        Platform::current().execModal(about);
    });
}

} // namespace brix
