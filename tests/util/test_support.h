#pragma once
// Readable QString values in failures, and a recorder of what the helpers would have shown in
// message boxes, for the duration of a test.

#include "util/message_hook.h"

#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{';
    for (const QString& s : l) {
        PrintTo(s, os);
        *os << ", ";
    }
    *os << '}';
}

struct RecordedMessage {
    brix::MessageKind kind;
    QString caption;
    QString text;
};

class MessageRecorder {
public:
    MessageRecorder() {
        previous_ = brix::setMessageHook(
            [this](brix::MessageKind kind, const QString& caption, const QString& text) {
                messages.push_back({kind, caption, text});
            });
    }
    ~MessageRecorder() { brix::setMessageHook(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<RecordedMessage> messages;

private:
    brix::MessageHook previous_;
};
