#include "decimal.h"
#include "editbox.h"
#include "navigator.h"
#include "panels.h"
#include "scripted_gtest.h"
#include "statusbar.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using namespace brix;

namespace {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_widgets";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};

[[maybe_unused]] testing::Environment* const qtEnv =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

void leave(EditBox& box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box.lineEdit(), &out);
    QCoreApplication::processEvents();
}

// Types text character by character, Czech letters included.
void type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

} // namespace

// --- edit box --------------------------------------------------------------------------------

TEST(EditBox, TypingLetsThroughOnlyWhatFitsTheKind) {
    TestPlatform ui;
    EditBox whole(EditBox::Kind::Integer);
    QTest::keyClicks(whole.lineEdit(), "-12a3,4");
    EXPECT_EQ(whole.text(), "-1234");
    EXPECT_EQ(ui.beeps(), 2); // "a" and ","

    EditBox money(EditBox::Kind::Money);
    QTest::keyClicks(money.lineEdit(), "1 234,56789");
    EXPECT_EQ(money.text(), "1 234,5678"); // four decimal places at most

    EditBox date(EditBox::Kind::Date);
    QTest::keyClicks(date.lineEdit(), "3x1.12.20245");
    EXPECT_EQ(date.text(), "31.12.2024");

    EditBox text;
    text.setMaxLength(5);
    type(text.lineEdit(), "Čokoláda");
    EXPECT_EQ(text.text(), "Čokol");
    text.setText("Dlouhý název"); // a longer value set by code is cut to the field's size
    EXPECT_EQ(text.text(), "Dlouh");
}

TEST(EditBox, ValuesOfEachKind) {
    EditBox money(EditBox::Kind::Money);
    money.setText("1 234,5");
    ASSERT_TRUE(money.moneyValue());
    EXPECT_EQ(money.moneyValue()->raw(), 12345000);
    money.setText("12.5");
    EXPECT_EQ(money.moneyValue()->raw(), 125000);
    money.setText("-,05");
    EXPECT_EQ(money.moneyValue()->raw(), -500);

    EditBox number(EditBox::Kind::Number);
    number.setText("-0,25");
    EXPECT_DOUBLE_EQ(number.value().toDouble(), -0.25);

    number.setText("12 345 678,5");
    EXPECT_DOUBLE_EQ(number.value().toDouble(), 12345678.5);

    EditBox whole(EditBox::Kind::Integer);
    whole.setText("1 000");
    EXPECT_EQ(whole.value().toLongLong(), 1000);
    whole.setText("9 223 372 036 854 775 807"); // the whole range of the field
    EXPECT_EQ(whole.value().toLongLong(), std::numeric_limits<qint64>::max());

    EditBox date(EditBox::Kind::Date);
    date.setText("31.1.24");
    EXPECT_EQ(date.dateValue(), QDate(2024, 1, 31));
    date.setText("1.1.49");
    EXPECT_EQ(date.dateValue(), QDate(2049, 1, 1));
    date.setText("1.1.50");
    EXPECT_EQ(date.dateValue(), QDate(1950, 1, 1));
    date.setText("29.2.2000");
    EXPECT_TRUE(date.isValid());

    // Blank is valid and holds no value.
    date.setText("  ");
    EXPECT_TRUE(date.isValid());
    EXPECT_TRUE(date.value().isNull());
}

