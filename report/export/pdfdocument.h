#pragma once
// The objects of a PDF document being written: embedded fonts with the characters used, the
// pictures, and the pages' contents; `finish` lays them out in the file's order. Internal to
// the PDF writer (pdf.h is its interface).

#include "fontmetrics.h"
#include "truetype.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSizeF>

#include <array>
#include <map>
#include <memory>
#include <vector>

namespace brix::report {

// A number for a content stream: at most `decimals` decimals (0 to 4), no trailing zeros, a
// point; appended without a temporary.
QByteArray pdfNumber(double v, int decimals = 3);
void appendPdfNumber(QByteArray& out, double v, int decimals);

class PdfDocument {
public:
    explicit PdfDocument(bool compress);

    // The font of a face (/F<n>); -1 when no TrueType face can stand for it.
    int font(const FontFace& face);
    const FontFace& fontFace(int font) const;
    // The character's code in the font (two bytes, Identity-H) and its width in thousandths
    // of the em as the font's widths give it. Every distinct character has a code of its own,
    // so that the ToUnicode map gives back exactly the characters written.
    quint16 code(int font, char32_t c);
    int width(int font, quint16 code) const;

    // A picture (/Im<n>): pixels compressed with their transparency as a soft mask, or a
    // JPEG file's bytes as they are. key identifies the picture for reuse (0: none).
    int image(const QImage& image, qint64 key);
    int jpeg(const QByteArray& bytes, int width, int height, int components, qint64 key);

    // A page of the media box (points) with its content.
    void addPage(const QSizeF& mediaBox, const QByteArray& content);
    int pageCount() const { return int(pages_.size()); }

    QByteArray finish(const QDateTime& created);

private:
    struct Font {
        const FontFace* face = nullptr;
        std::unique_ptr<TrueTypeFile> file;
        std::vector<quint16> bmpCodes;     // by character below 0x10000, 0: none yet
        std::map<char32_t, quint16> codes; // the characters above
        std::vector<char32_t> characters;  // by code - 1
        std::vector<unsigned> glyphs;      // source glyph by code - 1
        std::vector<int> widths;           // by code; [0] the missing glyph
    };
    struct Image {
        QByteArray dictionary; // entries without Length and Filter
        QByteArray data;
        bool jpeg = false;
        QByteArray mask; // soft-mask pixels (8 bits of alpha), empty without
        int width = 0, height = 0;
    };
    struct Page {
        QSizeF mediaBox;
        QByteArray content;
    };

    // "<< ... >>" and its stream, compressed or in hexadecimal as the mode says.
    QByteArray streamObject(const QByteArray& entries, const QByteArray& data, bool binary,
                            bool alreadyCompressed = false) const;
    // The Type 0 font, the CID font, the descriptor, the font file and the ToUnicode map.
    std::array<QByteArray, 5> fontObjects(const Font& f, int firstObject) const;

    bool compress_;
    std::vector<std::unique_ptr<Font>> fonts_;
    QHash<QString, int> fontByFile_;
    std::vector<Image> images_;
    QHash<qint64, int> imageByKey_;
    std::vector<Page> pages_;
    bool transparency_ = false;
};

} // namespace brix::report
