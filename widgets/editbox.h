#pragma once

// The edit box: a line with typed input (text, whole number, number, money, date), a size limit
// and an optional "...." button that opens a chooser; F3 in the box does the same.
//
// Typing lets through only what can become a value of the kind.  A text that is not a value
// (an impossible date, a number too big) stays in the box as typed: leaving the box or check()
// shows the Czech error and puts the focus back, so nothing the user typed is lost.  A blank box
// is valid and holds no value (NULL).  A number box may have a range (a small-integer field takes
// -32768..32767 at most), a text box a fixed shape (IČO, PSČ) or capitals only (codes that are
// keys of code lists).  The box is wide enough for the longest value it takes.

#include "decimal.h"

#include <QDate>
#include <QVariant>
#include <QWidget>

#include <optional>

class QLineEdit;
class QToolButton;
class QValidator;

namespace brix {

class EditBox : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Text, Integer, Number, Money, Date };
    // Text boxes of a fixed shape: IČO eight digits (a wrong check digit is a warning only),
    // PSČ five digits with one blank allowed after the third.
    enum class Format { Free, Ico, Psc };

    explicit EditBox(QWidget* parent = nullptr);
    explicit EditBox(Kind kind, QWidget* parent = nullptr);

    void setKind(Kind kind);
    Kind kind() const { return kind_; }

    // Text: the field's size; typing stops there and a longer text set by code is cut.
    // 0: no limit.
    void setMaxLength(int n);
    int maxLength() const { return maxLength_; }
    // Decimal places shown for Number and Money (Money: 2 by default).
    void setDecimals(int places);
    int decimals() const { return decimals_; }
    // Integer, Number and Money: the values the box takes, both ends included.
    void setRange(double minimum, double maximum);
    void clearRange();
    bool hasRange() const { return hasRange_; }
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }
    // Text: letters typed become capitals.
    void setUpperCase(bool on);
    bool upperCase() const { return upperCase_; }
    void setFormat(Format format);
    Format format() const { return format_; }
    // Empty, or the warning the text deserves without being refused (an IČO whose check digit
    // is wrong). Shown once when the box is left with that text.
    QString warningMessage() const;

    void setChooser(bool on);
    bool hasChooser() const { return chooser_; }
    void setHint(const QString& hint);
    QString hint() const { return hint_; }
    void setReadOnly(bool on);
    bool isReadOnly() const;
    // Leaving the box with a text that is not a value shows the error (on by default).
    void setCheckOnLeave(bool on) { checkOnLeave_ = on; }

    QString text() const;
    void setText(const QString& text);
    bool isBlank() const;

    // Empty when the text is a value of the kind (or blank), else the Czech message.
    QString validationMessage() const;
    bool isValid() const { return validationMessage().isEmpty(); }
    // Shows the message in an error box and gives the box the focus when the text is not a
    // value; true when it is.
    bool check();

    std::optional<qlonglong> integerValue() const;
    std::optional<double> numberValue() const;
    std::optional<Decimal> moneyValue() const;
    std::optional<QDate> dateValue() const;
    // The value of the kind; a null QVariant when blank or invalid.  Money is a Decimal.
    QVariant value() const;
    // Shows a value in the box's format; a null QVariant blanks the box.
    void setValue(const QVariant& value);

    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* chooserButton() const { return button_; }

    // "31.1.24" -> 31.01.2024; two-digit years fall in 1950..2049.  Invalid: a null date.
    static QDate parseDate(const QString& text);
    static QString formatDate(const QDate& date);
    // A number as typed: decimal comma or point, blanks between thousands, no exponent.
    static std::optional<double> parseNumber(const QString& text);
    // What typing may produce in a box of the kind (a search box takes it over).
    static QValidator* typingValidator(Kind kind, QObject* parent);

signals:
    void chooserRequested();
    void textEdited(const QString& text);
    void editingFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyKind();
    void applyWidth();
    void leaveCheck();
    QString rangeText(double v) const;

    Kind kind_ = Kind::Text;
    int maxLength_ = 0;
    int decimals_ = 2;
    bool chooser_ = false;
    bool checkOnLeave_ = true;
    bool checking_ = false;
    bool hasRange_ = false;
    double minimum_ = 0, maximum_ = 0;
    bool upperCase_ = false;
    Format format_ = Format::Free;
    QString warned_; // the text whose warning was shown
    QString hint_;
    QLineEdit* edit_ = nullptr;
    QToolButton* button_ = nullptr;
};

} // namespace brix
