// The renderer by pixel probes at several scales: frames, pen widths, dashes, corners,
// hatches, picture placement, paint boxes, the background, text at its laid-out places and
// rotated text. No whole-page images are compared.

#include "fontmetrics.h"
#include "output.h"
#include "render.h"

#include "gui_app.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTemporaryFile>

#include <cmath>

using namespace brix::report;

namespace {

const QColor kPaper(Qt::white);
const QColor kInk(Qt::black);

TVystPrvek element(int kind, double left, double top, double width, double height) {
    TVystPrvek v;
    v.source.kind = kind;
    v.source.left = int(left);
    v.source.top = int(top);
    v.source.width = int(width);
    v.source.height = int(height);
    v.left = left;
    v.top = top;
    v.width = width;
    v.height = height;
    return v;
}

// One element drawn on a white page of 200 × 150 units at the scale.
QImage draw(const TVystPrvek& v, double scale, int pageWidth = 200, int pageHeight = 150) {
    brix::test::guiApp();
    QImage img(int(pageWidth * scale), int(pageHeight * scale), QImage::Format_RGB32);
    img.fill(kPaper);
    QPainter p(&img);
    renderElement(p, v, scale);
    return img;
}

bool dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

// Lengths of the runs of equal darkness along a row from x0 to x1 (exclusive), starting with
// the state at x0.
std::vector<int> runsOfRow(const QImage& img, int y, int x0, int x1) {
    std::vector<int> runs;
    bool state = dark(img, x0, y);
    int n = 0;
    for (int x = x0; x < x1; ++x) {
        if (dark(img, x, y) == state) {
            ++n;
        } else {
            runs.push_back(n);
            n = 1;
            state = !state;
        }
    }
    runs.push_back(n);
    return runs;
}

// The bounding box of the dark pixels.
QRect darkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (dark(img, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

QImage solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

} // namespace

TEST(Renderer, FramesAreOneDevicePixelOnTheElementsEdges) {
    for (double s : {1.0, 6.0, 12.0}) {
        SCOPED_TRACE(s);
        TVystPrvek v = element(KindLabel, 10, 10, 50, 20);
        v.source.flags = FrameLeft | FrameTop | FrameRight | FrameBottom;
        const QImage img = draw(v, s);
        const int L = int(10 * s), T = int(10 * s), R = int(60 * s), B = int(30 * s);
        const int midY = (T + B) / 2, midX = (L + R) / 2;
        EXPECT_TRUE(dark(img, L, midY));
        EXPECT_FALSE(dark(img, L - 1, midY));
        EXPECT_FALSE(dark(img, L + 1, midY));
        EXPECT_TRUE(dark(img, R - 1, midY));
        EXPECT_FALSE(dark(img, R, midY));
        EXPECT_FALSE(dark(img, R - 2, midY));
        EXPECT_TRUE(dark(img, midX, T));
        EXPECT_FALSE(dark(img, midX, T + 1));
        EXPECT_TRUE(dark(img, midX, B - 1));
        EXPECT_FALSE(dark(img, midX, B));
        // Corners closed.
        EXPECT_TRUE(dark(img, L, T));
        EXPECT_TRUE(dark(img, R - 1, B - 1));
    }
    // Only the sides asked for.
    TVystPrvek v = element(KindLabel, 10, 10, 50, 20);
    v.source.flags = FrameBottom;
    const QImage img = draw(v, 1);
    EXPECT_TRUE(dark(img, 30, 29));
    EXPECT_FALSE(dark(img, 10, 20));
    EXPECT_FALSE(dark(img, 59, 20));
    EXPECT_FALSE(dark(img, 30, 10));
}

TEST(Renderer, PenWidthsGrowWithTheScaleInsideTheElement) {
    // round((pen width − 1) × s) + 1 pixels.
    struct Case {
        int pen;
        double s;
        int pixels;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{1, 6, 1}, Case{1, 12, 1}, Case{2, 1, 2},
                          Case{2, 6, 7}, Case{3, 6, 13}, Case{3, 12, 25}, Case{5, 1, 5}}) {
        SCOPED_TRACE(testing::Message() << c.pen << " at " << c.s);
        TVystPrvek line = element(KindLine, 20, 20, 60, 40);
        line.source.penWidth = c.pen;
        line.source.flags = 0x01; // the left edge
        QImage img = draw(line, c.s);
        const int L = int(20 * c.s), midY = int(40 * c.s);
        EXPECT_FALSE(dark(img, L - 1, midY));
        EXPECT_EQ(runsOfRow(img, midY, L, L + 40)[0], c.pixels);
        // A rectangle's outline of the same pen lies inside it, over its fill.
        TVystPrvek rect = element(KindRectangle, 20, 20, 60, 40);
        rect.source.penWidth = c.pen;
        rect.source.fillColor = 0x00FFFF; // yellow
        img = draw(rect, c.s);
        EXPECT_FALSE(dark(img, L - 1, midY));
        EXPECT_EQ(runsOfRow(img, midY, L, L + 40)[0], c.pixels);
        EXPECT_EQ(img.pixelColor(L + c.pixels, midY), QColor(Qt::yellow));
        const int R = int(80 * c.s);
        EXPECT_TRUE(dark(img, R - c.pixels, midY));
        EXPECT_EQ(img.pixelColor(R - c.pixels - 1, midY), QColor(Qt::yellow));
        EXPECT_EQ(img.pixelColor(R, midY), kPaper);
    }
    // A pen width of 0 draws no outline.
    TVystPrvek rect = element(KindRectangle, 20, 20, 60, 40);
    rect.source.penWidth = 0;
    rect.source.fillColor = 0x00FFFF;
    const QImage img = draw(rect, 1);
    EXPECT_EQ(img.pixelColor(20, 40), QColor(Qt::yellow));
    EXPECT_EQ(img.pixelColor(79, 59), QColor(Qt::yellow));
    EXPECT_EQ(img.pixelColor(80, 40), kPaper);
}

TEST(Renderer, DashesAreMeasuredInReportUnits) {
    struct Case {
        int style;
        std::vector<int> units; // on, off, ...
    };
    for (double s : {1.0, 6.0}) {
        for (const Case& c : {Case{1, {18, 6}}, Case{2, {3, 3}}, Case{3, {9, 6, 3, 6}},
                              Case{4, {9, 3, 3, 3, 3, 3}}}) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " at " << s);
            TVystPrvek line = element(KindLine, 0, 10, 200, 20);
            line.source.penStyle = c.style;
            line.source.flags = 0x02; // the top edge
            const QImage img = draw(line, s);
            const std::vector<int> runs = runsOfRow(img, int(10 * s), 0, int(120 * s));
            ASSERT_GE(runs.size(), 2 * c.units.size());
            EXPECT_TRUE(dark(img, 0, int(10 * s)));
            for (size_t i = 0; i < 2 * c.units.size(); ++i)
                EXPECT_EQ(runs[i], int(c.units[i % c.units.size()] * s)) << i;
        }
    }
    // A line wider than 1 is solid whatever its style.
    TVystPrvek wide = element(KindLine, 0, 10, 200, 20);
    wide.source.penStyle = 1;
    wide.source.penWidth = 2;
    wide.source.flags = 0x02;
    EXPECT_EQ(runsOfRow(draw(wide, 1), 10, 0, 200), std::vector<int>{200});
}

