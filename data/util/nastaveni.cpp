#include "nastaveni.h"

#include "codec.h"
#include "ini_file.h"
#include "message_hook.h"
#include "path_resolver.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace brix {

namespace {

const QString kChyba = QStringLiteral("Chyba");

void chyba(const QString& text) {
    showMessage(MessageKind::Error, kChyba, text);
}

// The booleans of the file: key as written, the value and the form's box.
struct BoolKey {
    const char* key;
    bool NastaveniProgramu::*value;
    bool PoleNastaveni::*box;
};

const BoolKey kBoolKeys[] = {
    {"VARTISKUCTUNASTAV", &NastaveniProgramu::VARTISKUCTUNASTAV, &PoleNastaveni::VARTISKUCTUNASTAV},
    {"OkKontrolaSkladu", &NastaveniProgramu::OkKontrolaSkladu, &PoleNastaveni::OkKontrolaSkladu},
    {"ZahrMeny", &NastaveniProgramu::ZahrMeny, &PoleNastaveni::ZahrMeny},
    {"PoklZasuvka", &NastaveniProgramu::PoklZasuvka, &PoleNastaveni::PoklZasuvka},
    {"OkVyrSQL", &NastaveniProgramu::OkVyrSQL, &PoleNastaveni::OkVyrSQL},
    {"ZnTisk", &NastaveniProgramu::ZnTisk, &PoleNastaveni::ZnTisk},
    {"AutPrecislPol", &NastaveniProgramu::AutPrecislPol, &PoleNastaveni::AutPrecislPol},
    {"UzFaTiskObr", &NastaveniProgramu::UzFaTiskObr, &PoleNastaveni::UzFaTiskObr},
    {"MBCenaPol", &NastaveniProgramu::MBCenaPol, &PoleNastaveni::MBCenaPol},
    {"PRENOSUZIVATEL", &NastaveniProgramu::PRENOSUZIVATEL, &PoleNastaveni::PRENOSUZIVATEL},
};

struct TextKey {
    const char* key;
    QString NastaveniProgramu::*value;
    QString PoleNastaveni::*field;
};

const TextKey kTextKeys[] = {
    {"DLVar", &NastaveniProgramu::DLVar, &PoleNastaveni::DLVar},
    {"FaVVar", &NastaveniProgramu::FaVVar, &PoleNastaveni::FaVVar},
    {"PoklOVar", &NastaveniProgramu::PoklOVar, &PoleNastaveni::PoklOVar},
};

bool keyIs(const QString& upperKey, const char* key) {
    return upperKey == QString::fromLatin1(key).toUpper();
}

std::optional<int> wholeNumber(QStringView text) {
    bool ok = false;
    int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

// A typed text as one line of a file: a line break would split it and shift what follows.
QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString money(Decimal value) {
    return value.toShortString(QLatin1Char(','));
}

// Reads the lines of a file of the system under the data root.
StavNacteni readLines(const QString& root, const char16_t* systemPath, QStringList* lines) {
    ResolvedPath resolved = resolvePath(root, QStringView(systemPath));
    if (!resolved.exists) return StavNacteni::Chybi;
    QString error;
    if (!readTextLines(resolved.path, lines, &error)) {
        chyba(error);
        return StavNacteni::Necitelny;
    }
    return StavNacteni::Nacteno;
}

// Rewrites a file of the system under the data root, creating its directory when missing.
bool writeLines(const QString& root, const char16_t* systemPath, const QStringList& lines) {
    ResolvedPath resolved = resolvePath(root, QStringView(systemPath));
    if (!resolved.ok()) {
        chyba(resolved.error);
        return false;
    }
    QString dir = QFileInfo(resolved.path).absolutePath();
    if (!QDir().mkpath(dir)) {
        chyba(QStringLiteral("Adresář %1 nelze vytvořit").arg(dir));
        return false;
    }
    QString error;
    if (!writeTextLines(resolved.path, lines, &error)) {
        chyba(error);
        return false;
    }
    return true;
}

} // namespace

std::optional<QVector<Decimal>> ctiSazbyDPH(QStringView text) {
    static const QRegularExpression oddelovac(QStringLiteral("\\s*;\\s*|,\\s+|\\s+"));
    QVector<Decimal> sazby;
    for (const QString& kus : text.toString().trimmed().split(oddelovac, Qt::SkipEmptyParts)) {
        const auto s = Decimal::parse(kus);
        if (!s || *s < Decimal(0) || *s > Decimal(100)) return std::nullopt;
        if (!sazby.contains(*s)) sazby.push_back(*s);
    }
    if (sazby.isEmpty()) return std::nullopt;
    return sazby;
}

QString textSazebDPH(const QVector<Decimal>& sazby) {
    QStringList texty;
    for (Decimal s : sazby)
        texty << s.toShortString(QLatin1Char(','));
    return texty.join(QStringLiteral(", "));
}

bool NastaveniProgramu::hledaniDleCislaVyrobku() const {
    return HlKlicVyr.compare(QLatin1String("CIS_VYR"), Qt::CaseInsensitive) == 0;
}

PoleNastaveni poleNastaveni(const NastaveniProgramu& n) {
    PoleNastaveni p;
    p.cislaVyrobku = n.hledaniDleCislaVyrobku();
    for (const BoolKey& b : kBoolKeys)
        p.*b.box = n.*b.value;
    for (const TextKey& t : kTextKeys)
        p.*t.field = n.*t.value;
    p.ZaokrCen = money(n.ZaokrCen);
    p.Zaokr_SklKar = money(n.Zaokr_SklKar);
    p.FAV_POCET_TISKU = QString::number(n.FAV_POCET_TISKU);
    p.DL_POCET_TISKU = QString::number(n.DL_POCET_TISKU);
    p.Tiskarna = n.Tiskarna;
    p.SazbyDPH = textSazebDPH(n.SazbyDPH);
    return p;
}

void nactiRadkyNastaveni(const QStringList& radky, NastaveniProgramu& n, PoleNastaveni* pole) {
    PoleNastaveni ignored;
    PoleNastaveni& p = pole ? *pole : ignored;
    for (const QString& line : radky) {
        if (line.isEmpty()) continue;
        qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            chyba(QStringLiteral("Nastavení :") + line +
                  QStringLiteral(" nemá rovnítko, nebude použito"));
            continue;
        }
        const QString key = line.left(eq).toUpper();
        const QString value = line.mid(eq + 1).toUpper();
        auto invalid = [&] {
            chyba(QStringLiteral("Nastavení :") + line +
                  QStringLiteral(" nemá platnou hodnotu, nebude použito"));
        };

        if (key == QLatin1String("_HLKLICVYR")) {
            n.HlKlicVyr = value.left(10);
            p.cislaVyrobku = n.hledaniDleCislaVyrobku();
            continue;
        }
        bool done = false;
        for (const BoolKey& b : kBoolKeys) {
            if (!keyIs(key, b.key)) continue;
            p.*b.box = value == QLatin1String("TRUE");
            n.*b.value = p.*b.box;
            done = true;
            break;
        }
        for (const TextKey& t : kTextKeys) {
            if (done || !keyIs(key, t.key)) continue;
            p.*t.field = value;
            n.*t.value = value;
            done = true;
        }
        if (done) continue;
        if (key == QLatin1String("ZAOKRCEN")) {
            p.ZaokrCen = value;
            auto step = Decimal::parse(value);
            n.ZaokrCen = step ? *step : Decimal::fromRaw(Decimal::kScale / 10);
        } else if (key == QLatin1String("ZAOKR_SKLKAR")) {
            p.Zaokr_SklKar = value;
            if (auto step = Decimal::parse(value))
                n.Zaokr_SklKar = *step;
            else
                invalid();
        } else if (key == QLatin1String("FAV_POCET_TISKU")) {
            p.FAV_POCET_TISKU = value;
            n.FAV_POCET_TISKU = wholeNumber(value).value_or(1);
        } else if (key == QLatin1String("DL_POCET_TISKU")) {
            p.DL_POCET_TISKU = value;
            n.DL_POCET_TISKU = wholeNumber(value).value_or(1);
        } else if (key == QLatin1String("SAZBYDPH")) {
            if (auto sazby = ctiSazbyDPH(value)) {
                n.SazbyDPH = *sazby;
                p.SazbyDPH = textSazebDPH(*sazby);
            } else {
                invalid();
            }
        } else if (key == QLatin1String("TISKARNA")) {
            if (auto index = wholeNumber(value)) {
                n.Tiskarna = *index;
                p.Tiskarna = *index;
            } else {
                invalid();
            }
        }
        // Any other key is not ours and is ignored.
    }
}

