#include "pdfdocument.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cmath>

namespace brix::report {

namespace {

QByteArray n(qint64 v) {
    return QByteArray::number(v);
}

QByteArray ref(int object) {
    return n(object) + " 0 R";
}

QByteArray hex(const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size() * 2 + data.size() / 32 + 2);
    static const char kHex[] = "0123456789ABCDEF";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out += kHex[b >> 4];
        out += kHex[b & 15];
        if (i % 32 == 31) out += "\r\n";
    }
    out += '>';
    return out;
}

// The zlib stream of the data (what /FlateDecode reads).
QByteArray deflate(const QByteArray& data) {
    return qCompress(data, 6).mid(4);
}

QByteArray hex4(unsigned v) {
    return QByteArray::number(v, 16).rightJustified(4, '0').toUpper();
}

// UTF-16 of a character as hexadecimal digits.
QByteArray utf16Hex(char32_t c) {
    if (c < 0x10000) return hex4(unsigned(c));
    const QChar pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
    return hex4(pair[0].unicode()) + hex4(pair[1].unicode());
}

// Six capital letters naming the subset, from its glyphs.
QByteArray subsetTag(const QString& name, const std::vector<unsigned>& glyphs) {
    QCryptographicHash h(QCryptographicHash::Md5);
    h.addData(name.toUtf8());
    for (unsigned g : glyphs)
        h.addData(QByteArray::number(g) + ',');
    const QByteArray d = h.result();
    QByteArray tag;
    for (int i = 0; i < 6; ++i)
        tag += char('A' + static_cast<unsigned char>(d[i]) % 26);
    return tag;
}

// A name for /BaseFont: letters, digits and a few marks only.
QByteArray pdfName(const QString& s) {
    QByteArray out;
    for (QChar c : s)
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
            c == u'-' || c == u'_')
            out += char(c.unicode());
    return out.isEmpty() ? QByteArray("Font") : out;
}

} // namespace

void appendPdfNumber(QByteArray& out, double v, int decimals) {
    static const long long kScale[] = {1, 10, 100, 1000, 10000};
    decimals = std::clamp(decimals, 0, 4);
    if (!std::isfinite(v)) v = 0;
    const long long scale = kScale[decimals];
    long long n = std::llround(v * double(scale));
    if (n < 0) {
        out += '-';
        n = -n;
    }
    long long whole = n / scale, part = n % scale;
    char digits[24];
    int len = 0;
    do {
        digits[len++] = char('0' + whole % 10);
        whole /= 10;
    } while (whole && len < 24);
    while (len)
        out += digits[--len];
    if (part == 0) return;
    char frac[4];
    int used = decimals;
    for (int i = decimals - 1; i >= 0; --i) {
        frac[i] = char('0' + part % 10);
        part /= 10;
    }
    while (used > 0 && frac[used - 1] == '0')
        --used;
    out += '.';
    out.append(frac, used);
}

QByteArray pdfNumber(double v, int decimals) {
    QByteArray s;
    appendPdfNumber(s, v, decimals);
    if (s == "-0") s = "0";
    return s;
}

PdfDocument::PdfDocument(bool compress) : compress_(compress) {}

int PdfDocument::font(const FontFace& wanted) {
    const FontFace* face = &wanted;
    if (!face->valid() || !face->trueTypeOutlines())
        face = &brix::report::fontFace(QStringLiteral("Arial"), wanted.bold(), wanted.italic());
    if (!face->valid() || !face->trueTypeOutlines()) return -1;
    const QString key = face->file() + QLatin1Char('#') + QString::number(face->faceIndex());
    if (auto it = fontByFile_.find(key); it != fontByFile_.end()) return *it;
    auto f = std::make_unique<Font>();
    f->face = face;
    f->file = std::make_unique<TrueTypeFile>(face->fileData(), face->faceIndex());
    if (!f->file->valid()) return -1;
    f->widths.push_back(int(std::lround(face->glyphAdvance(0) * 1000.0 / face->unitsPerEm())));
    fonts_.push_back(std::move(f));
    const int index = int(fonts_.size()) - 1;
    fontByFile_.insert(key, index);
    return index;
}

const FontFace& PdfDocument::fontFace(int font) const {
    return *fonts_[size_t(font)]->face;
}

