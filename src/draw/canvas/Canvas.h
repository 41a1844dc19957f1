// The drawing surface behind every plot and printed page. Semantics follow the classic GDI model
// (a current pen position, right/bottom-exclusive ellipse boxes, text placed by its top-left
// corner) so layouts written in device pixels land exactly where their numbers say. Texts are
// single-byte code-page strings, as stored in the records.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QFont;
class QImage;
class QPaintDevice;
class QPainter;
class QString;

namespace quv {

struct TColor {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const TColor&, const TColor&) = default;
};

inline constexpr TColor clBlack{0, 0, 0};
inline constexpr TColor clWhite{255, 255, 255};
inline constexpr TColor clSilver{192, 192, 192};

struct TPoint {
    int x = 0, y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom are exclusive, as everywhere on a canvas.
struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TPenStyle { Solid, Dash };

struct TPen {
    TColor color = clBlack;
    int width = 1;
    TPenStyle style = TPenStyle::Solid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

enum class TBrushStyle { Solid, Clear };

struct TBrush {
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::Solid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

struct TFont {
    std::string name = "Arial";
    // Positive: height of the character cell in device pixels; negative: height of the
    // characters themselves (what a point size asks for).
    int height = -11;
    TColor color = clBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const TFont&, const TFont&) = default;
};

// Options of DrawText.
enum TDrawTextFlag : unsigned {
    dtLeft = 0,
    dtCenter = 1u << 0,
    dtRight = 1u << 1,
    dtVCenter = 1u << 2,
    dtBottom = 1u << 3,
    dtWordBreak = 1u << 4,
    dtSingleLine = 1u << 5,
    dtCalcRect = 1u << 6,
    dtEndEllipsis = 1u << 7,
    dtNoPrefix = 1u << 8,
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Drawing state, read by each drawing call.
    TPen Pen;
    TBrush Brush;
    TFont Font;

    TPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    // A line from the pen position to (x, y), last pixel excluded; the pen ends at (x, y).
    void LineTo(int x, int y);

    virtual void Polyline(const std::vector<TPoint>& points) = 0;
    // The ellipse inscribed in the box, outlined with the pen and filled with the brush.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    // Fills with the brush, whatever its style.
    virtual void FillRect(const TRect& rect) = 0;
    // Text with its top-left corner at (x, y); with a solid brush the text cell is filled first.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual TSize TextExtent(const std::string& text) = 0;
    // Formatted text in a rectangle. With dtCalcRect nothing is drawn and `rect` is grown or
    // shrunk to the text's extent. Returns the height of the text in pixels.
    virtual int DrawText(const std::string& text, TRect& rect, unsigned flags) = 0;
    // Text turned 90 degrees counter-clockwise, reading upwards from (x, y), which is the
    // top-left corner of the unturned text.
    virtual void TextOutRotated(int x, int y, const std::string& text) = 0;
    virtual void StretchImage(const TRect& rect, const QImage& image) = 0;
    // The closest colour the device can show, or nothing when the device cannot tell.
    virtual std::optional<TColor> NearestColor(TColor color) = 0;

protected:
    virtual void DrawLine(TPoint from, TPoint to) = 0;

private:
    TPoint penPos_;
};

// Word-wrapped text cut to the lines that fit in `height`, the last kept line ending in an
// ellipsis when text was cut. Lines are separated by line feeds in the result.
QString WrapWithEndEllipsis(const QFont& font, QPaintDevice* device, const QString& text, int width,
                            int height);

// Draws with a QPainter on any paint device: a widget, a QImage or a QPrinter.
class TQPainterCanvas : public TCanvas {
public:
    // Begins painting on `device` and ends when the canvas goes.
    explicit TQPainterCanvas(QPaintDevice* device);
    // Uses a painter that is already active; the caller keeps it.
    explicit TQPainterCanvas(QPainter& painter);
    ~TQPainterCanvas() override;
    TQPainterCanvas(const TQPainterCanvas&) = delete;
    TQPainterCanvas& operator=(const TQPainterCanvas&) = delete;

    QPainter& Painter() { return *painter_; }

    // Overrides the colour query. A printer set to grey scale answers black or white; every
    // other device shows colours as they are.
    std::function<std::optional<TColor>(TColor)> NearestColorQuery;

    void Polyline(const std::vector<TPoint>& points) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, const std::string& text) override;
    TSize TextExtent(const std::string& text) override;
    int DrawText(const std::string& text, TRect& rect, unsigned flags) override;
    void TextOutRotated(int x, int y, const std::string& text) override;
    void StretchImage(const TRect& rect, const QImage& image) override;
    std::optional<TColor> NearestColor(TColor color) override;

protected:
    void DrawLine(TPoint from, TPoint to) override;

private:
    void ApplyPen();
    void ApplyFont();
    QPainter* painter_;
    bool owned_;
};

// Keeps every call with its device coordinates and the state it was made in, for tests.
// Text is measured as fixed-pitch: each character is CharWidth() wide and |font height| high.
class TRecordingCanvas : public TCanvas {
public:
    enum class Op { Line, Polyline, Ellipse, FillRect, TextOut, DrawText, TextRotated, Image };
    struct Call {
        Op op;
        std::vector<TPoint> points; // line ends, polyline points, or the text origin
        TRect rect;                 // ellipse box, filled or text rectangle, image rectangle
        std::string text;
        unsigned flags = 0;
        TPen pen;
        TBrush brush;
        TFont font;
    };

    std::vector<Call> calls;
    // What NearestColor answers; by default the colour itself.
    std::function<std::optional<TColor>(TColor)> NearestColorQuery;

    int CharWidth() const;
    std::vector<Call> Of(Op op) const;

    void Polyline(const std::vector<TPoint>& points) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, const std::string& text) override;
    TSize TextExtent(const std::string& text) override;
    int DrawText(const std::string& text, TRect& rect, unsigned flags) override;
    void TextOutRotated(int x, int y, const std::string& text) override;
    void StretchImage(const TRect& rect, const QImage& image) override;
    std::optional<TColor> NearestColor(TColor color) override;

protected:
    void DrawLine(TPoint from, TPoint to) override;

private:
    Call Make(Op op) const;
};

} // namespace quv