TEST(EditBox, TextsThatAreNotValuesAreReportedInCzech) {
    struct Case {
        EditBox::Kind kind;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {EditBox::Kind::Date, "31.02.2024", "není platné datum"},
        {EditBox::Kind::Date, "29.2.2023", "není platné datum"},
        {EditBox::Kind::Date, "12.2024", "není platné datum"},
        {EditBox::Kind::Date, "1.1.202", "není platné datum"},
        {EditBox::Kind::Integer, "99999999999999999999", "není platné celé číslo"},
        {EditBox::Kind::Integer, "-", "není platné celé číslo"},
        {EditBox::Kind::Number, ",", "není platné číslo"},
        {EditBox::Kind::Money, "+", "není platná částka"},
        {EditBox::Kind::Money, "1,23456", "není platná částka"},
        // A blank between digits is a thousands separator or a slip of the finger.
        {EditBox::Kind::Money, "12 5", "není platná částka"},
        {EditBox::Kind::Money, "1 0000,5", "není platná částka"},
        {EditBox::Kind::Number, "1 5,5", "není platné číslo"},
        {EditBox::Kind::Integer, "10 00", "není platné celé číslo"},
    };
    for (const Case& c : cases) {
        EditBox box(c.kind);
        box.setText(c.text);
        EXPECT_FALSE(box.isValid()) << c.text;
        EXPECT_TRUE(box.validationMessage().contains(QString::fromUtf8(c.message)))
            << c.text << ": " << box.validationMessage().toStdString();
        EXPECT_TRUE(box.value().isNull()) << c.text;
    }
}

TEST(EditBox, CheckShowsTheErrorAndKeepsTheText) {
    TestPlatform ui;
    EditBox date(EditBox::Kind::Date);
    date.setText("31.02.2024");
    ui.answer(Button::Ok, "Hodnota \"31.02.2024\" není platné datum", caption::Chyba);
    EXPECT_FALSE(date.check());
    EXPECT_EQ(date.text(), "31.02.2024");

    date.setText("28.02.2024");
    EXPECT_TRUE(date.check()); // no box
    EXPECT_EQ(ui.shown().size(), 1);
}

TEST(EditBox, LeavingAnInvalidBoxReportsItOnce) {
    TestPlatform ui;
    EditBox money(EditBox::Kind::Money);
    money.setText("1,23456");
    ui.answer(Button::Ok, "není platná částka");
    leave(money);
    EXPECT_EQ(ui.shown().size(), 1);
    EXPECT_EQ(money.text(), "1,23456");

    money.setText("1,2345");
    leave(money);
    EXPECT_EQ(ui.shown().size(), 1);

    money.setCheckOnLeave(false);
    money.setText("x");
    leave(money);
    EXPECT_EQ(ui.shown().size(), 1);
}

TEST(EditBox, RangesRefuseValuesOutsideThemWithBothEndsNamed) {
    struct Case {
        EditBox::Kind kind;
        double low, high;
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {EditBox::Kind::Integer, -32768, 32767, "32767", true},
        {EditBox::Kind::Integer, -32768, 32767, "32768", false},
        {EditBox::Kind::Integer, -32768, 32767, "-32769", false},
        {EditBox::Kind::Integer, 1, 999, "0", false},
        {EditBox::Kind::Integer, 1, 999, "1", true},
        {EditBox::Kind::Number, 0, 100, "100", true},
        {EditBox::Kind::Number, 0, 100, "100,01", false},
        {EditBox::Kind::Number, 0, 100, "-0,5", false},
        {EditBox::Kind::Money, 0, 100, "99,9999", true},
        {EditBox::Kind::Money, 0, 100, "100,0001", false},
    };
    for (const Case& c : cases) {
        EditBox box(c.kind);
        box.setRange(c.low, c.high);
        box.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(box.isValid(), c.ok) << c.text;
        if (!c.ok) {
            EXPECT_TRUE(box.validationMessage().contains(QStringLiteral("není v rozsahu")))
                << box.validationMessage().toStdString();
        }
    }
    EditBox percent(EditBox::Kind::Number);
    percent.setRange(0, 100);
    percent.setText("150");
    EXPECT_EQ(percent.validationMessage(), "Hodnota \"150\" není v rozsahu 0 až 100");
    // Blank stays valid: whether a value is required is the register's question.
    percent.setText("");
    EXPECT_TRUE(percent.isValid());
}