quint16 PdfDocument::code(int font, char32_t c) {
    Font& f = *fonts_[size_t(font)];
    if (c < 0x10000) {
        if (f.bmpCodes.empty()) f.bmpCodes.assign(0x10000, 0);
        if (const quint16 known = f.bmpCodes[c]) return known;
    } else if (auto it = f.codes.find(c); it != f.codes.end()) {
        return it->second;
    }
    if (f.characters.size() >= 0xFFFE) return 0;
    const quint16 code = quint16(f.characters.size() + 1);
    const unsigned glyph = f.face->glyphIndex(c);
    if (c < 0x10000)
        f.bmpCodes[c] = code;
    else
        f.codes.emplace(c, code);
    f.characters.push_back(c);
    f.glyphs.push_back(glyph);
    f.widths.push_back(
        int(std::lround(f.face->glyphAdvance(glyph) * 1000.0 / f.face->unitsPerEm())));
    return code;
}

int PdfDocument::width(int font, quint16 code) const {
    const Font& f = *fonts_[size_t(font)];
    return code < f.widths.size() ? f.widths[code] : 0;
}

int PdfDocument::image(const QImage& source, qint64 key) {
    if (key != 0)
        if (auto it = imageByKey_.find(key); it != imageByKey_.end()) return *it;
    Image im;
    im.width = source.width();
    im.height = source.height();
    const bool alpha = source.hasAlphaChannel();
    const bool gray = source.isGrayscale() && !alpha;
    const QImage rgb = source.convertToFormat(
        alpha ? QImage::Format_ARGB32 : (gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888));
    im.data.reserve(qsizetype(im.width) * im.height * (gray ? 1 : 3));
    if (alpha) im.mask.reserve(qsizetype(im.width) * im.height);
    for (int y = 0; y < im.height; ++y) {
        const uchar* line = rgb.constScanLine(y);
        if (gray) {
            im.data.append(reinterpret_cast<const char*>(line), im.width);
        } else if (!alpha) {
            im.data.append(reinterpret_cast<const char*>(line), qsizetype(im.width) * 3);
        } else {
            const auto* px = reinterpret_cast<const QRgb*>(line);
            for (int x = 0; x < im.width; ++x) {
                im.data += char(qRed(px[x]));
                im.data += char(qGreen(px[x]));
                im.data += char(qBlue(px[x]));
                im.mask += char(qAlpha(px[x]));
            }
        }
    }
    if (alpha) {
        // Fully opaque pictures need no mask.
        if (std::all_of(im.mask.cbegin(), im.mask.cend(), [](char a) { return uchar(a) == 255; }))
            im.mask.clear();
        else
            transparency_ = true;
    }
    im.dictionary = "/Type /XObject\r\n/Subtype /Image\r\n/Width " + n(im.width) + "\r\n/Height " +
                    n(im.height) + "\r\n/ColorSpace " + (gray ? "/DeviceGray" : "/DeviceRGB") +
                    "\r\n/BitsPerComponent 8";
    images_.push_back(std::move(im));
    const int index = int(images_.size()) - 1;
    if (key != 0) imageByKey_.insert(key, index);
    return index;
}

int PdfDocument::jpeg(const QByteArray& bytes, int width, int height, int components, qint64 key) {
    if (key != 0)
        if (auto it = imageByKey_.find(key); it != imageByKey_.end()) return *it;
    Image im;
    im.width = width;
    im.height = height;
    im.jpeg = true;
    im.data = bytes;
    im.dictionary = "/Type /XObject\r\n/Subtype /Image\r\n/Width " + n(width) + "\r\n/Height " +
                    n(height) + "\r\n/ColorSpace " +
                    (components == 1 ? "/DeviceGray" : "/DeviceRGB") + "\r\n/BitsPerComponent 8";
    images_.push_back(std::move(im));
    const int index = int(images_.size()) - 1;
    if (key != 0) imageByKey_.insert(key, index);
    return index;
}

void PdfDocument::addPage(const QSizeF& mediaBox, const QByteArray& content) {
    pages_.push_back({mediaBox, content});
}

QByteArray PdfDocument::streamObject(const QByteArray& entries, const QByteArray& data, bool binary,
                                     bool alreadyCompressed) const {
    QByteArray body = data;
    QByteArray filter;
    if (alreadyCompressed) {
        filter = "/DCTDecode";
        if (!compress_) {
            body = hex(data);
            filter = "[/ASCIIHexDecode /DCTDecode]";
        }
    } else if (compress_) {
        body = deflate(data);
        filter = "/FlateDecode";
    } else if (binary) {
        body = hex(data);
        filter = "/ASCIIHexDecode";
    }
    QByteArray o = "<<\r\n";
    if (!entries.isEmpty()) o += entries + "\r\n";
    o += "/Length " + n(body.size()) + "\r\n";
    if (!filter.isEmpty()) o += "/Filter " + filter + "\r\n";
    o += ">>\r\nstream\r\n" + body + "\r\nendstream\r\n";
    return o;
}

