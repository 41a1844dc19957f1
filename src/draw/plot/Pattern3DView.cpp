#include "plot/Pattern3DView.h"

#include "catalogue/NumberText.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace quv {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;
constexpr double kFloorDb = 40.0; // the centre of the surface
// Bitmaps larger than this are drawn smaller and stretched: a printer page needs no finer mesh.
constexpr int kMaxImageSide = 1200;

struct TVec {
    double x = 0, y = 0, z = 0;
};
TVec operator+(TVec a, TVec b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
TVec operator-(TVec a, TVec b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
TVec operator*(double k, TVec a)
{
    return {k * a.x, k * a.y, k * a.z};
}
double Dot(TVec a, TVec b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
TVec Cross(TVec a, TVec b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
TVec Unit(TVec a)
{
    const double n = std::sqrt(Dot(a, a));
    return n > 0 ? (1.0 / n) * a : a;
}

// North (boresight), west, up: a right-handed frame in which azimuth runs clockwise from above.
TVec Direction(double azimuth, double elevation)
{
    const double ce = std::cos(elevation * kRad);
    return {ce * std::cos(azimuth * kRad), -ce * std::sin(azimuth * kRad),
            std::sin(elevation * kRad)};
}

double Radius(double level)
{
    return std::max(0.0, (level + kFloorDb) / kFloorDb);
}

// An orthographic camera looking at the centre from the view direction.
struct TCamera {
    TVec eye, right, up;
    double cx = 0, cy = 0, scale = 1;

    TCamera(TViewAngle view, int width, int height)
    {
        eye = Direction(view.azimuth, std::clamp(view.elevation, -89.0, 89.0));
        right = Unit(Cross((-1.0) * eye, {0, 0, 1}));
        up = Cross(right, (-1.0) * eye);
        cx = width / 2.0;
        cy = height / 2.0;
        scale = 0.45 * std::min(width, height);
    }
    // Screen x, screen y, depth (larger is nearer the eye).
    TVec Project(TVec p) const
    {
        return {cx + scale * Dot(p, right), cy - scale * Dot(p, up), Dot(p, eye)};
    }
};

struct TRaster {
    QImage image;
    std::vector<float> depth;
    int w, h;

    TRaster(int width, int height)
        : image(width, height, QImage::Format_RGB32),
          depth(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                -std::numeric_limits<float>::infinity()),
          w(width), h(height)
    {
        image.fill(Qt::white);
    }

    void Triangle(TVec a, TVec b, TVec c, QRgb colour)
    {
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::fabs(area) < 1e-9)
            return;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            const double py = y + 0.5;
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5;
                const double wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const double wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const double wc = 1.0 - wa - wb;
                if (wa < -1e-9 || wb < -1e-9 || wc < -1e-9)
                    continue;
                const auto z = static_cast<float>(wa * a.z + wb * b.z + wc * c.z);
                float& d = depth[static_cast<std::size_t>(y * w + x)];
                if (z > d) {
                    d = z;
                    line[x] = colour;
                }
            }
        }
    }
};

void SetFontHeight(TCanvas& canvas, int height)
{
    canvas.Font.name = "Arial";
    canvas.Font.height = -std::max(8, height);
    canvas.Font.color = clBlack;
    canvas.Font.bold = false;
}

} // namespace

TColor LevelColor(double level)
{
    // Blue through cyan, green and yellow to red as the level rises from -40 to 0 dB.
    const double t = std::clamp((level + kFloorDb) / kFloorDb, 0.0, 1.0) * 4.0;
    const auto c = [](double v) { return static_cast<std::uint8_t>(std::lround(255 * v)); };
    if (t < 1)
        return {0, c(t), 255};
    if (t < 2)
        return {0, 255, c(2 - t)};
    if (t < 3)
        return {c(t - 2), 255, 0};
    return {255, c(4 - t), 0};
}

