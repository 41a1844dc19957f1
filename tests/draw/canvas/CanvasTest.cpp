// The QPainter canvas keeps the canvas conventions on a real bitmap: boxes exclude their right
// and bottom edges, text hangs from its top-left corner, the brush decides about text background.
#include "canvas/Canvas.h"
#include "support/GuiApp.h"

#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

#include <gtest/gtest.h>

using namespace quv;

namespace {

QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of the pixels that are not white.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(QPainterCanvas, EllipseFillsItsBoxWithoutTheRightAndBottomEdges)
{
    test::EnsureGuiApp();
    QImage image = WhiteImage(40, 40);
    {
        TQPainterCanvas canvas(&image);
        canvas.Brush.style = TBrushStyle::Clear;
        canvas.Ellipse(10, 12, 30, 32);
    }
    EXPECT_EQ(InkBox(image), QRect(QPoint(10, 12), QPoint(29, 31)));
}

TEST(QPainterCanvas, LinesFollowThePenPosition)
{
    test::EnsureGuiApp();
    QImage image = WhiteImage(40, 40);
    {
        TQPainterCanvas canvas(&image);
        canvas.Pen.color = TColor{255, 0, 0};
        canvas.MoveTo(5, 5);
        canvas.LineTo(5, 20);
        EXPECT_EQ(canvas.PenPos(), (TPoint{5, 20}));
        canvas.LineTo(20, 20);
    }
    EXPECT_EQ(image.pixelColor(5, 12), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(12, 20), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::white));
}

TEST(QPainterCanvas, TextHangsFromItsTopLeftCornerAndMeasuresItsCell)
{
    test::EnsureGuiApp();
    QImage image = WhiteImage(200, 60);
    TSize extent;
    {
        TQPainterCanvas canvas(&image);
        canvas.Font.height = 20;
        canvas.Brush.style = TBrushStyle::Clear;
        extent = canvas.TextExtent("Wg");
        canvas.TextOut(30, 10, "Wg");
    }
    // A positive height is the whole cell.
    EXPECT_LE(extent.cy, 20);
    EXPECT_GE(extent.cy, 15);
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 30);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LE(ink.bottom(), 10 + extent.cy);
    EXPECT_LE(ink.right(), 30 + extent.cx + 1);

    // With a solid brush the cell is filled first.
    QImage filled = WhiteImage(200, 60);
    {
        TQPainterCanvas canvas(&filled);
        canvas.Font.height = 20;
        canvas.Brush = {TColor{0, 255, 0}, TBrushStyle::Solid};
        canvas.TextOut(30, 10, "Wg");
    }
    EXPECT_EQ(filled.pixelColor(30, 10), QColor(0, 255, 0));
}

TEST(QPainterCanvas, FaceNamedForItsWeightIsHeavyEvenWhenSubstituted)
{
    test::EnsureGuiApp();
    QImage image = WhiteImage(200, 60);
    TQPainterCanvas canvas(&image);
    canvas.Font.height = -20;
    canvas.Font.name = "Arial Black";
    canvas.TextOut(0, 0, "Velmarix");
    EXPECT_GE(QFontInfo(canvas.Painter().font()).weight(), static_cast<int>(QFont::Bold));
    canvas.Font.name = "Arial";
    canvas.TextOut(0, 0, "Velmarix");
    EXPECT_LT(QFontInfo(canvas.Painter().font()).weight(), static_cast<int>(QFont::Bold));
}

TEST(QPainterCanvas, CalcRectMeasuresWrappedText)
{
    test::EnsureGuiApp();
    QImage image = WhiteImage(100, 100);
    TQPainterCanvas canvas(&image);
    canvas.Font.height = -12;
    TRect one{0, 0, 1000, 0};
    const int single = canvas.DrawText("short", one, dtCalcRect | dtSingleLine);
    TRect narrow{0, 0, 60, 0};
    const int wrapped = canvas.DrawText("several words that cannot fit in sixty pixels", narrow,
                                        dtCalcRect | dtWordBreak);
    EXPECT_GT(single, 0);
    EXPECT_GE(wrapped, 3 * single);
    EXPECT_EQ(narrow.bottom, wrapped);
    EXPECT_LE(narrow.right, 60);
    EXPECT_EQ(InkBox(image), QRect()); // measuring draws nothing
}

TEST(QPainterCanvas, WrappedTextEndsInAnEllipsisWhenItOverflows)
{
    test::EnsureGuiApp();
    QImage image = WhiteImage(10, 10);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    const int line = QFontMetrics(font, &image).height();
    const QString longText =
        QStringLiteral("one two three four five six seven eight nine ten eleven");

    const QString cut = WrapWithEndEllipsis(font, &image, longText, 80, 2 * line + 1);
    const QStringList lines = cut.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(longText.startsWith(lines[0]));
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(font, &image).horizontalAdvance(lines[1]), 80);

    // Text that fits is left for the ordinary wrap.
    EXPECT_EQ(WrapWithEndEllipsis(font, &image, QStringLiteral("one two"), 80, 2 * line),
              QStringLiteral("one two"));
}

TEST(QPainterCanvas, GreyScalePrinterCannotShowSilver)
{
    test::EnsureGuiApp();
    const QString pdf =
        QString::fromStdString(::testing::TempDir()) + QStringLiteral("/canvas_grey.pdf");
    for (const auto mode : {QPrinter::GrayScale, QPrinter::Color}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setColorMode(mode);
        TQPainterCanvas canvas(&printer);
        const auto nearest = canvas.NearestColor(clSilver);
        ASSERT_TRUE(nearest.has_value());
        EXPECT_EQ(*nearest, mode == QPrinter::GrayScale ? clWhite : clSilver);
        if (mode == QPrinter::GrayScale) {
            EXPECT_EQ(canvas.NearestColor(TColor{0, 0, 255}), clBlack);
        }
    }
    {
        // A page painter handed in by the print job answers the same.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setColorMode(QPrinter::GrayScale);
        QPainter painter(&printer);
        TQPainterCanvas canvas(painter);
        EXPECT_EQ(canvas.NearestColor(clSilver), clWhite);
    }
    QFile::remove(pdf);
}
