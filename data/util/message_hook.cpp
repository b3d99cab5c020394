#include "message_hook.h"

#include <QDebug>

#include <utility>

namespace brix {

namespace {

MessageHook& installedHook() {
    static MessageHook hook;
    return hook;
}

} // namespace

MessageHook setMessageHook(MessageHook hook) {
    return std::exchange(installedHook(), std::move(hook));
}

void showMessage(MessageKind kind, const QString& caption, const QString& text) {
    const MessageHook& hook = installedHook();
    if (hook) {
        hook(kind, caption, text);
        return;
    }
    qWarning().noquote() << caption << ':' << text;
}

} // namespace brix
