#include "definition.h"

namespace brix::report {

namespace {

const PaletteColor kPalette[16] = {
    {0x000000, "černá"},      {0x000080, "kaštanová"},     {0x008000, "zelená"},
    {0x008080, "olivová"},    {0x800000, "ultramarínová"}, {0x800080, "purpurová"},
    {0x808000, "šedozelená"}, {0x808080, "šedá"},          {0xC0C0C0, "stříbrná"},
    {0x0000FF, "červená"},    {0x00FF00, "žlutozelená"},   {0x00FFFF, "žlutá"},
    {0xFF0000, "modrá"},      {0xFF00FF, "růžová"},        {0xFFFF00, "akvamarínová"},
    {0xFFFFFF, "bílá"},
};

} // namespace

QString sectionName(int code) {
    switch (code) {
    case ReportHeader:
        return QStringLiteral("Začátek sestavy");
    case PageHeader:
        return QStringLiteral("Hlava stránky");
    case Body:
        return QStringLiteral("Tělo sestavy");
    case ReportFooter:
        return QStringLiteral("Konec sestavy");
    case PageFooter:
        return QStringLiteral("Pata stránky");
    default:
        return code % 2 == 1 ? QStringLiteral("Začátek skupiny") : QStringLiteral("Konec skupiny");
    }
}

QString elementKindName(int kind) {
    switch (kind) {
    case KindLabel:
        return QStringLiteral("Grafický text");
    case KindField:
        return QStringLiteral("Položka tabulky");
    case KindFieldLabel:
        return QStringLiteral("Popis položky");
    case KindParameter:
        return QStringLiteral("Parametr");
    case KindVariable:
        return QStringLiteral("Proměnná");
    case KindFunction:
        return QStringLiteral("Funkce");
    case KindLine:
        return QStringLiteral("Úsečka");
    case KindRectangle:
        return QStringLiteral("Rámeček");
    case KindRoundRect:
        return QStringLiteral("Zaoblený rámeček");
    case KindEllipse:
        return QStringLiteral("Elipsa");
    case KindPicture:
        return QStringLiteral("Obrázek");
    case KindBarcode:
        return QStringLiteral("Čárový kód");
    case KindPaintBox:
        return QStringLiteral("Kreslicí plocha");
    case KindDetail:
        return QString();
    default:
        return QStringLiteral("Neznámý");
    }
}

bool isTextKind(int kind) {
    return kind >= KindLabel && kind <= KindFunction;
}
bool isGraphicKind(int kind) {
    return kind >= KindLine && kind <= KindPaintBox;
}

const PaletteColor* palette() {
    return kPalette;
}

int colorFromFile(int stored) {
    if (stored >= 0 && stored <= 15) return kPalette[stored].value;
    return stored;
}

int colorToFile(int color) {
    for (int i = 0; i < 16; ++i)
        if (kPalette[i].value == color) return i;
    return color;
}

double GridSettings::charWidth() const {
    switch (pitch) {
    case 0:
        return 100.0 / 10;
    case 2:
        return 100.0 / 17;
    default:
        return 100.0 / 12;
    }
}

double GridSettings::lineHeight() const {
    switch (lineSpacing) {
    case 1:
        return 25.0;
    case 2:
        return 100.0 / 3;
    default:
        return 100.0 / 6;
    }
}

ReportDefinition::ReportDefinition() {
    for (int code = 0; code < FirstGroupSection; ++code) {
        TOddilSestavy s;
        s.code = code;
        sections.push_back(s);
    }
}

void ReportDefinition::clearContent() {
    sections.resize(FirstGroupSection);
    for (TOddilSestavy& s : sections)
        s.elements.clear();
    groups.clear();
    functions.clear();
    detailTemplates.clear();
    lines.clear();
}

int ReportDefinition::addGroup(const QString& expression) {
    TPolSkup g;
    g.number = int(groups.size());
    g.expression = expression;
    groups.push_back(g);
    TOddilSestavy header;
    header.code = g.headerSection();
    header.columns = page.columns;
    header.columnGap = page.columnGap;
    TOddilSestavy footer = header;
    footer.code = g.footerSection();
    sections.push_back(header);
    sections.push_back(footer);
    return g.number;
}

void ReportDefinition::setSectionFlag(int code, int bit, bool on) {
    int& f = sections[size_t(code)].flags;
    f = on ? (f | bit) : (f & ~bit);
}

bool ReportDefinition::sameModel(const ReportDefinition& o) const {
    if (!(sections == o.sections && detailTemplates == o.detailTemplates &&
          description == o.description && page == o.page && grid == o.grid &&
          background == o.background && infoValue5 == o.infoValue5 &&
          groups.size() == o.groups.size() && functions.size() == o.functions.size()))
        return false;
    for (size_t i = 0; i < groups.size(); ++i)
        if (groups[i].number != o.groups[i].number ||
            groups[i].expression != o.groups[i].expression ||
            groups[i].newPage != o.groups[i].newPage)
            return false;
    for (int i = 0; i < functions.size(); ++i)
        if (!functions[i].sameDefinition(o.functions[i])) return false;
    return true;
}

} // namespace brix::report