TEST(EditBox, IcoAndPscTakeOnlyTheirShapeAndAWrongCheckDigitIsAWarning) {
    TestPlatform ui;
    EditBox ico;
    ico.setFormat(EditBox::Format::Ico);
    QTest::keyClicks(ico.lineEdit(), "0000 69-47a12");
    EXPECT_EQ(ico.text(), "00006947"); // digits only, eight at most
    EXPECT_TRUE(ico.isValid());
    EXPECT_TRUE(ico.warningMessage().isEmpty()); // 0000694 gives the check digit 7
    ico.setText("00006940");
    EXPECT_TRUE(ico.isValid());
    EXPECT_TRUE(ico.warningMessage().contains(QStringLiteral("kontrolní číslici")));
    ui.answer(Button::Ok, "kontrolní číslici", caption::Upozorneni);
    leave(ico);
    leave(ico); // said once for the same text
    EXPECT_EQ(ui.shown().size(), 1);
    ico.setText("1234");
    EXPECT_EQ(ico.validationMessage(), "IČO \"1234\" musí mít osm číslic");

    EditBox psc;
    psc.setFormat(EditBox::Format::Psc);
    QTest::keyClicks(psc.lineEdit(), "110 0x0 5");
    EXPECT_EQ(psc.text(), "110 00");
    EXPECT_TRUE(psc.isValid());
    psc.setText("11000");
    EXPECT_TRUE(psc.isValid());
    psc.setText("1100");
    EXPECT_FALSE(psc.isValid());
    psc.setText("11 000");
    EXPECT_FALSE(psc.isValid());
}

TEST(EditBox, CodesAreTypedInCapitalsAndBoxesFitTheirLongestValue) {
    EditBox kod;
    kod.setMaxLength(3);
    kod.setUpperCase(true);
    type(kod.lineEdit(), "eurx");
    EXPECT_EQ(kod.text(), "EUR");
    kod.setText("čšř"); // set by code: shown as given
    EXPECT_EQ(kod.text(), "čšř");

    EditBox nazev;
    nazev.setMaxLength(40);
    const QFontMetrics fm = nazev.lineEdit()->fontMetrics();
    EXPECT_GE(nazev.lineEdit()->minimumWidth(), fm.averageCharWidth() * 40);
    EditBox cislo(EditBox::Kind::Integer);
    cislo.setRange(-32768, 32767);
    EXPECT_GT(cislo.lineEdit()->minimumWidth(), fm.horizontalAdvance(QStringLiteral("-32768")));
    EditBox datum(EditBox::Kind::Date);
    EXPECT_GT(datum.lineEdit()->minimumWidth(), fm.horizontalAdvance(QStringLiteral("31.12.2024")));
}