TEST(Renderer, CornersOfOutlinesAndRoundedRectangles) {
    for (double s : {1.0, 6.0}) {
        SCOPED_TRACE(s);
        const int w = int(std::lround(2 * s)) + 1; // pen width 3
        const int L = int(20 * s), T = int(20 * s), R = int(120 * s), B = int(80 * s);
        // The four edges of a line element meet: every corner pixel is drawn.
        TVystPrvek edges = element(KindLine, 20, 20, 100, 60);
        edges.source.penWidth = 3;
        edges.source.flags = 0x0F;
        QImage img = draw(edges, s);
        for (QPoint corner :
             {QPoint(L, T), QPoint(R - 1, T), QPoint(L, B - 1), QPoint(R - 1, B - 1),
              QPoint(L + w - 1, T + w - 1), QPoint(R - w, B - w)})
            EXPECT_TRUE(dark(img, corner.x(), corner.y())) << corner.x() << "," << corner.y();
        EXPECT_FALSE(dark(img, L + w, T + w));
        EXPECT_FALSE(dark(img, L - 1, T - 1));
        // A rectangle's corner is square.
        TVystPrvek rect = element(KindRectangle, 20, 20, 100, 60);
        rect.source.penWidth = 3;
        img = draw(rect, s);
        EXPECT_TRUE(dark(img, L, T));
        EXPECT_TRUE(dark(img, R - 1, B - 1));
        // A rounded rectangle leaves its corner out and keeps its edges straight: the corner
        // is 40 units across at most (here the shape is lower: half its height).
        TVystPrvek round = element(KindRoundRect, 20, 20, 100, 60);
        round.source.penWidth = 3;
        img = draw(round, s);
        EXPECT_FALSE(dark(img, L + 1, T + 1));
        EXPECT_TRUE(dark(img, L + 1, (T + B) / 2));
        EXPECT_TRUE(dark(img, (L + R) / 2, T + 1));
        EXPECT_FALSE(dark(img, L + w + 1, (T + B) / 2));
    }
}

