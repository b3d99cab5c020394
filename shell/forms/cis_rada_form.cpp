#include "cis_rada_form.h"

#include "datacis.h"
#include "util/nastaveni.h"

#include <QMenu>

namespace brix {

namespace {

Table& rady(TDataCis& dm) {
    return TDataCis::sdilena(dm.TableCis_Rada, QStringLiteral("Ciselnik\\Cis_rada"));
}

} // namespace

QString TFormulCis_Rada::sablonaSeznamu() {
    return nastaveniProgramu().ZnTisk ? QStringLiteral("ciselnik\\CisRadaSeznZ.pts")
                                      : QStringLiteral("ciselnik\\CisRadaSezn.pts");
}

RegisterConfig TFormulCis_Rada::konfigurace() {
    RegisterConfig c;
    c.caption = QStringLiteral("Číselné řady");
    c.order = QStringLiteral("Cis_Rada");
    c.columns = {{QStringLiteral("Cis_Rada"), QStringLiteral("Číselná řada"), 0},
                 {QStringLiteral("Popis"), QStringLiteral("Popis"), 0},
                 {QStringLiteral("Prvni_Cis"), QStringLiteral("První číslo"), 0}};
    c.searchItems = {{QStringLiteral("&Rada"), QStringLiteral("Cis_Rada")}};
    c.printItems = {{QStringLiteral("&Seznam číselných řad"), QString(),
                     [](RegisterForm&) { return sablonaSeznamu(); }}};
    c.escapeQuestion = QStringLiteral("Chceš opravdu skončit bez záznamu ?");
    return c;
}

TFormulCis_Rada::TFormulCis_Rada(TDataCis& dm, QWidget* parent)
    : RegisterForm(rady(dm), konfigurace(), parent) {
    setObjectName(QStringLiteral("FormulCis_Rada"));
    if (MenuHledej) MenuHledej->setTitle(QStringLiteral("&Hledat"));
    EditCis_Rada = addField(QStringLiteral("Cis_Rada"), QStringLiteral("Číselná řada"),
                            QStringLiteral("Označení číselné řady výrobků"));
    EditCis_Rada->setUpperCase(true); // the key products name their series by
    EditPopis = addField(QStringLiteral("Popis"), QStringLiteral("Popis"),
                         QStringLiteral("Popis číselné řady"));
    EditPrvni_Cis = addField(QStringLiteral("Prvni_Cis"), QStringLiteral("První číslo"),
                             QStringLiteral("Poslední číslo výrobku přidělené z této řady"));
    EditPrvni_Cis->setRange(0, 2147483647.0);
}

} // namespace brix
