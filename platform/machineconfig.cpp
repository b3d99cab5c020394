#include "machineconfig.h"

#include "codec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace brix {

namespace {

const QString kDefaultUser = QStringLiteral("SYSDBA");
const QString kDefaultPassword = QStringLiteral("masterkey");

QString programDirectory() {
    QString dir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString programName() {
    QString name = QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
    return name.isEmpty() ? QStringLiteral("brix") : name;
}

const QString kForms = QStringLiteral("Okna");

QString rectText(const QRect& r) {
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// "x y width height"; an empty or unreadable text gives a null rectangle.
QRect rectOfText(const QString& text) {
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() != 4) return {};
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].toInt(&ok);
        if (!ok) return {};
    }
    if (v[2] <= 0 || v[3] <= 0) return {};
    return QRect(v[0], v[1], v[2], v[3]);
}

QString textValue(const QSettings& s, const QString& key, const QString& fallback) {
    QString v = s.value(key).toString();
    return v.isEmpty() ? fallback : v;
}

} // namespace

MachineConfig MachineConfig::defaults() {
    MachineConfig c;
    c.database = programDirectory();
    c.userName = kDefaultUser;
    c.password = kDefaultPassword;
    c.drawerPorts = true;
    c.drawerInitBytes = QByteArray(1, char(0xAC));
    c.drawerOpenBytes = QByteArray(1, char(0x05));
    return c;
}

QString MachineConfig::defaultPath() {
    QString env = qEnvironmentVariable("BRIX_MACHINE_CONFIG");
    if (!env.isEmpty()) return env;
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + QLatin1Char('/') + programName() + QLatin1Char('/') + programName() +
           QStringLiteral(".ini");
}

QString MachineConfig::defaultLogPath() {
    QString dir = qEnvironmentVariable("BRIX_LOG_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QLatin1Char('/') + programName();
    return dir + QLatin1Char('/') + programName() + QStringLiteral(".log");
}

void logConfigError(const QString& logPath, const QString& message) {
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    QFile f(logPath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    QString line = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) +
                   QStringLiteral(" General error Load_Ini_Value: ") + message +
                   QStringLiteral("\r\n");
    f.write(encode(line));
}

bool parseHexBytes(const QString& text, QByteArray* bytes) {
    QString digits;
    for (QChar c : text) {
        if (c.isSpace() || c == QLatin1Char(',')) continue;
        digits += c;
    }
    if (digits.size() % 2 != 0) return false;
    QByteArray out;
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        bool ok = false;
        int v = digits.mid(i, 2).toInt(&ok, 16);
        if (!ok) return false;
        out.append(char(v));
    }
    *bytes = out;
    return true;
}

QString hexBytesText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

