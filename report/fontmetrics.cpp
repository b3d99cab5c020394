#include "fontmetrics.h"

#include "fonts.h"

#include <QFile>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_ADVANCES_H

#include <algorithm>
#include <map>
#include <mutex>

namespace brix::report {

namespace {

std::mutex g_mutex;

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

// The file and face index fontconfig chooses for a family in a style.
std::pair<QString, int> matchFace(const QString& family, bool bold, bool italic) {
    if (!FcInit()) return {};
    FcPattern* pattern = FcPatternCreate();
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::pair<QString, int> found;
    if (match) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            found.first = QString::fromUtf8(reinterpret_cast<const char*>(file));
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
                found.second = index;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

} // namespace

FontFace::FontFace() : bmpGlyphs_(0x10000, 0), advances_(1, 600) {}

FontFace::FontFace(const QString& file, int faceIndex) : FontFace() {
    file_ = file;
    faceIndex_ = faceIndex;
    FT_Library lib = library();
    FT_Face face = nullptr;
    if (!lib || file.isEmpty() ||
        FT_New_Face(lib, QFile::encodeName(file).constData(), faceIndex, &face) != 0)
        return;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 || face->num_glyphs <= 0) {
        FT_Done_Face(face);
        return;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    family_ = QString::fromUtf8(face->family_name ? face->family_name : "");
    if (const char* ps = FT_Get_Postscript_Name(face)) postscriptName_ = QString::fromLatin1(ps);
    bold_ = face->style_flags & FT_STYLE_FLAG_BOLD;
    italic_ = face->style_flags & FT_STYLE_FLAG_ITALIC;
    fixedPitch_ = FT_IS_FIXED_WIDTH(face);
    FT_ULong glyfLength = 0;
    trueType_ = FT_Load_Sfnt_Table(face, TTAG_glyf, 0, nullptr, &glyfLength) == 0 && glyfLength;
    unitsPerEm_ = face->units_per_EM;
    ascender_ = face->ascender;
    descender_ = face->descender;
    underlinePosition_ = face->underline_position;
    underlineThickness_ = std::max<int>(1, face->underline_thickness);
    bbox_ = QRect(int(face->bbox.xMin), int(face->bbox.yMin),
                  int(face->bbox.xMax - face->bbox.xMin), int(face->bbox.yMax - face->bbox.yMin));
    capHeight_ = unitsPerEm_ * 7 / 10;
    strikeoutPosition_ = unitsPerEm_ / 4;
    strikeoutThickness_ = underlineThickness_;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF) {
        if (os2->version >= 2 && os2->sCapHeight > 0) capHeight_ = os2->sCapHeight;
        if (os2->yStrikeoutSize > 0) {
            strikeoutPosition_ = os2->yStrikeoutPosition;
            strikeoutThickness_ = os2->yStrikeoutSize;
        }
    }
    if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)))
        italicAngle_ = double(post->italicAngle) / 65536.0;

    const FT_Long glyphs = face->num_glyphs;
    std::vector<FT_Fixed> adv(size_t(glyphs), 0);
    // With FT_LOAD_NO_SCALE the advances are the design advances in font units.
    if (FT_Get_Advances(face, 0, FT_UInt(glyphs), FT_LOAD_NO_SCALE, adv.data()) != 0) {
        FT_Done_Face(face);
        return;
    }
    advances_.assign(size_t(glyphs), 0);
    for (FT_Long g = 0; g < glyphs; ++g)
        advances_[size_t(g)] =
            static_cast<unsigned short>(std::clamp<FT_Fixed>(adv[size_t(g)], 0, 0xFFFF));
    FT_UInt glyph = 0;
    for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0;
         c = FT_Get_Next_Char(face, c, &glyph)) {
        cmap_.emplace_back(char32_t(c), unsigned(glyph));
        if (c < 0x10000) bmpGlyphs_[c] = static_cast<unsigned short>(glyph);
    }
    FT_Done_Face(face);
    valid_ = true;
}

unsigned FontFace::glyphIndex(char32_t c) const {
    if (c < 0x10000) return bmpGlyphs_[c];
    for (const auto& [code, glyph] : cmap_)
        if (code == c) return glyph;
    return 0;
}

int FontFace::glyphAdvance(unsigned glyph) const {
    return glyph < advances_.size() ? advances_[glyph] : advances_.empty() ? 0 : advances_[0];
}

QByteArray FontFace::fileData() const {
    std::lock_guard lock(g_mutex);
    if (!data_) {
        QFile f(file_);
        data_ =
            std::make_shared<QByteArray>(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return *data_;
}

const FontFace& fontFace(const QString& templateFontName, bool bold, bool italic) {
    // Faces by template name and style, and by file, so that names standing for the same file
    // share one face.
    static std::map<QString, const FontFace*> byName;
    static std::map<std::pair<QString, int>, std::unique_ptr<FontFace>> byFile;
    const QString key =
        templateFontName + QLatin1Char('|') + QChar(u'0' + bold) + QChar(u'0' + italic);
    std::lock_guard lock(g_mutex);
    if (auto it = byName.find(key); it != byName.end()) return *it->second;
    const std::pair<QString, int> file =
        matchFace(substituteFontFamily(templateFontName), bold, italic);
    auto& face = byFile[file];
    if (!face)
        face = file.first.isEmpty() ? std::make_unique<FontFace>()
                                    : std::make_unique<FontFace>(file.first, file.second);
    byName[key] = face.get();
    return *face;
}

} // namespace brix::report
