#pragma once
// Reports run for the export tests: a template of lines over rows of a CSV text, and the
// two-page landscape sample that every writer's golden shows (fonts in three families and
// styles, colours, frames, a wrapped text, lines, shapes with fills and hatches).

#include "bridge.h"
#include "sestava.h"

#include "gui_app.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace brix::test {

struct RunReport {
    std::unique_ptr<report::ListBridge> data = std::make_unique<report::ListBridge>();
    std::unique_ptr<report::TSestava> report = std::make_unique<report::TSestava>();
    int result = -1;
};

// Runs the template over the CSV (header "Name:TYPE", UTF-8); the report keeps its pages.
inline RunReport runReport(const QStringList& lines, const QString& csv) {
    guiApp();
    RunReport r;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.csv"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(csv.toUtf8());
    f.close();
    QString error;
    if (!report::readCsvBridge(path, r.data.get(), &error)) return r;
    r.report->IsStored = true;
    r.report->setPredloha(lines);
    r.report->DataSource = r.data.get();
    r.result = r.report->Prepare();
    return r;
}

// A text element line (kinds 1 to 6).
inline QString textLine(const QString& section, int kind, const QString& ref, int left, int top,
                        int width, int height, const QString& font, int size, int color, int style,
                        int alignFlags, int frame, const QString& text, int angle = 0) {
    QString t = text;
    t.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12,%13,238,\"%14\",0,%15,0")
        .arg(section)
        .arg(kind)
        .arg(ref)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(font)
        .arg(size)
        .arg(color)
        .arg(style)
        .arg(alignFlags)
        .arg(frame)
        .arg(t)
        .arg(angle);
}

// A graphic element line (kinds 7 to 13).
inline QString shapeLine(const QString& section, int kind, int left, int top, int width, int height,
                         int penWidth, int penColor, int penStyle, int flags, int fillColor,
                         int fillStyle) {
    return QStringLiteral("%1,%2,0,%3,%4,%5,%6,,%7,%8,%9,%10,%11,%12")
        .arg(section)
        .arg(kind)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(penWidth)
        .arg(penColor)
        .arg(penStyle)
        .arg(flags)
        .arg(fillColor)
        .arg(fillStyle);
}

inline const QString& pangram() {
    static const QString s = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    return s;
}
inline const QString& marks() {
    static const QString s = QStringLiteral("„Uvozovky“ – pomlčka — € 12 § 3");
    return s;
}

// Landscape A4, margins 50/50/70/70, the body on a page of its own for each of two records.
inline QStringList sampleTemplate() {
    QStringList t{QStringLiteral("I,0,\"Zkouška exportu\""),
                  QStringLiteral("I,1,5,42,5"),
                  QStringLiteral("I,2,1,826,1169,50,50,70,70,1,0"),
                  QStringLiteral("I,3,0,1,40,0"),
                  QStringLiteral("I,3,1,0,0,0"),
                  QStringLiteral("I,3,2,1,420,1"),
                  QStringLiteral("I,3,3,0,0,0"),
                  QStringLiteral("I,3,4,1,30,0"),
                  QStringLiteral("I,6,0,8,8,0,1,0,0")};
    t << textLine("Z", 1, "0", 0, 0, 700, 30, "Arial", 14, 0, 1, 0, 15, pangram());
    t << textLine("T", 2, "Nazev", 0, 0, 400, 22, "Times New Roman", 12, 9, 2, 1, 0, "");
    t << textLine("T", 1, "0", 420, 0, 400, 22, "Courier New", 11, 12, 3, 0, 0, pangram());
    t << textLine("T", 1, "0", 0, 30, 500, 22, "Arial", 12, 0x008000, 4, 2, 2, marks());
    t << textLine("T", 1, "0", 0, 60, 260, 80, "Times New Roman", 11, 0, 0, 0x10, 5,
                  QStringLiteral("Dlouhý text, který se zalomí do několika řádků v úzkém "
                                 "prvku sestavy."));
    t << shapeLine("T", 7, 300, 60, 120, 60, 1, 0, 1, 0x5F, 0xFFFFFF, 0);
    t << shapeLine("T", 8, 440, 60, 100, 60, 1, 0, 0, 0, 0x00FFFF, 0);
    t << shapeLine("T", 9, 560, 60, 100, 60, 2, 0xFF0000, 0, 0, 0x0000FF, 1);
    t << shapeLine("T", 10, 680, 60, 100, 60, 1, 0, 0, 0, 0x008000, 6);
    t << shapeLine("T", 8, 800, 60, 100, 60, 0, 0, 0, 0, 0x800080, 4);
    t << textLine("P", 5, "3", 0, 0, 200, 17, "Arial", 8, 0, 0, 0, 0, QStringLiteral("Strana %d"));
    return t;
}

inline QString sampleData() {
    return QStringLiteral("Nazev:A\nŠroub M8 (pozinkovaný)\nMatice \\ {M8}\n");
}

} // namespace brix::test