MachineConfig MachineConfig::load(const QString& path, const QString& logPath) {
    MachineConfig c = defaults();
    c.path = path;

    if (!QFileInfo::exists(path)) {
        // First start on this machine: take the machine-wide copy, else write the defaults.
        QDir().mkpath(QFileInfo(path).absolutePath());
        QString machineWide;
        const QStringList dirs =
            QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
        for (const QString& dir : dirs) {
            QString candidate = dir + QLatin1Char('/') + programName() + QLatin1Char('/') +
                                QFileInfo(path).fileName();
            if (QFileInfo(candidate).absoluteFilePath() != QFileInfo(path).absoluteFilePath() &&
                QFileInfo::exists(candidate)) {
                machineWide = candidate;
                break;
            }
        }
        bool made = machineWide.isEmpty() ? c.save(path) : QFile::copy(machineWide, path);
        if (!made) {
            logConfigError(logPath, QStringLiteral("Nelze vytvořit konfiguraci ") + path);
            return c;
        }
    }

    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        logConfigError(logPath, QStringLiteral("Nelze číst konfiguraci ") + path +
                                    QStringLiteral(": ") + probe.errorString());
        return c;
    }
    probe.close();

    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError) {
        logConfigError(logPath, QStringLiteral("Chybný formát konfigurace ") + path);
        return c;
    }

    c.database = textValue(s, QStringLiteral("Database/Database"), c.database);
    c.userName = textValue(s, QStringLiteral("Database/UserName"), c.userName);
    c.password = textValue(s, QStringLiteral("Database/Password"), c.password);

    c.drawerDevice = s.value(QStringLiteral("Zasuvka/Zarizeni")).toString().trimmed();
    QString ports = s.value(QStringLiteral("Zasuvka/Porty")).toString().trimmed().toLower();
    if (!ports.isEmpty()) {
        if (ports == QLatin1String("true") || ports == QLatin1String("1") ||
            ports == QLatin1String("ano"))
            c.drawerPorts = true;
        else if (ports == QLatin1String("false") || ports == QLatin1String("0") ||
                 ports == QLatin1String("ne"))
            c.drawerPorts = false;
        else
            logConfigError(logPath, QStringLiteral("Zasuvka/Porty: neplatná hodnota ") + ports);
    }
    for (auto [key, target] : {std::pair{QStringLiteral("Zasuvka/Init"), &c.drawerInitBytes},
                               std::pair{QStringLiteral("Zasuvka/Otevri"), &c.drawerOpenBytes}}) {
        QString text = s.value(key).toString().trimmed();
        if (text.isEmpty()) continue;
        if (!parseHexBytes(text, target))
            logConfigError(logPath, key + QStringLiteral(": neplatné bajty ") + text);
    }

    QVariant printers = s.value(QStringLiteral("Tiskarny/Textove"));
    // QSettings splits an unquoted value at its commas (and ';' starts a comment there), so
    // names are separated by '|'.
    QString joined = printers.typeId() == QMetaType::QStringList
                         ? printers.toStringList().join(QStringLiteral(", "))
                         : printers.toString();
    for (const QString& name : joined.split(QLatin1Char('|')))
        if (!name.trimmed().isEmpty()) c.textPrinters << name.trimmed();

    s.beginGroup(kForms);
    for (const QString& form : s.childKeys()) {
        const QRect r = rectOfText(s.value(form).toString());
        if (r.isValid())
            c.formGeometry.insert(form, r);
        else
            logConfigError(logPath, kForms + QLatin1Char('/') + form +
                                        QStringLiteral(": neplatná poloha okna"));
    }
    s.endGroup();
    return c;
}

MachineConfig MachineConfig::loadDefault() {
    return load(defaultPath(), defaultLogPath());
}

bool MachineConfig::save(const QString& path) const {
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue(QStringLiteral("Database/Database"), database);
        s.setValue(QStringLiteral("Database/UserName"), userName);
        s.setValue(QStringLiteral("Database/Password"), password);
        s.setValue(QStringLiteral("Zasuvka/Zarizeni"), drawerDevice);
        s.setValue(QStringLiteral("Zasuvka/Porty"),
                   drawerPorts ? QStringLiteral("true") : QStringLiteral("false"));
        s.setValue(QStringLiteral("Zasuvka/Init"), hexBytesText(drawerInitBytes));
        s.setValue(QStringLiteral("Zasuvka/Otevri"), hexBytesText(drawerOpenBytes));
        s.setValue(QStringLiteral("Tiskarny/Textove"), textPrinters.join(QLatin1Char('|')));
        for (auto it = formGeometry.cbegin(); it != formGeometry.cend(); ++it)
            s.setValue(kForms + QLatin1Char('/') + it.key(), rectText(it.value()));
        s.sync();
        if (s.status() != QSettings::NoError) return false;
    }
    return QFileInfo::exists(path);
}

bool MachineConfig::saveFormGeometry(const QString& path, const QString& form,
                                     const QRect& geometry) {
    if (path.isEmpty() || form.isEmpty() || !geometry.isValid()) return false;
    QSettings s(path, QSettings::IniFormat);
    s.setValue(kForms + QLatin1Char('/') + form, rectText(geometry));
    s.sync();
    return s.status() == QSettings::NoError;
}

bool MachineConfig::isTextPrinterName(const QString& printerName) const {
    for (const QString& name : textPrinters)
        if (name.compare(printerName, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace brix