StavNacteni nactiNastaveni(const QString& datovyKoren, NastaveniProgramu& nastaveni,
                           PoleNastaveni* pole) {
    if (pole) *pole = poleNastaveni(nastaveni);
    QStringList lines;
    StavNacteni stav = readLines(datovyKoren, kSouborNastaveni, &lines);
    if (stav == StavNacteni::Nacteno) nactiRadkyNastaveni(lines, nastaveni, pole);
    return stav;
}

bool prevezmiPoleNastaveni(const PoleNastaveni& pole, NastaveniProgramu& n) {
    auto notMoney = [](const QString& text) {
        chyba(QStringLiteral("„%1“ není platné číslo").arg(text));
    };
    auto zaokrCen = Decimal::parse(pole.ZaokrCen);
    if (!zaokrCen) {
        notMoney(pole.ZaokrCen);
        return false;
    }
    auto zaokrSklKar = Decimal::parse(pole.Zaokr_SklKar);
    if (!zaokrSklKar) {
        notMoney(pole.Zaokr_SklKar);
        return false;
    }
    auto count = [](const QString& text) {
        if (auto v = wholeNumber(text)) return *v;
        chyba(QStringLiteral("„%1“ není platné celé číslo").arg(text));
        return 0;
    };
    NastaveniProgramu t = n;
    t.HlKlicVyr = pole.cislaVyrobku ? QStringLiteral("Cis_Vyr") : QStringLiteral("ObjCis");
    for (const BoolKey& b : kBoolKeys)
        t.*b.value = pole.*b.box;
    t.ZaokrCen = *zaokrCen;
    t.Zaokr_SklKar = *zaokrSklKar;
    for (const TextKey& k : kTextKeys)
        t.*k.value = pole.*k.field;
    t.FAV_POCET_TISKU = count(pole.FAV_POCET_TISKU);
    t.DL_POCET_TISKU = count(pole.DL_POCET_TISKU);
    t.Tiskarna = pole.Tiskarna;
    if (auto sazby = ctiSazbyDPH(pole.SazbyDPH)) {
        t.SazbyDPH = *sazby;
    } else if (!pole.SazbyDPH.trimmed().isEmpty()) {
        chyba(QStringLiteral("„%1“ nejsou platné sazby DPH").arg(pole.SazbyDPH));
        return false;
    }
    n = t;
    return true;
}

