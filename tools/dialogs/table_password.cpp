#include "table_password.h"

#include "platform.h"

#include <QDir>

namespace brix {

QString askTablePassword(const QString& path) {
    QString password;
    const QString prompt = QStringLiteral("Tabulka %1 je chráněna heslem. Zadejte heslo:")
                               .arg(QDir::toNativeSeparators(path));
    if (!Platform::current().inputQuery(QStringLiteral("Heslo tabulky"), prompt, password, true))
        return {};
    return password;
}

std::unique_ptr<formats::TableReader> openForeignTable(const QString& path) {
    QString error;
    bool refused = false;
    auto reader = formats::openTable(path, {}, &error, &refused);
    while (!reader && refused) {
        const QString password = askTablePassword(path);
        if (password.isEmpty()) return nullptr;
        reader = formats::openTable(path, password, &error, &refused);
        if (!reader && refused) Platform::current().error(error);
    }
    if (!reader) Platform::current().error(error);
    return reader;
}

} // namespace brix