TEST(Renderer, HatchesLieEightUnitsApartAtEveryScale) {
    for (double s : {1.0, 6.0, 12.0}) {
        SCOPED_TRACE(s);
        const int step = int(8 * s);
        const int L = int(16 * s), T = int(16 * s), R = int(96 * s), B = int(80 * s);
        auto shape = [&](int style) {
            TVystPrvek v = element(KindRectangle, 16, 16, 80, 64);
            v.source.penWidth = 0;
            v.source.fillStyle = style;
            v.source.fillColor = 0x000000;
            return draw(v, s);
        };
        QImage img = shape(2); // horizontal
        for (int y = T; y < B; ++y)
            EXPECT_EQ(dark(img, (L + R) / 2, y), y % step == 0) << y;
        EXPECT_FALSE(dark(img, L - 1, T));
        img = shape(3); // vertical
        for (int x = L; x < R; ++x)
            EXPECT_EQ(dark(img, x, (T + B) / 2 + 1), x % step == 0) << x;
        img = shape(4); // forward diagonals: y − x constant
        for (int x = L; x < R; x += 3)
            for (int y = T; y < B; y += 5)
                EXPECT_EQ(dark(img, x, y), ((y - x) % step + step) % step == 0) << x << "," << y;
        img = shape(5); // backward diagonals: y + x constant
        for (int x = L; x < R; x += 3)
            for (int y = T; y < B; y += 5)
                EXPECT_EQ(dark(img, x, y), (y + x) % step == 0) << x << "," << y;
        img = shape(6); // cross
        EXPECT_TRUE(dark(img, L + 1, int(24 * s)));
        EXPECT_TRUE(dark(img, int(24 * s), T + 1));
        EXPECT_FALSE(dark(img, int(24 * s) + 1, int(24 * s) + 1));
        // Style 1 leaves the shape unpainted; style 0 fills it.
        img = shape(1);
        EXPECT_EQ(darkBox(img), QRect());
        img = shape(0);
        EXPECT_EQ(darkBox(img), QRect(L, T, R - L, B - T));
    }
}

