#pragma once
// The installed faces that stand in for the fonts of templates, with their design metrics.
//
// Promises:
// - One face per template font name and style: the family of fonts.h found through fontconfig,
//   so that layout, the renderer and every file writer (which embed the same file) agree.
// - Advances are the face's design advances (no hinting) in font units; scaled linearly they
//   give the same widths at every resolution. A text measured at 100 units per inch lands at
//   the same place on screen, on a printer, in a metafile and in a PDF.
// - Lookups never fail: a character the face lacks has glyph 0 (the face's "missing" glyph)
//   and its advance; a face that cannot be loaded measures every character as 0.6 em.
// The tables are filled when a face is first asked for and never change afterwards.

#include <QByteArray>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

namespace brix::report {

class FontFace {
public:
    FontFace(const QString& file, int faceIndex);
    // A face that measures every character as 0.6 em (no file could be loaded).
    FontFace();

    bool valid() const { return valid_; }
    QString file() const { return file_; }
    int faceIndex() const { return faceIndex_; }
    QString family() const { return family_; }
    QString postscriptName() const { return postscriptName_; }
    // The style of the face itself; a template asking for bold of a family without a bold face
    // gets the regular face (bold() false), which the renderer then emboldens.
    bool bold() const { return bold_; }
    bool italic() const { return italic_; }
    bool fixedPitch() const { return fixedPitch_; }
    // TrueType outlines ('glyf' table), as the file writers embed them.
    bool trueTypeOutlines() const { return trueType_; }

    // Font units.
    int unitsPerEm() const { return unitsPerEm_; }
    int ascender() const { return ascender_; }   // above the baseline, positive
    int descender() const { return descender_; } // below the baseline, negative
    int capHeight() const { return capHeight_; }
    int underlinePosition() const { return underlinePosition_; } // negative: below the baseline
    int underlineThickness() const { return underlineThickness_; }
    int strikeoutPosition() const { return strikeoutPosition_; }
    int strikeoutThickness() const { return strikeoutThickness_; }
    double italicAngle() const { return italicAngle_; }
    QRect boundingBox() const { return bbox_; } // x min, y min, width, height (y up)
    int glyphCount() const { return int(advances_.size()); }

    unsigned glyphIndex(char32_t c) const;
    int glyphAdvance(unsigned glyph) const;
    int charAdvance(char32_t c) const { return glyphAdvance(glyphIndex(c)); }
    // The advance of c in the units of emSize (the em's size in those units).
    double advance(char32_t c, double emSize) const {
        return charAdvance(c) * emSize / unitsPerEm_;
    }
    // Every character the face maps, with its glyph (for a writer's character map).
    const std::vector<std::pair<char32_t, unsigned>>& characterMap() const { return cmap_; }

    // The bytes of the face's file, read once.
    QByteArray fileData() const;

private:
    bool valid_ = false;
    QString file_;
    int faceIndex_ = 0;
    QString family_, postscriptName_;
    bool bold_ = false, italic_ = false, fixedPitch_ = false, trueType_ = false;
    int unitsPerEm_ = 1000;
    int ascender_ = 905, descender_ = -212, capHeight_ = 716;
    int underlinePosition_ = -106, underlineThickness_ = 73;
    int strikeoutPosition_ = 259, strikeoutThickness_ = 50;
    double italicAngle_ = 0;
    QRect bbox_{0, -212, 1000, 1117};
    std::vector<unsigned short> bmpGlyphs_; // glyph of every character below 0x10000
    std::vector<std::pair<char32_t, unsigned>> cmap_;
    std::vector<unsigned short> advances_; // by glyph
    mutable std::shared_ptr<QByteArray> data_;
};

// The face of a template's font name ("Arial", "Arial CE", "Roman 12cpi", "Times New Roman")
// in a style. The reference stays valid for the life of the program.
const FontFace& fontFace(const QString& templateFontName, bool bold, bool italic);

// The size of the em in report units (hundredths of an inch) of a point size; sizes of 0 or
// less count as 10 points.
inline double emSize(double points) {
    return (points > 0 ? points : 10) * 100.0 / 72.0;
}

} // namespace brix::report
