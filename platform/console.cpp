#include "console.h"

#include <cstdio>

namespace brix {

ConsolePlatform::ConsolePlatform(Writer write) : write_(std::move(write)) {
    if (!write_)
        write_ = [](const QString& line) {
            std::fputs(line.toUtf8().constData(), stderr);
            std::fputs("\n", stderr);
        };
}

Button ConsolePlatform::messageBox(const MessageBox& box) {
    write_(box.caption.isEmpty() ? box.text : box.caption + QStringLiteral(": ") + box.text);
    return box.escapeAnswer();
}

} // namespace brix