QImage RenderPatternSurface(const TPattern3D& pattern, int width, int height, TViewAngle view,
                            int meshStep)
{
    width = std::max(1, width);
    height = std::max(1, height);
    TRaster raster(width, height);
    const TCamera camera(view, width, height);
    const TVec light = Unit(camera.eye + 0.6 * camera.up - 0.4 * camera.right);
    const int step = std::clamp(meshStep, 1, 30);

    // Rows of projected points, elevation -90..90 and azimuth 0..360 in `step` degrees; the last
    // row and column land exactly on the poles and back on azimuth 0.
    std::vector<int> elevations, azimuths;
    for (int e = -90; e < 90; e += step)
        elevations.push_back(e);
    elevations.push_back(90);
    for (int a = 0; a < 360; a += step)
        azimuths.push_back(a);
    azimuths.push_back(360);
    const std::size_t cols = azimuths.size();
    std::vector<TVec> world(elevations.size() * cols), screen(world.size());
    std::vector<double> level(world.size());
    for (std::size_t i = 0; i < elevations.size(); ++i)
        for (std::size_t j = 0; j < cols; ++j) {
            const std::size_t k = i * cols + j;
            level[k] = pattern.At(azimuths[j], elevations[i]);
            world[k] = Radius(level[k]) * Direction(azimuths[j], elevations[i]);
            screen[k] = camera.Project(world[k]);
        }
    for (std::size_t i = 0; i + 1 < elevations.size(); ++i)
        for (std::size_t j = 0; j + 1 < cols; ++j) {
            const std::size_t k00 = i * cols + j, k01 = k00 + 1, k10 = k00 + cols, k11 = k10 + 1;
            TVec normal = Cross(world[k11] - world[k00], world[k10] - world[k01]);
            if (Dot(normal, normal) < 1e-18)
                normal = world[k00] + world[k11];
            const double shade =
                0.35 + 0.65 * std::fabs(Dot(Unit(normal), light)); // both sides lit
            const TColor base =
                LevelColor((level[k00] + level[k01] + level[k10] + level[k11]) / 4.0);
            const auto s = [shade](std::uint8_t v) { return static_cast<int>(v * shade); };
            const QRgb colour = qRgb(s(base.r), s(base.g), s(base.b));
            raster.Triangle(screen[k00], screen[k01], screen[k11], colour);
            raster.Triangle(screen[k00], screen[k11], screen[k10], colour);
        }
    return raster.image;
}

namespace {

int TextHeight3D(int height)
{
    // A printed page's share of its height; below about 130 pixels the text shrinks with the view
    // rather than crowd it.
    return std::max(8, std::min(std::max(11, height / 32), height / 12));
}

} // namespace

TPlacedText PlaceText(TCanvas& canvas, int x, int y, const std::string& text, int maxWidth)
{
    const TSize size = canvas.TextExtent(text);
    if (maxWidth < 0 || size.cx <= maxWidth)
        return {{x, y, x + size.cx, y + size.cy}, text, false};
    return {{x, y, x + std::max(0, maxWidth), y + size.cy}, text, true};
}

void DrawPlacedText(TCanvas& canvas, const TPlacedText& placed)
{
    if (!placed.cut) {
        canvas.TextOut(placed.rect.left, placed.rect.top, placed.text);
        return;
    }
    TRect box = placed.rect;
    canvas.DrawText(placed.text, box, dtSingleLine | dtEndEllipsis | dtNoPrefix);
}

TPattern3DLayout Pattern3DLayout(TCanvas& canvas, const TRect& rect, const std::string& title)
{
    TPattern3DLayout layout;
    const int th = TextHeight3D(rect.Height());
    layout.textHeight = th;
    SetFontHeight(canvas, th);
    const int scaleWidth = 5 * th;
    const int boxLeft = rect.right - scaleWidth + th;
    layout.unit = PlaceText(canvas, boxLeft, rect.top + th / 2, "dB");
    // The title ends before "dB"; a long part number is cut rather than run into the scale.
    const int titleLeft = rect.left + th / 2;
    layout.title = PlaceText(canvas, titleLeft, rect.top + th / 2, title,
                             std::max(0, boxLeft - th / 2 - titleLeft));

    // Box k's label is centred on its top edge; the first one starts below "dB", the last one
    // ends inside the view.
    const int lineHeight = layout.unit.rect.Height();
    const int scaleTop = std::max(rect.top + 2 * th, layout.unit.rect.bottom + th / 2);
    const int fit = (rect.bottom - scaleTop + th / 2 - lineHeight) / 8;
    layout.box = std::max(1, std::min(std::max(4, (rect.Height() - 4 * th) / 9), fit));
    layout.scale = {boxLeft, scaleTop, boxLeft + th, scaleTop + 8 * layout.box};
    int every = 1;
    while (every < 8 && every * layout.box < lineHeight)
        every *= 2;
    for (int k = 0; k <= 8; k += every)
        layout.levels.push_back(PlaceText(canvas, boxLeft + th + th / 3,
                                          scaleTop + k * layout.box - th / 2,
                                          Format("%d", {-5 * k})));

    const TRect surface{rect.left, rect.top + 2 * th, rect.right - scaleWidth, rect.bottom};
    const int side = std::max(1, std::min(surface.Width(), surface.Height()));
    const int left = surface.left + (surface.Width() - side) / 2;
    const int top = surface.top + (surface.Height() - side) / 2;
    layout.surface = {left, top, left + side, top + side};
    return layout;
}

