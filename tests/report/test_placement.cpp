// What the run places besides text: barcodes with their content as it is when placed, paint
// boxes with the application's drawing, picture files, data pictures of graphic fields (also
// from a storage table through its report source) and the background of the pages.

#include "bridge.h"
#include "database.h"
#include "report_source.h"
#include "sestava.h"
#include "table.h"

#include "scripted_gtest.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

using namespace brix::report;

namespace {

const QStringList kPage{QStringLiteral("I,0,\"Štítky\""),
                        QStringLiteral("I,1,5,42,5"),
                        QStringLiteral("I,2,0,826,1169,0,0,0,0,1,0"),
                        QStringLiteral("I,3,0,1,120,0"),
                        QStringLiteral("I,3,1,0,0,0"),
                        QStringLiteral("I,3,2,1,100,0"),
                        QStringLiteral("I,3,3,0,0,0"),
                        QStringLiteral("I,3,4,0,0,0"),
                        QStringLiteral("I,6,0,8,8,0,1,0,0")};

QString fieldLine(const QString& section, const QString& name, int left, int width) {
    return QStringLiteral("%1,2,%2,%3,0,%4,80,Arial,10,0,0,0,0,238,\"\",0,0,0")
        .arg(section, name)
        .arg(left)
        .arg(width);
}

QImage solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QByteArray png(const QImage& img) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "PNG");
    return bytes;
}

std::vector<const TVystPrvek*> ofKind(const TSestVystup& out, int kind) {
    std::vector<const TVystPrvek*> found;
    for (const TStranaPrvku& p : out.pages)
        for (const TVystPrvek& v : p.elements)
            if (v.source.kind == kind) found.push_back(&v);
    return found;
}

} // namespace

TEST(Placement, BarcodesPaintBoxesPicturesAndDataPictures) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    ASSERT_TRUE(solid(40, 20, Qt::red).save(dir.filePath(QStringLiteral("logo.png"))));
    TSestava r;
    r.ReportDirIgnore = false;
    r.setReportDir(dir.path());
    r.setReportName(QStringLiteral("stitky"));
    r.IsStored = true;
    QStringList t = kPage;
    t << QStringLiteral("Z,11,0,0,0,100,100,,1,0,0,0,16777215,0,\"chybi.png,logo.png\"")
      // EAN 13 of the record's code, with its check digit; a paint box at scale 3.
      << QStringLiteral("T,12,0,0,0,300,60,,8,0,14,16,16777215,0,\"#Kod\",0,0,0")
      << QStringLiteral("T,13,2,300,0,100,50,,1,0,0,0,16777215,3")
      << fieldLine(QStringLiteral("T"), QStringLiteral("Obrazek"), 400, 100)
      << fieldLine(QStringLiteral("T"), QStringLiteral("Poznamka"), 500, 100);
    r.setPredloha(t);
    ListBridge data;
    data.columns = {{QStringLiteral("Kod"), ftString, {}},
                    {QStringLiteral("Obrazek"), ftGraphic, {}},
                    {QStringLiteral("Poznamka"), ftBlob, {}}};
    data.rows = {{TCalcType::ofText(QStringLiteral("859000000001"), 0),
                  {},
                  TCalcType::ofText(QStringLiteral("jen text"), 0)},
                 {TCalcType::ofText(QStringLiteral("859000000002"), 0), {}, {}}};
    data.pictures[qMakePair(0, 1)] = solid(30, 10, Qt::blue);
    data.pictures[qMakePair(1, 2)] = solid(5, 7, Qt::green);
    r.DataSource = &data;
    std::vector<std::tuple<int, int, int>> painted;
    r.OnPaintBox = [&](TSestavaTyp&, int index, int w, int h, QPainter& p) {
        painted.emplace_back(index, w, h);
        p.fillRect(0, 0, w / 2, h, Qt::black);
    };
    ASSERT_EQ(r.Prepare(), seOk);

    // The picture is the first candidate that loads, found in the template's directory.
    const auto pictures = ofKind(r.output, KindPicture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(QFileInfo(pictures[0]->pictureFile).fileName(), QStringLiteral("logo.png"));
    ASSERT_TRUE(elementPicture(*pictures[0]));
    EXPECT_EQ(elementPicture(*pictures[0])->size(), QSize(40, 20));

    // Each body's barcode shows its own record's content.
    const auto codes = ofKind(r.output, KindBarcode);
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0]->source.value.text, QStringLiteral("859000000001"));
    EXPECT_EQ(codes[1]->source.value.text, QStringLiteral("859000000002"));

    // Paint boxes are placed with the application's drawing on a canvas of scale × size.
    const auto boxes = ofKind(r.output, KindPaintBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(painted, (std::vector<std::tuple<int, int, int>>{{2, 300, 150}, {2, 300, 150}}));
    EXPECT_EQ(boxes[0]->drawingSize, QSize(300, 150));
    ASSERT_TRUE(boxes[0]->drawing);
    QImage canvas(300, 150, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.drawPicture(0, 0, *boxes[0]->drawing);
    }
    EXPECT_EQ(canvas.pixelColor(10, 75), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(290, 75), QColor(Qt::white));

    // A graphic field shows its picture; a blob shows its picture when it holds one, else its
    // text; a graphic field without a picture shows nothing.
    const auto fields = ofKind(r.output, KindField);
    ASSERT_EQ(fields.size(), 4u);
    ASSERT_TRUE(fields[0]->image);
    EXPECT_EQ(fields[0]->image->size(), QSize(30, 10));
    EXPECT_FALSE(fields[1]->image);
    EXPECT_EQ(fields[1]->lines->lines.at(0).text(), QStringLiteral("jen text"));
    EXPECT_FALSE(fields[2]->image);
    EXPECT_TRUE(fields[2]->lines->lines.empty());
    ASSERT_TRUE(fields[3]->image);
    EXPECT_EQ(fields[3]->image->size(), QSize(5, 7));
}