TEST(Renderer, PicturePlacementInTheElement) {
    auto picture = [](int w, int h, int flags, int align) {
        TVystPrvek v = element(KindPicture, 20, 10, 100, 50);
        v.image = std::make_shared<const QImage>(solid(w, h, Qt::red));
        v.source.flags = flags;
        v.source.alignment = align;
        return v;
    };
    auto redBox = [](const QImage& img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) == QColor(Qt::red)) box |= QRect(x, y, 1, 1);
        return box;
    };
    // Natural size (one unit a pixel), at the top, aligned left, right or centred.
    EXPECT_EQ(redBox(draw(picture(20, 10, 0, AlignLeft), 1)), QRect(20, 10, 20, 10));
    EXPECT_EQ(redBox(draw(picture(20, 10, 0, AlignRight), 1)), QRect(100, 10, 20, 10));
    EXPECT_EQ(redBox(draw(picture(20, 10, 0, AlignCenter), 1)), QRect(60, 10, 20, 10));
    EXPECT_EQ(redBox(draw(picture(20, 10, 0, AlignLeft), 2)), QRect(40, 20, 40, 20));
    // Larger than the element: clipped to it.
    EXPECT_EQ(redBox(draw(picture(300, 300, 0, AlignLeft), 1)), QRect(20, 10, 100, 50));
    // Stretched to the element.
    EXPECT_EQ(redBox(draw(picture(20, 10, OptionStretch, AlignLeft), 1)), QRect(20, 10, 100, 50));
    // Keeping the aspect: a relatively taller picture takes the full height, aligned.
    const int both = OptionStretch | OptionAspect;
    EXPECT_EQ(redBox(draw(picture(10, 50, both, AlignLeft), 1)), QRect(20, 10, 10, 50));
    EXPECT_EQ(redBox(draw(picture(10, 50, both, AlignCenter), 1)), QRect(65, 10, 10, 50));
    EXPECT_EQ(redBox(draw(picture(10, 50, both, AlignRight), 1)), QRect(110, 10, 10, 50));
    // A relatively wider one (also wider than the element, centred) the full width at the top.
    EXPECT_EQ(redBox(draw(picture(400, 100, both, AlignCenter), 1)), QRect(20, 10, 100, 25));
    EXPECT_EQ(redBox(draw(picture(400, 100, OptionAspect, AlignCenter), 1)),
              QRect(20, 10, 100, 25));
    // A picture file is read for the element.
    TVystPrvek none = element(KindPicture, 20, 10, 100, 50);
    none.pictureFile = QStringLiteral("/nonexistent/picture.png");
    EXPECT_EQ(darkBox(draw(none, 1)), QRect());
}

TEST(Renderer, PaintBoxDrawingIsStretchedIntoTheElement) {
    TVystPrvek v = element(KindPaintBox, 10, 10, 100, 40);
    auto picture = std::make_shared<QPicture>();
    {
        QPainter p(picture.get());
        // Drawn at scale 3: a canvas of 300 × 120, its left half black.
        p.fillRect(0, 0, 150, 120, Qt::black);
    }
    picture->setBoundingRect(QRect(0, 0, 300, 120));
    v.drawing = picture;
    v.drawingSize = QSize(300, 120);
    for (double s : {1.0, 2.0}) {
        const QImage img = draw(v, s);
        EXPECT_EQ(darkBox(img), QRect(int(10 * s), int(10 * s), int(50 * s), int(40 * s))) << s;
    }
}

TEST(Renderer, BackgroundPageRangeAndCancel) {
    brix::test::guiApp();
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/pozadiXXXXXX.png"));
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(solid(4, 4, Qt::blue).save(file.fileName(), "PNG"));
    TSestVystup out;
    out.printableWidth = 200;
    out.printableHeight = 150;
    out.background = OutputBackground{file.fileName(), 50, 40, 100, 60, true};
    TVystPrvek frame = element(KindLabel, 0, 0, 10, 10);
    frame.source.flags = FrameLeft;
    out.place(0, frame);
    out.place(0, element(KindLabel, 5, 5, 10, 10));
    QImage img = renderPageImage(out, 0, 1);
    EXPECT_EQ(img.size(), QSize(200, 150));
    EXPECT_EQ(img.pixelColor(50, 40), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(149, 99), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(150, 100), kPaper);
    EXPECT_EQ(img.pixelColor(49, 40), kPaper);
    EXPECT_TRUE(dark(img, 0, 5));
    RenderOptions noBackground;
    noBackground.background = false;
    img = renderPageImage(out, 0, 1, noBackground);
    EXPECT_EQ(img.pixelColor(60, 50), kPaper);
    // Not printed by the output: not drawn.
    out.background.print = false;
    EXPECT_EQ(renderPageImage(out, 0, 1).pixelColor(60, 50), kPaper);
    // A page outside the list draws nothing and fails.
    QImage blank(10, 10, QImage::Format_RGB32);
    QPainter p(&blank);
    EXPECT_FALSE(renderPage(p, out, 1, 1));
    EXPECT_FALSE(renderPage(p, out, -1, 1));
    EXPECT_TRUE(renderPageImage(out, 3, 1).isNull());
    // Stopped before the first element: nothing of the page is drawn.
    RenderOptions stop;
    int asked = 0;
    stop.keepGoing = [&] { return asked++ < 0; };
    img = QImage(200, 150, QImage::Format_RGB32);
    img.fill(kPaper);
    QPainter q(&img);
    EXPECT_FALSE(renderPage(q, out, 0, 1, stop));
    EXPECT_FALSE(dark(img, 0, 5));
    EXPECT_EQ(asked, 1);
}

