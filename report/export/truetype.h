#pragma once
// A subset of a TrueType face for embedding: the glyphs a document uses renumbered from 1 in
// the order they were asked for (0 stays the missing glyph), the components of composite
// glyphs appended after them, and only the tables a renderer of an embedded CID font needs
// (head, hhea, maxp, OS/2, hmtx, cvt, fpgm, prep, loca, glyf, post). The hinting programs are
// kept as they are; glyph numbers inside composite glyphs are rewritten.

#include <QByteArray>

#include <vector>

namespace brix::report {

class TrueTypeFile {
public:
    // The face faceIndex of a .ttf file or a .ttc collection. valid() false when the data is
    // not a TrueType face with 'glyf' outlines.
    TrueTypeFile(const QByteArray& data, int faceIndex = 0);
    bool valid() const { return valid_; }
    int glyphCount() const { return numGlyphs_; }

    // The subset whose glyph n (from 1) is source glyph glyphs[n - 1]. A source glyph may be
    // given more than once (two characters drawn by one glyph keep two numbers). An empty
    // array when the face is not valid.
    QByteArray subset(const std::vector<unsigned>& glyphs) const;

private:
    struct Table {
        quint32 offset = 0, length = 0;
    };
    QByteArray table(quint32 tag) const;
    QByteArray glyphData(unsigned glyph) const;

    QByteArray data_;
    bool valid_ = false;
    std::vector<std::pair<quint32, Table>> tables_;
    int numGlyphs_ = 0;
    int numHMetrics_ = 0;
    bool longLoca_ = false;
    std::vector<quint32> loca_;
};

} // namespace brix::report
