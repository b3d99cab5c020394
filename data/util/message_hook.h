#pragma once
// Message boxes raised by the helpers of this library (a rounding step of zero, a settings line
// that cannot be used). The library knows no user interface: the application installs a hook
// that shows the box through the platform layer; tests install one that records.

#include <QString>

#include <functional>

namespace brix {

enum class MessageKind { Error, Warning, Information };

// kind, caption ("Chyba", "Varování", ...), text. Every box of this library has one OK button.
using MessageHook =
    std::function<void(MessageKind kind, const QString& caption, const QString& text)>;

// Installs the hook; an empty hook restores the default, which writes the message to the log
// (qWarning) and shows nothing. Returns the hook that was installed before.
MessageHook setMessageHook(MessageHook hook);

// Hands one message to the installed hook.
void showMessage(MessageKind kind, const QString& caption, const QString& text);

} // namespace brix