TEST(EditBox, F3AndTheButtonOpenTheChooser) {
    TestPlatform ui;
    EditBox box;
    QSignalSpy spy(&box, &EditBox::chooserRequested);
    QTest::keyClick(box.lineEdit(), Qt::Key_F3);
    EXPECT_EQ(spy.count(), 0); // no chooser attached

    box.setChooser(true);
    EXPECT_EQ(box.chooserButton()->text(), "....");
    QTest::keyClick(box.lineEdit(), Qt::Key_F3);
    EXPECT_EQ(spy.count(), 1);
    QTest::keyClick(box.lineEdit(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(spy.count(), 1);
    box.chooserButton()->click();
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(box.text(), "");
}

TEST(EditBox, SetValueShowsTheBoxFormat) {
    EditBox money(EditBox::Kind::Money);
    money.setValue(QVariant::fromValue(Decimal::fromRaw(12345678)));
    EXPECT_EQ(money.moneyValue(), Decimal::fromRaw(12345700)); // shown with two places
    money.setDecimals(4);
    money.setValue(QVariant::fromValue(Decimal::fromRaw(12345678)));
    EXPECT_EQ(money.moneyValue(), Decimal::fromRaw(12345678));
    money.setValue(QString("12,5"));
    EXPECT_EQ(money.moneyValue(), Decimal(12) + Decimal::fromRaw(5000));
    money.setValue(QVariant());
    EXPECT_TRUE(money.isBlank());

    EditBox date(EditBox::Kind::Date);
    date.setValue(QDate(2024, 3, 5));
    EXPECT_EQ(date.text(), "05.03.2024");

    EditBox number(EditBox::Kind::Number);
    number.setValue(0.1);
    EXPECT_EQ(number.text(), "0,1");
    EXPECT_DOUBLE_EQ(*number.numberValue(), 0.1);
}

// --- navigator -------------------------------------------------------------------------------

namespace {

// A list of names standing in for a cursor.
class ListTarget : public NavigatorTarget {
public:
    QStringList rows;
    int pos = 0;
    RecordState st = RecordState::Browse;
    bool modifiable = true;
    bool failPost = false;
    bool divideByZero = false;
    QString buffer;

    RecordState state() const override { return st; }
    bool isBof() const override { return rows.isEmpty() || pos == 0; }
    bool isEof() const override { return rows.isEmpty() || pos == rows.size() - 1; }
    bool isEmpty() const override { return rows.isEmpty(); }
    bool canModify() const override { return modifiable; }
    void first() override { move(0); }
    void prior() override { move(pos - 1); }
    void next() override { move(pos + 1); }
    void last() override { move(int(rows.size()) - 1); }
    void insert() override { setState(RecordState::Insert); }
    void edit() override { setState(RecordState::Edit); }
    void post() override {
        if (failPost) throw std::runtime_error("Položka s tímto číslem již existuje");
        if (divideByZero) (void)(Decimal(1) / Decimal());
        if (st == RecordState::Insert) rows.insert(pos, buffer);
        setState(RecordState::Browse);
    }
    void cancel() override { setState(RecordState::Browse); }
    void remove() override {
        rows.removeAt(pos);
        move(std::min(pos, int(rows.size()) - 1));
    }
    void refresh() override { notifyChanged(); }

    void setState(RecordState s) {
        st = s;
        notifyChanged();
    }
    void move(int p) {
        pos = std::max(0, p);
        notifyChanged();
    }
};

using A = Navigator::Action;

QList<A> enabled(const Navigator& n) {
    QList<A> out;
    for (int i = 0; i < Navigator::kActionCount; ++i)
        if (n.isActionEnabled(A(i))) out << A(i);
    return out;
}

} // namespace

TEST(Navigator, ButtonsFollowTheStateAndPosition) {
    TestPlatform ui;
    ListTarget t;
    Navigator nav;
    EXPECT_TRUE(enabled(nav).isEmpty()); // no target

    nav.setTarget(&t);
    EXPECT_EQ(enabled(nav), (QList<A>{A::Insert, A::Refresh})); // empty table

    t.rows = {"a", "b", "c"};
    t.first();
    EXPECT_EQ(enabled(nav),
              (QList<A>{A::Next, A::Last, A::Insert, A::Remove, A::Edit, A::Refresh}));
    nav.trigger(A::Next);
    EXPECT_EQ(t.pos, 1);
    EXPECT_TRUE(nav.isActionEnabled(A::First));
    EXPECT_TRUE(nav.isActionEnabled(A::Last));
    nav.trigger(A::Last);
    EXPECT_FALSE(nav.isActionEnabled(A::Next));
    EXPECT_FALSE(nav.isActionEnabled(A::Last));

    for (RecordState s : {RecordState::Edit, RecordState::Insert}) {
        t.setState(s);
        EXPECT_EQ(enabled(nav), (QList<A>{A::Post, A::Cancel}));
    }
    t.setState(RecordState::Inactive);
    EXPECT_TRUE(enabled(nav).isEmpty());

    t.setState(RecordState::Browse);
    t.modifiable = false;
    t.notifyChanged();
    EXPECT_EQ(enabled(nav), (QList<A>{A::First, A::Prior, A::Refresh}));

    t.modifiable = true;
    nav.setLocked(true);
    EXPECT_TRUE(enabled(nav).isEmpty());
    EXPECT_FALSE(nav.trigger(A::First));
    EXPECT_EQ(t.pos, 2);
}

TEST(Navigator, RemoveAsksFirst) {
    TestPlatform ui;
    ListTarget t;
    t.rows = {"a", "b"};
    Navigator nav;
    nav.setTarget(&t);

    ui.answer(Button::No, "Chceš opravdu smazat větu ?", caption::Dotaz);
    EXPECT_FALSE(nav.trigger(A::Remove));
    EXPECT_EQ(t.rows.size(), 2);

    ui.answer(Button::Yes, "smazat");
    QSignalSpy done(&nav, &Navigator::actionDone);
    nav.button(A::Remove)->click();
    EXPECT_EQ(t.rows, QStringList{"b"});
    EXPECT_EQ(done.count(), 1);

    nav.setConfirmRemove(false);
    nav.trigger(A::Remove);
    EXPECT_TRUE(t.rows.isEmpty());
    EXPECT_FALSE(nav.isActionEnabled(A::Remove));
}

TEST(Navigator, AFailedPostIsShownAndTheRecordStaysInEdit) {
    TestPlatform ui;
    ListTarget t;
    t.rows = {"a"};
    Navigator nav;
    nav.setTarget(&t);
    nav.trigger(A::Insert);
    t.failPost = true;
    ui.answer(Button::Ok, "Položka s tímto číslem již existuje", caption::Chyba);
    EXPECT_FALSE(nav.trigger(A::Post));
    EXPECT_EQ(t.st, RecordState::Insert);
    EXPECT_TRUE(nav.isActionEnabled(A::Post));

    // A computation that divides by zero is told in Czech, never as the exception's own text.
    t.failPost = false;
    t.divideByZero = true;
    ui.answer(Button::Ok, "dělilo nulou", caption::Chyba);
    EXPECT_FALSE(nav.trigger(A::Post));
    EXPECT_EQ(t.st, RecordState::Insert);

    t.divideByZero = false;
    t.buffer = "nový";
    EXPECT_TRUE(nav.trigger(A::Post));
    EXPECT_EQ(t.rows.first(), "nový");
}

TEST(Navigator, BeforeHookCaptionsAndTargetLifetime) {
    TestPlatform ui;
    Navigator nav;
    EXPECT_EQ(nav.caption(A::First), "První");
    EXPECT_EQ(nav.caption(A::Refresh), "Obnovit");
    nav.setCaption(A::Insert, "&Nová");
    EXPECT_EQ(nav.button(A::Insert)->text(), "&Nová");

    {
        ListTarget t;
        t.rows = {"a", "b"};
        nav.setTarget(&t);
        nav.setBeforeAction([](A a) { return a != A::Next; });
        EXPECT_FALSE(nav.trigger(A::Next));
        EXPECT_EQ(t.pos, 0);
        EXPECT_TRUE(nav.isActionEnabled(A::Next));
    }
    // The target went away first: the navigator forgets it.
    EXPECT_EQ(nav.target(), nullptr);
    EXPECT_TRUE(enabled(nav).isEmpty());
    EXPECT_FALSE(nav.trigger(A::Last));
}

// --- panels ----------------------------------------------------------------------------------

TEST(ResizablePanel, DraggingTheGripResizesWithinLimits) {
    QWidget host;
    host.resize(800, 400);
    auto* panel = new ResizablePanel(Qt::RightEdge, &host);
    panel->setExtentLimits(50, 300);
    panel->setExtent(100);
    panel->resize(100, 200);
    host.show();
    QSignalSpy spy(panel, &ResizablePanel::extentChanged);

    QPoint grip(panel->width() - 2, 50);
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(panel, grip + QPoint(40, 0));
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, grip + QPoint(40, 0));
    EXPECT_EQ(panel->extent(), 140);

    grip = QPoint(panel->width() - 2, 50);
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(panel, grip + QPoint(500, 0));
    QTest::mouseRelease(panel, Qt::LeftButton);
    EXPECT_EQ(panel->extent(), 300);
    EXPECT_FALSE(spy.isEmpty());

    // A press away from the grip does not resize.
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, QPoint(20, 50));
    QTest::mouseMove(panel, QPoint(0, 50));
    QTest::mouseRelease(panel, Qt::LeftButton);
    EXPECT_EQ(panel->extent(), 300);
}