QStringList radkyNastaveni(const PoleNastaveni& pole, const NastaveniProgramu& prevzate) {
    auto flag = [&](const char* key) {
        for (const BoolKey& b : kBoolKeys)
            if (qstrcmp(b.key, key) == 0)
                return QString::fromLatin1(key) +
                       (pole.*b.box ? QStringLiteral("=True") : QStringLiteral("=False"));
        return QString();
    };
    return {
        QStringLiteral("_HlKlicVyr=") +
            (pole.cislaVyrobku ? QStringLiteral("Cis_Vyr") : QStringLiteral("ObjCis")),
        flag("VARTISKUCTUNASTAV"),
        flag("OkKontrolaSkladu"),
        flag("ZahrMeny"),
        flag("PoklZasuvka"),
        QStringLiteral("ZaokrCen=") + money(prevzate.ZaokrCen),
        QStringLiteral("Zaokr_SklKar=") + money(prevzate.Zaokr_SklKar),
        flag("OkVyrSQL"),
        flag("ZnTisk"),
        flag("AutPrecislPol"),
        flag("UzFaTiskObr"),
        flag("MBCenaPol"),
        QStringLiteral("DLVar=") + oneLine(pole.DLVar),
        QStringLiteral("FaVVar=") + oneLine(pole.FaVVar),
        QStringLiteral("FAV_POCET_TISKU=") + oneLine(pole.FAV_POCET_TISKU),
        QStringLiteral("DL_POCET_TISKU=") + oneLine(pole.DL_POCET_TISKU),
        QStringLiteral("PoklOVar=") + oneLine(pole.PoklOVar),
        QStringLiteral("Tiskarna=") + QString::number(pole.Tiskarna),
        flag("PRENOSUZIVATEL"),
        QStringLiteral("SazbyDPH=") + textSazebDPH(prevzate.SazbyDPH),
    };
}

bool ulozNastaveni(const QString& datovyKoren, const PoleNastaveni& pole,
                   NastaveniProgramu& nastaveni) {
    NastaveniProgramu taken = nastaveni;
    if (!prevezmiPoleNastaveni(pole, taken)) return false;
    if (!writeLines(datovyKoren, kSouborNastaveni, radkyNastaveni(pole, taken))) return false;
    nastaveni = taken;
    return true;
}

