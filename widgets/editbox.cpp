#include "editbox.h"

#include "decimal.h"
#include "platform.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <QValidator>

namespace brix {

namespace {

// What typing may produce for each kind; the value itself is judged by validationMessage().
class TypingValidator : public QValidator {
public:
    TypingValidator(EditBox::Kind kind, QObject* parent) : QValidator(parent) {
        static const QString sign = QStringLiteral("^[+-]?");
        static const QString digits = QStringLiteral("[0-9 \\x{00A0}]*");
        switch (kind) {
        case EditBox::Kind::Integer:
            pattern_.setPattern(sign + digits + "$");
            break;
        case EditBox::Kind::Number:
            pattern_.setPattern(sign + digits + "([.,][0-9]*)?$");
            break;
        case EditBox::Kind::Money:
            pattern_.setPattern(sign + digits + "([.,][0-9]{0,4})?$");
            break;
        case EditBox::Kind::Date:
            pattern_.setPattern(QStringLiteral("^[0-9]{0,2}(\\.[0-9]{0,2}(\\.[0-9]{0,4})?)?$"));
            break;
        case EditBox::Kind::Text:
            pattern_.setPattern(QStringLiteral(".*"));
            break;
        }
    }
    State validate(QString& input, int&) const override {
        return pattern_.match(input).hasMatch() ? Acceptable : Invalid;
    }

private:
    QRegularExpression pattern_;
};

// The typed number without its thousands separators and with a decimal point; empty (no
// number) when a blank stands where no thousands separator can ("12 5", "1 0000,5").
QString numberText(const QString& text) {
    std::optional<QString> plain = withoutDigitGroups(text);
    if (!plain) return QString();
    plain->replace(QLatin1Char(','), QLatin1Char('.'));
    return *plain;
}

} // namespace

EditBox::EditBox(QWidget* parent) : EditBox(Kind::Text, parent) {}

EditBox::EditBox(Kind kind, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit_ = new QLineEdit(this);
    button_ = new QToolButton(this);
    button_->setText(QStringLiteral("...."));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setVisible(false);
    layout->addWidget(edit_, 1);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);

    connect(button_, &QToolButton::clicked, this, &EditBox::chooserRequested);
    connect(edit_, &QLineEdit::textEdited, this, &EditBox::textEdited);
    connect(edit_, &QLineEdit::editingFinished, this, &EditBox::editingFinished);
    connect(edit_, &QLineEdit::inputRejected, this, [] { Platform::current().beep(); });

    kind_ = kind;
    applyKind();
}

void EditBox::setKind(Kind kind) {
    if (kind_ == kind) return;
    kind_ = kind;
    applyKind();
}

void EditBox::applyKind() {
    delete edit_->validator();
    edit_->setValidator(kind_ == Kind::Text ? nullptr : new TypingValidator(kind_, edit_));
    if (kind_ == Kind::Money) decimals_ = 2;
    if (kind_ == Kind::Number) decimals_ = -1;
    edit_->setAlignment(kind_ == Kind::Text || kind_ == Kind::Date ? Qt::AlignLeft
                                                                   : Qt::AlignRight);
    edit_->setMaxLength(kind_ == Kind::Text && maxLength_ > 0 ? maxLength_ : 32767);
}

void EditBox::setMaxLength(int n) {
    maxLength_ = n < 0 ? 0 : n;
    applyKind();
}

void EditBox::setDecimals(int places) {
    decimals_ = places;
}

void EditBox::setChooser(bool on) {
    chooser_ = on;
    button_->setVisible(on);
}

void EditBox::setHint(const QString& hint) {
    hint_ = hint;
    setStatusTip(hint);
    setToolTip(hint);
    edit_->setStatusTip(hint);
}

void EditBox::setReadOnly(bool on) {
    edit_->setReadOnly(on);
}

bool EditBox::isReadOnly() const {
    return edit_->isReadOnly();
}

QString EditBox::text() const {
    return edit_->text();
}

void EditBox::setText(const QString& text) {
    // QLineEdit cuts a text longer than its limit; the limit is only set for text boxes.
    edit_->setText(text);
}

bool EditBox::isBlank() const {
    return edit_->text().trimmed().isEmpty();
}