QByteArray PdfDocument::finish(const QDateTime& created) {
    // Object numbers in the order of the file.
    const int info = 1, resources = 2;
    int next = 3;
    std::vector<int> fontFirst;
    for (size_t i = 0; i < fonts_.size(); ++i) {
        fontFirst.push_back(next);
        next += 5; // Type 0 font, CID font, descriptor, font file, ToUnicode map
    }
    std::vector<int> imageObject, maskObject;
    for (const Image& im : images_) {
        imageObject.push_back(next++);
        maskObject.push_back(im.mask.isEmpty() ? 0 : next++);
    }
    const int catalog = next++;
    const int pageTree = next++;
    std::vector<int> pageObject;
    for (size_t i = 0; i < pages_.size(); ++i) {
        pageObject.push_back(next);
        next += 2;
    }
    const int objectCount = next - 1;

    QByteArray out = transparency_ ? "%PDF-1.4\r\n" : "%PDF-1.3\r\n";
    std::vector<qint64> offsets(size_t(objectCount) + 1, 0);
    auto object = [&](int number, const QByteArray& body) {
        offsets[size_t(number)] = out.size();
        out += n(number) + " 0 obj\r\n" + body + "endobj\r\n";
    };
    auto dictionary = [](const QByteArrayList& lines) {
        QByteArray d = "<<\r\n";
        for (const QByteArray& l : lines)
            d += l + "\r\n";
        return d + ">>\r\n";
    };

    object(info,
           dictionary({"/Producer (TALIV ReportGenerator version 5.42.5)",
                       "/CreationDate (D:" +
                           created.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1() + ")",
                       "/Title ()"}));
    QByteArrayList res{"/Font <<"};
    for (size_t i = 0; i < fonts_.size(); ++i)
        res << "/F" + n(qint64(i)) + ' ' + ref(fontFirst[i]);
    res << ">>";
    if (!images_.empty()) {
        res << "/XObject <<";
        for (size_t i = 0; i < images_.size(); ++i)
            res << "/Im" + n(qint64(i)) + ' ' + ref(imageObject[i]);
        res << ">>";
    }
    res << "/ProcSet [/PDF /Text /ImageB /ImageC]";
    object(resources, dictionary(res));

    for (size_t i = 0; i < fonts_.size(); ++i) {
        const std::array<QByteArray, 5> bodies = fontObjects(*fonts_[i], fontFirst[i]);
        for (int k = 0; k < 5; ++k)
            object(fontFirst[i] + k, bodies[size_t(k)]);
    }
    for (size_t i = 0; i < images_.size(); ++i) {
        const Image& im = images_[i];
        QByteArray entries = im.dictionary;
        if (maskObject[i]) entries += "\r\n/SMask " + ref(maskObject[i]);
        object(imageObject[i], streamObject(entries, im.data, true, im.jpeg));
        if (maskObject[i])
            object(maskObject[i],
                   streamObject("/Type /XObject\r\n/Subtype /Image\r\n/Width " + n(im.width) +
                                    "\r\n/Height " + n(im.height) +
                                    "\r\n/ColorSpace /DeviceGray\r\n/BitsPerComponent 8",
                                im.mask, true));
    }
    object(catalog, dictionary({"/Type /Catalog", "/Pages " + ref(pageTree)}));
    QByteArray kids;
    for (int p : pageObject)
        kids += ref(p) + ' ';
    const QSizeF first = pages_.empty() ? QSizeF(594.7, 841.7) : pages_.front().mediaBox;
    object(pageTree, dictionary({"/Type /Pages", "/Count " + n(qint64(pages_.size())),
                                 "/MediaBox [0 0 " + QByteArray::number(first.width(), 'f', 1) +
                                     ' ' + QByteArray::number(first.height(), 'f', 1) + ']',
                                 "/Kids [" + kids + ']', "/Resources " + ref(resources)}));
    for (size_t i = 0; i < pages_.size(); ++i) {
        QByteArrayList page{"/Type /Page", "/Parent " + ref(pageTree),
                            "/Contents " + ref(pageObject[i] + 1)};
        if (pages_[i].mediaBox != first)
            page << "/MediaBox [0 0 " + QByteArray::number(pages_[i].mediaBox.width(), 'f', 1) +
                        ' ' + QByteArray::number(pages_[i].mediaBox.height(), 'f', 1) + ']';
        object(pageObject[i], dictionary(page));
        object(pageObject[i] + 1, streamObject({}, pages_[i].content, false));
    }

    const qint64 xref = out.size();
    out += "xref\r\n0 " + n(objectCount + 1) + "\r\n0000000000 65535 f\r\n";
    for (int i = 1; i <= objectCount; ++i)
        out += n(offsets[size_t(i)]).rightJustified(10, '0') + " 00000 n\r\n";
    out += "trailer\r\n<<\r\n/Root " + ref(catalog) + "\r\n/Info " + ref(info) + "\r\n/Size " +
           n(objectCount + 1) + "\r\n>>\r\nstartxref\r\n" + n(xref) + "\r\n%%EOF";
    return out;
}