TEST(Renderer, TextStandsAtItsLaidOutPlacesAndTurnsAboutTheTopLeftCorner) {
    brix::test::guiApp();
    auto text = [](const QString& s, int angle, int alignment = AlignLeft) {
        TVystPrvek v = element(KindLabel, 100, 60, 80, 20);
        v.source.fontName = QStringLiteral("Arial");
        v.source.fontSize = 12;
        v.source.angle = angle;
        v.source.alignment = alignment;
        v.lines = layoutText(v.source, s, LayoutContext{});
        v.lastLine = v.lines->count() - 1;
        return v;
    };
    // Two bars ("|", its stem in the middle of its advance) at their laid-out x.
    const double s = 6;
    const TVystPrvek bars = text(QStringLiteral("|     |"), 0);
    const QImage img = draw(bars, s, 250, 150);
    const TFragment& run = bars.lines->lines[0].runs[0];
    const std::vector<int> row = runsOfRow(img, int(70 * s), 0, img.width());
    ASSERT_EQ(row.size(), 5u); // white, bar, white, bar, white
    const double advance = run.x[1] - run.x[0];
    const double firstStem = row[0] + row[1] / 2.0;
    const double secondStem = row[0] + row[1] + row[2] + row[3] / 2.0;
    EXPECT_NEAR(secondStem - firstStem, (run.x[6] - run.x[0]) * s, 1.5);
    EXPECT_NEAR(firstStem, (100 + run.x[0]) * s + advance * s / 2, 0.2 * advance * s + 1);
    // Right-aligned lines end at the element's right edge, centred ones share its middle.
    QRect right = darkBox(draw(text(QStringLiteral("IIII"), 0, AlignRight), s, 250, 150));
    // (less the side bearing of the last letter, under a sixth of the em)
    EXPECT_LT(right.right(), 180 * s);
    EXPECT_GT(right.right(), (180 - emSize(12) / 6) * s);
    QRect centre = darkBox(draw(text(QStringLiteral("IIII"), 0, AlignCenter), s, 250, 150));
    EXPECT_NEAR(centre.center().x(), 140 * s, 2);
    // Unturned: right of and below the top-left corner.
    QRect box = darkBox(draw(text(QStringLiteral("Zlutoucky kun"), 0), 1, 250, 150));
    EXPECT_GE(box.left(), 100);
    EXPECT_GE(box.top(), 60);
    EXPECT_LE(box.bottom(), 80);
    // 90°: counter-clockwise, the text rises from the corner (right of it, above it).
    box = darkBox(draw(text(QStringLiteral("Zlutoucky kun"), 90), 1, 250, 150));
    EXPECT_GE(box.left(), 100);
    EXPECT_LE(box.right(), 120);
    EXPECT_LE(box.bottom(), 61);
    EXPECT_LE(box.top(), 20);
    // 180°: upside down, left of the corner and above it.
    box = darkBox(draw(text(QStringLiteral("Zlutoucky kun"), 180), 1, 250, 150));
    EXPECT_LE(box.right(), 101);
    EXPECT_LE(box.bottom(), 61);
    EXPECT_LE(box.left(), 60);
}