QString EditBox::validationMessage() const {
    if (isBlank()) return {};
    const QString shown = QStringLiteral("Hodnota \"") + text().trimmed() + QStringLiteral("\" ");
    switch (kind_) {
    case Kind::Text:
        return {};
    case Kind::Integer:
        return integerValue() ? QString() : shown + QStringLiteral("není platné celé číslo");
    case Kind::Number:
        return numberValue() ? QString() : shown + QStringLiteral("není platné číslo");
    case Kind::Money:
        return moneyValue() ? QString() : shown + QStringLiteral("není platná částka");
    case Kind::Date:
        return dateValue() ? QString()
                           : shown + QStringLiteral("není platné datum (den.měsíc.rok)");
    }
    return {};
}

bool EditBox::check() {
    QString message = validationMessage();
    if (message.isEmpty()) return true;
    Platform::current().error(message);
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
    return false;
}

std::optional<qlonglong> EditBox::integerValue() const {
    QString t = numberText(text());
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    qlonglong v = t.toLongLong(&ok);
    return ok ? std::optional<qlonglong>(v) : std::nullopt;
}

std::optional<double> EditBox::numberValue() const {
    return parseNumber(text());
}

std::optional<double> EditBox::parseNumber(const QString& text) {
    QString t = numberText(text);
    static const QRegularExpression plain(QStringLiteral("^[+-]?([0-9]+([.][0-9]*)?|[.][0-9]+)$"));
    if (!plain.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    double v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

std::optional<Decimal> EditBox::moneyValue() const {
    QString t = numberText(text());
    static const QRegularExpression plain(
        QStringLiteral("^[+-]?([0-9]+([.][0-9]{0,4})?|[.][0-9]{1,4})$"));
    if (!plain.match(t).hasMatch()) return std::nullopt;
    return Decimal::parse(t);
}

std::optional<QDate> EditBox::dateValue() const {
    QDate d = parseDate(text());
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

QDate EditBox::parseDate(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{2}|[0-9]{4})\\s*$"));
    auto m = re.match(text);
    if (!m.hasMatch()) return {};
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) year += year < 50 ? 2000 : 1900;
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
}

QString EditBox::formatDate(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QVariant EditBox::value() const {
    if (isBlank()) return {};
    switch (kind_) {
    case Kind::Text:
        return text();
    case Kind::Integer:
        if (auto v = integerValue()) return *v;
        break;
    case Kind::Number:
        if (auto v = numberValue()) return *v;
        break;
    case Kind::Money:
        if (auto v = moneyValue()) return QVariant::fromValue(*v);
        break;
    case Kind::Date:
        if (auto v = dateValue()) return *v;
        break;
    }
    return {};
}

void EditBox::setValue(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        setText({});
        return;
    }
    switch (kind_) {
    case Kind::Text:
        setText(value.toString());
        break;
    case Kind::Integer:
        setText(QString::number(value.toLongLong()));
        break;
    case Kind::Number: {
        double v = value.toDouble();
        QString t =
            decimals_ < 0 ? QString::number(v, 'g', 15) : QString::number(v, 'f', decimals_);
        setText(t.replace(QLatin1Char('.'), QLatin1Char(',')));
        break;
    }
    case Kind::Money: {
        Decimal d;
        if (value.metaType() == QMetaType::fromType<Decimal>())
            d = value.value<Decimal>();
        else if (value.typeId() == QMetaType::QString) {
            auto parsed = Decimal::parse(value.toString());
            if (!parsed) {
                setText(value.toString()); // shown as given; check() reports it
                break;
            }
            d = *parsed;
        } else
            d = Decimal::fromDouble(value.toDouble());
        setText(d.toString(decimals_ < 0 ? 2 : decimals_));
        break;
    }
    case Kind::Date:
        setText(formatDate(value.toDate()));
        break;
    }
}

bool EditBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier && chooser_) {
                emit chooserRequested();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A popup or another window taking the focus is not leaving the box.
            if (checkOnLeave_ && !checking_ && reason != Qt::PopupFocusReason &&
                reason != Qt::ActiveWindowFocusReason && !isValid())
                QTimer::singleShot(0, this, &EditBox::leaveCheck);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditBox::leaveCheck() {
    if (checking_) return;
    checking_ = true;
    check();
    checking_ = false;
}

} // namespace brix
