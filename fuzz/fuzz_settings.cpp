// The readers of the system's small text files: the settings file "nastaven\nast_pr.txt" (with
// the list of VAT rates) and the INI files. Any bytes read without a crash; a value set in an
// INI file reads back as it was set, and the other values of the file stay.

#include "codec.h"
#include "util/ini_file.h"
#include "util/message_hook.h"
#include "util/nastaveni.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace brix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet =
        (setMessageHook([](MessageKind, const QString&, const QString&) {}), true);
    (void)quiet;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString text = decodeTextFile(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));

    // The settings: read, shown, taken back and written again.
    NastaveniProgramu nastaveni;
    PoleNastaveni pole = poleNastaveni(nastaveni);
    nactiRadkyNastaveni(lines, nastaveni, &pole);
    NastaveniProgramu prevzate = nastaveni;
    if (prevezmiPoleNastaveni(pole, prevzate)) {
        NastaveniProgramu znovu;
        nactiRadkyNastaveni(radkyNastaveni(pole, prevzate), znovu);
    }
    for (const QString& line : lines)
        (void)ctiSazbyDPH(line);

    // The INI file: every key of every section looked up; one value set and read back.
    struct Entry {
        QString section, key;
        std::optional<QString> value;
    };
    QList<Entry> entries;
    QString section;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2);
        } else if (const qsizetype eq = t.indexOf(QLatin1Char('='));
                   eq > 0 && entries.size() < 64) {
            const QString key = t.left(eq);
            entries.push_back({section, key, iniValue(lines, section, key)});
        }
    }
    QStringList changed = lines;
    const QString value = QStringLiteral("ExportDbf\\nový");
    setIniValue(changed, QStringLiteral("SETUP"), QStringLiteral("CESTA"), value);
    if (iniValue(changed, QStringLiteral("SETUP"), QStringLiteral("CESTA")) != value) std::abort();
    for (const Entry& e : entries) {
        if (e.section.trimmed().compare(QLatin1String("SETUP"), Qt::CaseInsensitive) == 0 &&
            e.key.trimmed().compare(QLatin1String("CESTA"), Qt::CaseInsensitive) == 0)
            continue;
        if (iniValue(changed, e.section, e.key) != e.value) std::abort();
    }
    return 0;
}
