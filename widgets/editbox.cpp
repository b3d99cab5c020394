#include "editbox.h"

#include "decimal.h"
#include "platform.h"
#include "util/text_utils.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <QValidator>

#include <algorithm>
#include <cmath>

namespace brix {

namespace {

// What typing may produce for each kind; the value itself is judged by validationMessage().
class TypingValidator : public QValidator {
public:
    TypingValidator(const QString& pattern, QObject* parent)
        : QValidator(parent), pattern_(pattern) {}
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

QString formatPattern(EditBox::Format f) {
    switch (f) {
    case EditBox::Format::Ico:
        return QStringLiteral("^[0-9]{0,8}$");
    case EditBox::Format::Psc:
        return QStringLiteral("^[0-9]{0,3} ?[0-9]{0,2}$");
    case EditBox::Format::Free:
        break;
    }
    return QStringLiteral(".*");
}

// Characters of a box of so many characters, in the box's font, with the line's own margins.
int widthFor(const QLineEdit* e, const QString& sample) {
    const QFontMetrics fm = e->fontMetrics();
    return fm.horizontalAdvance(sample) + 2 * fm.averageCharWidth() + 8;
}

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
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (upperCase_ && kind_ == Kind::Text) {
            const QString upper = text.toUpper();
            if (upper != text) {
                const int at = edit_->cursorPosition();
                edit_->setText(upper);
                edit_->setCursorPosition(at);
            }
        }
        emit textEdited(edit_->text());
    });
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

QValidator* EditBox::typingValidator(Kind kind, QObject* parent) {
    return new TypingValidator(kind, parent);
}

void EditBox::applyKind() {
    delete edit_->validator();
    if (kind_ != Kind::Text)
        edit_->setValidator(new TypingValidator(kind_, edit_));
    else if (format_ != Format::Free)
        edit_->setValidator(new TypingValidator(formatPattern(format_), edit_));
    else
        edit_->setValidator(nullptr);
    if (kind_ == Kind::Money) decimals_ = 2;
    if (kind_ == Kind::Number) decimals_ = -1;
    edit_->setAlignment(kind_ == Kind::Text || kind_ == Kind::Date ? Qt::AlignLeft
                                                                   : Qt::AlignRight);
    edit_->setMaxLength(kind_ == Kind::Text && maxLength_ > 0 ? maxLength_ : 32767);
    applyWidth();
}

void EditBox::applyWidth() {
    QString sample;
    switch (kind_) {
    case Kind::Text: {
        int chars = format_ == Format::Ico   ? 8
                    : format_ == Format::Psc ? 6
                    : maxLength_ > 0         ? std::min(maxLength_, 40)
                                             : 20;
        // Letters are wider than digits: an average letter per character.
        const QFontMetrics fm = edit_->fontMetrics();
        const int w = format_ == Format::Free
                          ? fm.averageCharWidth() * chars + 2 * fm.averageCharWidth() + 8
                          : widthFor(edit_, QString(chars, QLatin1Char('0')));
        edit_->setMinimumWidth(w);
        return;
    }
    case Kind::Integer:
        sample = hasRange_
                     ? QString::number(qlonglong(std::max(std::abs(minimum_), std::abs(maximum_))))
                     : QStringLiteral("0000000000");
        if (hasRange_ && minimum_ < 0) sample.prepend(QLatin1Char('-'));
        break;
    case Kind::Number:
    case Kind::Money:
        sample = QStringLiteral("-000 000 000,00");
        break;
    case Kind::Date:
        sample = QStringLiteral("00.00.0000");
        break;
    }
    edit_->setMinimumWidth(widthFor(edit_, sample));
}

void EditBox::setRange(double minimum, double maximum) {
    hasRange_ = true;
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    applyWidth();
}

void EditBox::clearRange() {
    hasRange_ = false;
    applyWidth();
}

void EditBox::setUpperCase(bool on) {
    upperCase_ = on;
    if (on && kind_ == Kind::Text && text() != text().toUpper()) setText(text().toUpper());
}

void EditBox::setFormat(Format format) {
    format_ = format;
    if (format != Format::Free) setKind(Kind::Text);
    applyKind();
}

QString EditBox::rangeText(double v) const {
    if (kind_ == Kind::Integer) return QString::number(qlonglong(v));
    return QString::number(v, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
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
    auto inRange = [&](double v) {
        if (!hasRange_ || (v >= minimum_ && v <= maximum_)) return QString();
        return shown + QStringLiteral("není v rozsahu %1 až %2")
                           .arg(rangeText(minimum_), rangeText(maximum_));
    };
    switch (kind_) {
    case Kind::Text:
        if (format_ == Format::Ico &&
            !QRegularExpression(QStringLiteral("^[0-9]{8}$")).match(text().trimmed()).hasMatch())
            return QStringLiteral("IČO \"%1\" musí mít osm číslic").arg(text().trimmed());
        if (format_ == Format::Psc && !PlatnePSC(text().trimmed()))
            return QStringLiteral("PSČ \"%1\" musí mít pět číslic, případně s mezerou za třetí "
                                  "(110 00)")
                .arg(text().trimmed());
        return {};
    case Kind::Integer:
        if (auto v = integerValue()) return inRange(double(*v));
        return shown + QStringLiteral("není platné celé číslo");
    case Kind::Number:
        if (auto v = numberValue()) return inRange(*v);
        return shown + QStringLiteral("není platné číslo");
    case Kind::Money:
        if (auto v = moneyValue()) return inRange(v->toDouble());
        return shown + QStringLiteral("není platná částka");
    case Kind::Date:
        return dateValue() ? QString()
                           : shown + QStringLiteral("není platné datum (den.měsíc.rok)");
    }
    return {};
}

QString EditBox::warningMessage() const {
    if (format_ == Format::Ico && !isBlank() && isValid() && !PlatneICO(text().trimmed()))
        return QStringLiteral("IČO \"%1\" nemá správnou kontrolní číslici, zkontrolujte je.")
            .arg(text().trimmed());
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
                reason != Qt::ActiveWindowFocusReason &&
                (!isValid() || (!warningMessage().isEmpty() && warned_ != text())))
                QTimer::singleShot(0, this, &EditBox::leaveCheck);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditBox::leaveCheck() {
    if (checking_) return;
    checking_ = true;
    if (check()) {
        const QString warning = warningMessage();
        if (!warning.isEmpty() && warned_ != text()) {
            warned_ = text();
            Platform::current().warning(warning);
        }
    }
    checking_ = false;
}

} // namespace brix