TEST(ResizablePanel, LeftEdgeGrowsWhenDraggedLeft) {
    QWidget host;
    host.resize(800, 400);
    auto* panel = new ResizablePanel(Qt::LeftEdge, &host);
    panel->setExtentLimits(10, 500);
    panel->setExtent(200);
    host.show();
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, QPoint(1, 10));
    QTest::mouseMove(panel, QPoint(-29, 10));
    QTest::mouseRelease(panel, Qt::LeftButton);
    EXPECT_EQ(panel->extent(), 230);
}

TEST(SlidingPanel, OpensAndShuts) {
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* panel = new SlidingPanel(Qt::Horizontal);
    layout->addWidget(panel);
    panel->setOpenExtent(120);
    panel->setDuration(0);
    host.show();
    EXPECT_FALSE(panel->isVisible());

    QSignalSpy opened(panel, &SlidingPanel::opened);
    QSignalSpy shut(panel, &SlidingPanel::shut);
    panel->toggle();
    EXPECT_TRUE(panel->isOpen());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->maximumWidth(), 120);
    EXPECT_EQ(opened.count(), 1);
    panel->slideOpen(); // already open
    EXPECT_EQ(opened.count(), 1);

    panel->toggle();
    EXPECT_FALSE(panel->isOpen());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(shut.count(), 1);

    // Animated: it gets there and says so.
    panel->setDuration(40);
    panel->slideOpen();
    EXPECT_TRUE(panel->isVisible());
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_EQ(panel->maximumWidth(), 120);
    // Shut while sliding open: ends shut.
    panel->slideShut();
    panel->slideOpen();
    panel->slideShut();
    ASSERT_TRUE(shut.wait(2000));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->maximumWidth(), 0);
}