TEST(Placement, BackgroundOfTheTemplateOrOfTheComponent) {
    brix::TestPlatform ui;
    QTemporaryDir dir;
    ASSERT_TRUE(solid(8, 8, Qt::yellow).save(dir.filePath(QStringLiteral("pozadi.png"))));
    ListBridge data;
    TSestava r;
    r.ReportDirIgnore = false;
    r.setReportDir(dir.path());
    r.setReportName(QStringLiteral("list"));
    r.IsStored = true;
    r.DataSource = &data;
    // The template's own: its file, printed by its flag, a width of 0 is the paper's.
    QStringList t = kPage;
    t << QStringLiteral("I,7,1,1,0,10,20,0,300,pozadi.png");
    r.setPredloha(t);
    ASSERT_EQ(r.Prepare(), seOk);
    EXPECT_TRUE(r.output.background.shown());
    EXPECT_EQ(r.output.background.file, dir.filePath(QStringLiteral("pozadi.png")));
    EXPECT_EQ(r.output.background.left, 10);
    EXPECT_EQ(r.output.background.top, 20);
    EXPECT_EQ(r.output.background.width, 826);
    EXPECT_EQ(r.output.background.height, 300);
    // Without its own the component's picture and flag decide.
    t.last() = QStringLiteral("I,7,0,1,0,0,0,0,0,pozadi.png");
    r.setPredloha(t);
    r.Background = QStringLiteral("jine.png");
    r.PrintBackground = false;
    ASSERT_EQ(r.Prepare(), seOk);
    EXPECT_FALSE(r.output.background.shown());
    EXPECT_EQ(r.output.background.file, QStringLiteral("jine.png"));
    EXPECT_EQ(r.output.background.height, 1169);
}

// A product's picture kept in its blob field reaches the report through the storage adapter.
TEST(Placement, PictureOfAStorageBlobField) {
    QTemporaryDir dir;
    auto db = brix::Database::open(dir.path());
    brix::Table t(*db, QStringLiteral("Ciselnik\\Vyrobky"));
    t.open();
    auto product = [&](int number, const QString& name) {
        t.insert();
        t.field(QStringLiteral("Cis_vyr")).setValue(number);
        t.field(QStringLiteral("Nazev")).setValue(name);
        t.field(QStringLiteral("Druh_Pol")).setValue(QStringLiteral("Z"));
        t.field(QStringLiteral("DPH")).setValue(21);
        t.field(QStringLiteral("Faktor_Bal")).setValue(1);
        t.field(QStringLiteral("Cis_Firmy")).setValue(1);
    };
    product(1, QStringLiteral("Email syntetický"));
    t.field(QStringLiteral("Obrazek")).setValue(png(solid(12, 9, Qt::darkGreen)));
    t.post();
    product(2, QStringLiteral("Bez obrázku"));
    t.post();
    brix::TableReportSource source(t);
    const int obrazek = t.fieldIndex(QStringLiteral("Obrazek"));
    const int nazev = t.fieldIndex(QStringLiteral("Nazev"));
    ASSERT_EQ(source.step(sdFirst), 0);
    const QImage img = source.picture(obrazek);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(12, 9));
    EXPECT_EQ(img.pixelColor(3, 3), QColor(Qt::darkGreen));
    EXPECT_TRUE(source.picture(nazev).isNull());
    source.step(sdNext);
    EXPECT_TRUE(source.picture(obrazek).isNull());
}