QStringList UdajeFirmy::radky() const {
    return {Nazev, ObchodniJmeno, Ulice, Mesto,   PSC, ICO,
            DIC,   Banka,         Ucet,  Telefon, Fax, CisloRegistrace};
}

UdajeFirmy UdajeFirmy::zRadku(const QStringList& radky) {
    UdajeFirmy u;
    QString* fields[kPocetRadku] = {&u.Nazev, &u.ObchodniJmeno, &u.Ulice, &u.Mesto,
                                    &u.PSC,   &u.ICO,           &u.DIC,   &u.Banka,
                                    &u.Ucet,  &u.Telefon,       &u.Fax,   &u.CisloRegistrace};
    for (int i = 0; i < kPocetRadku && i < radky.size(); ++i)
        *fields[i] = radky[i];
    return u;
}

const QStringList& UdajeFirmy::popisky() {
    static const QStringList captions = {
        QStringLiteral("Název "), QStringLiteral("Obchodní jméno"),
        QStringLiteral("Ulice"),  QStringLiteral("Město"),
        QStringLiteral("PSČ"),    QStringLiteral("IČO"),
        QStringLiteral("DIČ"),    QStringLiteral("Banka"),
        QStringLiteral("Účet"),   QStringLiteral("Telefon"),
        QStringLiteral("Fax"),    QStringLiteral("Číslo registrace"),
    };
    return captions;
}

StavNacteni nactiUdajeFirmy(const QString& datovyKoren, UdajeFirmy& udaje) {
    QStringList lines;
    StavNacteni stav = readLines(datovyKoren, kSouborUdajuFirmy, &lines);
    if (stav == StavNacteni::Chybi) udaje = UdajeFirmy();
    if (stav == StavNacteni::Nacteno) udaje = UdajeFirmy::zRadku(lines);
    return stav;
}

bool ulozUdajeFirmy(const QString& datovyKoren, const UdajeFirmy& udaje) {
    QStringList lines = udaje.radky();
    for (QString& line : lines)
        line = oneLine(line);
    return writeLines(datovyKoren, kSouborUdajuFirmy, lines);
}

void PriponaZnakovehoTisku::urci(bool znTisk) {
    if (urcena_) return;
    urcena_ = true;
    if (!znTisk) text_.clear();
}

NastaveniProgramu& nastaveniProgramu() {
    static NastaveniProgramu n;
    return n;
}

UdajeFirmy& udajeFirmy() {
    static UdajeFirmy u;
    return u;
}

PriponaZnakovehoTisku& priponaZnakovehoTisku() {
    static PriponaZnakovehoTisku p;
    return p;
}

QString nactiCestuExportuDL(const QString& datovyKoren) {
    const QString fallback = QStringLiteral("ExportDbf\\");
    ResolvedPath resolved = resolvePath(datovyKoren, QStringView(kSouborCestyExportuDL));
    if (!resolved.exists) return fallback;
    return readIniValue(resolved.path, u"SETUP", u"CESTA", fallback);
}

bool ulozCestuExportuDL(const QString& datovyKoren, const QString& cesta) {
    ResolvedPath resolved = resolvePath(datovyKoren, QStringView(kSouborCestyExportuDL));
    QString error = resolved.error;
    if (!resolved.ok() || !writeIniValue(resolved.path, u"SETUP", u"CESTA", cesta, &error)) {
        chyba(error);
        return false;
    }
    return true;
}

std::optional<int> nactiDalsiCisloFirmy(const QString& datovyKoren) {
    QStringList lines;
    if (readLines(datovyKoren, kSouborDalsiFirmy, &lines) != StavNacteni::Nacteno ||
        lines.isEmpty())
        return std::nullopt;
    return wholeNumber(lines.first());
}

bool ulozDalsiCisloFirmy(const QString& datovyKoren, int cislo) {
    return writeLines(datovyKoren, kSouborDalsiFirmy, {QString::number(cislo)});
}

QStringList nactiOblasti(const QString& datovyKoren) {
    return nactiSeznam(datovyKoren, kSouborOblasti);
}

bool ulozOblasti(const QString& datovyKoren, const QStringList& oblasti) {
    return ulozSeznam(datovyKoren, kSouborOblasti, oblasti);
}

QStringList nactiSeznam(const QString& datovyKoren, const char16_t* soubor) {
    QStringList lines;
    readLines(datovyKoren, soubor, &lines);
    return lines;
}

bool ulozSeznam(const QString& datovyKoren, const char16_t* soubor, const QStringList& radky) {
    return writeLines(datovyKoren, soubor, radky);
}

} // namespace brix