// --- status bar ------------------------------------------------------------------------------

TEST(StatusBar, StateTextsAndFilter) {
    EXPECT_EQ(StavovyText(RecordState::Browse), "Prohlížení");
    EXPECT_EQ(StavovyText(RecordState::Edit), "Edit");
    EXPECT_EQ(StavovyText(RecordState::Insert), "Insert");
    EXPECT_EQ(StavovyText(RecordState::Inactive), "Jiný stav");

    StatusBar bar(3);
    bar.showState(1, RecordState::Insert);
    EXPECT_EQ(bar.panelText(1), "Insert");
    bar.showFilter(2, true);
    EXPECT_EQ(bar.panelText(2), "Filtr zapnut");
    bar.showFilter(2, true, "Filtr : Označené věty");
    EXPECT_EQ(bar.panelText(2), "Filtr : Označené věty");
    bar.showFilter(2, false);
    EXPECT_EQ(bar.panelText(2), "");
    bar.setPanelText(4, "x"); // grows to reach the panel
    EXPECT_EQ(bar.panelCount(), 5);
    EXPECT_EQ(bar.panelText(9), "");
}

TEST(StatusBar, ShowsTheHintOfTheFocusedBox) {
    TestPlatform ui;
    QDialog form;
    auto* layout = new QVBoxLayout(&form);
    auto* surname = new EditBox;
    surname->setHint("Příjmení zaměstnance/ dealera");
    auto* born = new EditBox(EditBox::Kind::Date);
    born->setHint("Datum narození zaměstnance / dealera");
    auto* plain = new QLineEdit;
    auto* bar = new StatusBar(2);
    layout->addWidget(surname);
    layout->addWidget(born);
    layout->addWidget(plain);
    layout->addWidget(bar);
    bar->showHintsIn(0);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    surname->setFocus();
    EXPECT_EQ(bar->panelText(0), "Příjmení zaměstnance/ dealera");
    born->setFocus();
    EXPECT_EQ(bar->panelText(0), "Datum narození zaměstnance / dealera");
    plain->setFocus();
    EXPECT_EQ(bar->panelText(0), "");
    EXPECT_EQ(bar->panelText(1), "");

    // A long hint is cut at the panel's edge; the window keeps its size.
    form.resize(300, form.sizeHint().height());
    QApplication::processEvents();
    const QSize before = form.size();
    born->setHint(QString(200, QLatin1Char('x')));
    surname->setFocus();
    born->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.size(), before);
    EXPECT_LE(form.minimumSizeHint().width(), 300);
}
