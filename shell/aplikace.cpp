#include "aplikace.h"

#include "cis_rada_form.h"
#include "cisla_uctu_form.h"
#include "database.h"
#include "datacis.h"
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

    menu_ = std::make_unique<TFormMenu>();
    auto about = std::make_unique<TAboutBox>();
    udajeFirmy_ = std::make_unique<TFormulUdajeFirmy>(koren_);

    about->nastavSplash(true);
    about->show();
    about->repaint();
    QApplication::processEvents();

    const bool ok = vytvorSdileneFormulare();

    about->nastavSplash(false);
    about->close();
    about.reset();
    if (!ok) return false;

    propojPrikazy();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        menu_->move(s->availableGeometry().center() - menu_->rect().center());
    menu_->show();
    return prvniZobrazeni();
}

bool Aplikace::vytvorSdileneFormulare() {
    try {
        PripravaKorene p = PripravDatovyKoren(koren_);
        db_ = std::move(p.db);
        dm_ = std::make_unique<TDataCis>(*db_);
        sklad::InstalujPravidlaSkladovychDokladu(*dm_, sklad::NastaveniPohybuBehu);
        if (!MaZamestnance(*dm_)) {
            TFormulPrvniStart prvni(*dm_);
            if (Platform::current().execModal(prvni) != QDialog::Accepted) return false;
        }
        // After the first start, which may have brought the old program's files along.
        if (p.novy) udajeFirmy_->nacti();
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
        zamestnanci_->MenuPristupy->setEnabled(login.moduly().contains(QStringLiteral("SPRAVCE")));
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
    return true;
}

void Aplikace::propojPrikazy() {
    TFormMenu* m = menu_.get();
    m->nastavObsluhu(prikaz::Zasuvka, [] { ZasuvkaOtevri(); });
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
    m->nastavObsluhu(prikaz::CiselneRady, [this, m] {
        TFormulCis_Rada f(*dm_, m);
        f.showRegister();
    });
    m->nastavObsluhu(prikaz::Zamestnanci, [this] { zamestnanci_->showRegister(); });
    m->nastavObsluhu(prikaz::Nastaveni, [this] { Platform::current().execModal(*nastaveni_); });
    m->nastavObsluhu(prikaz::NastaveniFirmy, [this] {
        udajeFirmy_->nacti();
        Platform::current().execModal(*udajeFirmy_);
    });
    m->nastavObsluhu(prikaz::OAplikaci, [m] {
        TAboutBox about(m);
        Platform::current().execModal(about);
    });
}

} // namespace brix