std::array<QByteArray, 5> PdfDocument::fontObjects(const Font& f, int first) const {
    const FontFace& face = *f.face;
    const QByteArray name =
        subsetTag(face.postscriptName(), f.glyphs) + '+' +
        pdfName(face.postscriptName().isEmpty() ? face.family() : face.postscriptName());
    const double k = 1000.0 / face.unitsPerEm();
    auto scaled = [&](double v) { return n(qint64(std::lround(v * k))); };
    QByteArray widths = "/W [0 [";
    for (size_t i = 0; i < f.widths.size(); ++i) {
        if (i) widths += i % 16 == 0 ? "\r\n" : " ";
        widths += n(f.widths[i]);
    }
    widths += "]]";
    int flags = 32; // non-symbolic
    if (face.fixedPitch()) flags |= 1;
    if (face.italic()) flags |= 64;
    const QRect bb = face.boundingBox();

    QByteArray type0 = "<<\r\n/Type /Font\r\n/Subtype /Type0\r\n/BaseFont /" + name +
                       "\r\n/Encoding /Identity-H\r\n/DescendantFonts [" + ref(first + 1) +
                       "]\r\n/ToUnicode " + ref(first + 4) + "\r\n>>\r\n";
    QByteArray cid = "<<\r\n/Type /Font\r\n/Subtype /CIDFontType2\r\n/BaseFont /" + name +
                     "\r\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 "
                     ">>\r\n/FontDescriptor " +
                     ref(first + 2) + "\r\n/DW " + n(f.widths.empty() ? 0 : f.widths[0]) + "\r\n" +
                     widths + "\r\n/CIDToGIDMap /Identity\r\n>>\r\n";
    QByteArray descriptor =
        "<<\r\n/Type /FontDescriptor\r\n/FontName /" + name + "\r\n/Flags " + n(flags) +
        "\r\n/FontBBox [" + scaled(bb.left()) + ' ' + scaled(bb.top()) + ' ' +
        scaled(bb.left() + bb.width()) + ' ' + scaled(bb.top() + bb.height()) +
        "]\r\n/ItalicAngle " + pdfNumber(face.italicAngle(), 1) + "\r\n/Ascent " +
        scaled(face.ascender()) + "\r\n/Descent " + scaled(face.descender()) + "\r\n/CapHeight " +
        scaled(face.capHeight()) + "\r\n/StemV 80\r\n/FontFile2 " + ref(first + 3) + "\r\n>>\r\n";
    const QByteArray program = f.file->subset(f.glyphs);
    QByteArray file = streamObject("/Length1 " + n(program.size()), program, true);

    QByteArray cmap = "/CIDInit /ProcSet findresource begin\r\n12 dict begin\r\nbegincmap\r\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\r\n"
                      "/CMapName /Adobe-Identity-UCS def\r\n/CMapType 2 def\r\n"
                      "1 begincodespacerange\r\n<0000> <FFFF>\r\nendcodespacerange\r\n";
    for (size_t from = 0; from < f.characters.size(); from += 100) {
        const size_t to = std::min(f.characters.size(), from + 100);
        cmap += n(qint64(to - from)) + " beginbfchar\r\n";
        for (size_t i = from; i < to; ++i)
            cmap += '<' + hex4(unsigned(i + 1)) + "> <" + utf16Hex(f.characters[i]) + ">\r\n";
        cmap += "endbfchar\r\n";
    }
    cmap += "endcmap\r\nCMapName currentdict /CMap defineresource pop\r\nend\r\nend\r\n";
    const QByteArray toUnicode = streamObject({}, cmap, false);
    return {type0, cid, descriptor, file, toUnicode};
}

} // namespace brix::report