std::vector<TRect> Pattern3DCells(const TRect& rect, int count)
{
    std::vector<TRect> cells;
    if (count <= 0)
        return cells;
    int bestColumns = 1, bestSide = -1;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const int w = rect.Width() / columns, h = rect.Height() / rows;
        const int th = TextHeight3D(h);
        const int side = std::min(w - 5 * th, h - 2 * th);
        if (side > bestSide) {
            bestSide = side;
            bestColumns = columns;
        }
    }
    const int rows = (count + bestColumns - 1) / bestColumns;
    const int w = rect.Width() / bestColumns, h = rect.Height() / rows;
    for (int i = 0; i < count; ++i) {
        const int x = rect.left + (i % bestColumns) * w, y = rect.top + (i / bestColumns) * h;
        cells.push_back({x, y, x + w, y + h});
    }
    return cells;
}

void DrawPattern3DView(TCanvas& canvas, const TRect& rect, const TPattern3D& pattern,
                       TViewAngle view, const std::string& title, int meshStep)
{
    const TPattern3DLayout layout = Pattern3DLayout(canvas, rect, title);
    const int textHeight = layout.textHeight;
    const TRect& square = layout.surface;
    const int side = square.Width();
    const int imageSide = std::min(side, kMaxImageSide);
    canvas.StretchImage(square,
                        RenderPatternSurface(pattern, imageSide, imageSide, view, meshStep));

    // Axes: boresight and up, from the centre to beyond the 0 dB radius.
    const TCamera camera(view, side, side);
    SetFontHeight(canvas, textHeight);
    canvas.Pen = TPen{clBlack, std::max(1, textHeight / 8), TPenStyle::Solid};
    canvas.Brush.style = TBrushStyle::Clear;
    const int labelsTop = rect.top + 2 * textHeight;
    const auto axis = [&](double az, double el, const std::string& label) {
        const TVec o = camera.Project({0, 0, 0});
        const TVec p = camera.Project(1.15 * Direction(az, el));
        canvas.MoveTo(square.left + static_cast<int>(std::lround(o.x)),
                      square.top + static_cast<int>(std::lround(o.y)));
        const int x = square.left + static_cast<int>(std::lround(p.x));
        const int y = square.top + static_cast<int>(std::lround(p.y));
        canvas.LineTo(x, y);
        // Beside the axis's end on the side it points to, but kept clear of the colour scale
        // and the title whichever way the view turns.
        const TSize size = canvas.TextExtent(label);
        const int left = p.x < o.x ? x - size.cx - textHeight / 4 : x + textHeight / 4;
        const int scaleLeft = layout.scale.left - textHeight / 2;
        canvas.TextOut(
            std::clamp(left, rect.left, std::max(rect.left, scaleLeft - size.cx)),
            std::clamp(y - textHeight, labelsTop, std::max(labelsTop, rect.bottom - size.cy)),
            label);
    };
    axis(0, 0, "Boresight");
    axis(0, 90, "Up");

    for (int k = 0; k < 8; ++k) {
        const int top = layout.scale.top + k * layout.box;
        canvas.Brush = TBrush{LevelColor(-5.0 * k - 2.5), TBrushStyle::Solid};
        canvas.FillRect({layout.scale.left, top, layout.scale.right, top + layout.box});
    }
    canvas.Brush.style = TBrushStyle::Clear;
    for (const TPlacedText& level : layout.levels)
        DrawPlacedText(canvas, level);
    DrawPlacedText(canvas, layout.unit);
    DrawPlacedText(canvas, layout.title);
}

QImage Pattern3DImage(const TPattern3D& pattern, int width, int height, TViewAngle view,
                      const std::string& title)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQPainterCanvas canvas(&image);
        canvas.Painter().setRenderHint(QPainter::Antialiasing, false);
        DrawPattern3DView(canvas, {0, 0, width, height}, pattern, view, title);
    }
    return image;
}

} // namespace quv
