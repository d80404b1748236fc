#include "metafile_player.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace quom {

namespace {

using std::uint32_t;

// Pictures larger than this many pixels each way are not played.
constexpr int kMaxSide = 8192;

// Little-endian fields of a record; reads outside the record yield zero.
class Fields {
  public:
    explicit Fields(std::string_view bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size(); }
    uint32_t U8(std::size_t at) const {
        return at < bytes_.size() ? static_cast<unsigned char>(bytes_[at]) : 0;
    }
    uint32_t U16(std::size_t at) const { return U8(at) | (U8(at + 1) << 8); }
    uint32_t U32(std::size_t at) const { return U16(at) | (U16(at + 2) << 16); }
    int I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    int I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::string_view Bytes(std::size_t at, std::size_t count) const {
        if (at > bytes_.size()) return {};
        return bytes_.substr(at, count);
    }

  private:
    std::string_view bytes_;
};

QColor ColourRef(uint32_t ref) {
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

// Pen styles (PS_*) and brush styles (BS_*).
constexpr uint32_t kPenStyleMask = 0x0F;
constexpr uint32_t kPenNull = 5;
constexpr uint32_t kBrushSolid = 0;
constexpr uint32_t kBrushNull = 1;
constexpr uint32_t kBrushHatched = 2;

QPen MakePen(uint32_t style, int width, uint32_t colour) {
    const uint32_t kind = style & kPenStyleMask;
    if (kind == kPenNull) return QPen(Qt::NoPen);
    QPen pen(ColourRef(colour));
    if (width <= 1) {
        pen.setCosmetic(true);
        pen.setWidth(1);
    } else {
        pen.setWidth(width);
    }
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                               Qt::DashDotLine, Qt::DashDotDotLine};
    if (kind < std::size(kStyles)) pen.setStyle(kStyles[kind]);
    return pen;
}

QBrush MakeBrush(uint32_t style, uint32_t colour, uint32_t hatch) {
    if (style == kBrushNull) return QBrush(Qt::NoBrush);
    if (style == kBrushHatched) {
        static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                      Qt::FDiagPattern, Qt::BDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(ColourRef(colour),
                      hatch < std::size(kHatches) ? kHatches[hatch] : Qt::SolidPattern);
    }
    // Pattern and bitmap brushes are drawn in their base colour.
    (void)kBrushSolid;
    return QBrush(ColourRef(colour));
}

QFont MakeFont(int height, int weight, bool italic, bool underline, bool strike,
               const QString& face) {
    QFont font(face.isEmpty() ? QStringLiteral("Sans Serif") : face);
    font.setPixelSize(height == 0 ? 12 : std::min(std::abs(height), 4096));
    if (weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strike);
    return font;
}

// A graphics object of the metafile's object table.
struct GdiObject {
    enum class Type { Pen, Brush, Font, Other } type = Type::Other;
    QPen pen;
    QBrush brush;
    QFont font;
};

// Text alignment flags (TA_*).
constexpr uint32_t kAlignRight = 2;
constexpr uint32_t kAlignCentre = 6;
constexpr uint32_t kAlignBottom = 8;
constexpr uint32_t kAlignBaseline = 24;

// The drawing state a metafile changes record by record.
struct DeviceContext {
    // GDI's default pen is the stock black pen: one device pixel wide under any
    // mapping, never a logical unit that a scaled picture would shrink away.
    QPen pen = MakePen(0, 0, 0);
    QBrush brush{Qt::white};
    QFont font = MakeFont(12, 400, false, false, false, QString());
    QColor text_colour{Qt::black};
    QColor background{Qt::white};
    bool opaque_background = true;
    uint32_t text_align = 0;
    Qt::FillRule fill_rule = Qt::OddEvenFill;
    QPointF position;
    QPoint window_origin{0, 0};
    QSize window_extent{1, 1};
    QPoint viewport_origin{0, 0};
    QSize viewport_extent{1, 1};
    bool window_extent_set = false;
    int map_mode = 1;  // MM_TEXT
};

// Shared by both formats: the state, the object table and the drawing primitives.
class Player {
  public:
    explicit Player(QPainter& painter) : painter_(painter) {}

    DeviceContext dc;
    std::vector<std::optional<GdiObject>> objects;

    void SaveState() { saved_.push_back(dc); }
    void RestoreState(int relative) {
        if (relative >= 0 || saved_.empty()) return;
        const std::size_t keep = saved_.size() - std::min<std::size_t>(-relative, saved_.size());
        dc = saved_[keep];
        saved_.resize(keep);
    }

    void Select(const GdiObject& object) {
        switch (object.type) {
            case GdiObject::Type::Pen:
                dc.pen = object.pen;
                break;
            case GdiObject::Type::Brush:
                dc.brush = object.brush;
                break;
            case GdiObject::Type::Font:
                dc.font = object.font;
                break;
            case GdiObject::Type::Other:
                break;
        }
    }

    void Begin(const QTransform& transform) {
        painter_.setTransform(transform);
        painter_.setPen(dc.pen);
        painter_.setBrush(dc.brush);
    }

    void Rectangle(const QRectF& box) { painter_.drawRect(Exclusive(box)); }
    void Ellipse(const QRectF& box) { painter_.drawEllipse(Exclusive(box)); }
    void RoundRect(const QRectF& box, qreal rx, qreal ry) {
        painter_.drawRoundedRect(Exclusive(box), rx / 2, ry / 2);
    }
    void Polygon(const QPolygonF& points) { painter_.drawPolygon(points, dc.fill_rule); }
    void Polyline(const QPolygonF& points) { painter_.drawPolyline(points); }
    void PolyPolygon(const std::vector<QPolygonF>& polygons) {
        QPainterPath path;
        path.setFillRule(dc.fill_rule);
        for (const QPolygonF& p : polygons) {
            path.addPolygon(p);
            path.closeSubpath();
        }
        painter_.drawPath(path);
    }
    void LineTo(const QPointF& to) {
        painter_.drawLine(dc.position, to);
        dc.position = to;
    }
    void Text(QPointF at, const QString& text) {
        painter_.save();
        painter_.setFont(dc.font);
        const QFontMetricsF metrics(dc.font);
        const qreal width = metrics.horizontalAdvance(text);
        if ((dc.text_align & kAlignCentre) == kAlignCentre) {
            at.rx() -= width / 2;
        } else if (dc.text_align & kAlignRight) {
            at.rx() -= width;
        }
        if ((dc.text_align & kAlignBaseline) == kAlignBaseline) {
            at.ry() -= metrics.ascent();
        } else if (dc.text_align & kAlignBottom) {
            at.ry() -= metrics.height();
        }
        const QRectF box(at, QSizeF(width, metrics.height()));
        if (dc.opaque_background) painter_.fillRect(box, dc.background);
        painter_.setPen(dc.text_colour);
        painter_.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
        painter_.restore();
    }

  private:
    // GDI leaves out the right and bottom edges of a box.
    static QRectF Exclusive(const QRectF& box) {
        return QRectF(box.left(), box.top(), box.width() - 1, box.height() - 1).normalized();
    }

    QPainter& painter_;
    std::vector<DeviceContext> saved_;
};

// Stock objects: index with the top bit set.
constexpr uint32_t kStockFlag = 0x80000000;

std::optional<GdiObject> StockObject(uint32_t index) {
    GdiObject o;
    static constexpr int kGreys[] = {255, 192, 128, 64, 0};
    if (index <= 4) {
        o.type = GdiObject::Type::Brush;
        o.brush = QBrush(QColor(kGreys[index], kGreys[index], kGreys[index]));
    } else if (index == 5) {
        o.type = GdiObject::Type::Brush;
        o.brush = QBrush(Qt::NoBrush);
    } else if (index == 6 || index == 7) {
        o.type = GdiObject::Type::Pen;
        o.pen = MakePen(0, 1, index == 6 ? 0xFFFFFF : 0);
    } else if (index == 8) {
        o.type = GdiObject::Type::Pen;
        o.pen = QPen(Qt::NoPen);
    } else if (index >= 10 && index <= 17) {
        o.type = GdiObject::Type::Font;
        o.font = MakeFont(12, 400, false, false, false, QString());
    } else {
        return std::nullopt;
    }
    return o;
}

// ---------------------------------------------------------------------------
// Enhanced metafiles: records of iType, nSize (bytes), then the parameters.

namespace emr {
constexpr uint32_t kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyPolygon = 8;
constexpr uint32_t kSetWindowExt = 9, kSetWindowOrg = 10, kSetViewportExt = 11,
                   kSetViewportOrg = 12, kEof = 14, kSetMapMode = 17, kSetBkMode = 18,
                   kSetPolyFillMode = 19, kSetTextAlign = 22, kSetTextColor = 24, kSetBkColor = 25,
                   kMoveTo = 27, kSaveDc = 33, kRestoreDc = 34, kSelectObject = 37, kCreatePen = 38,
                   kCreateBrush = 39, kDeleteObject = 40, kEllipse = 42, kRectangle = 43,
                   kRoundRect = 44, kLineTo = 54, kCreateFont = 82, kTextOutA = 83, kTextOutW = 84,
                   kPolyBezier16 = 85, kPolygon16 = 86, kPolyline16 = 87, kPolyPolygon16 = 91,
                   kExtCreatePen = 95;
}  // namespace emr

constexpr int kMapText = 1;
constexpr int kMapIsotropic = 7;
constexpr int kMapAnisotropic = 8;

// Logical to device units for the context's mapping mode, then device units to the
// image (the header's bounds become the image's top-left corner).
QTransform EmfTransform(const DeviceContext& dc, const QPoint& bounds_origin) {
    QTransform t;
    t.translate(-bounds_origin.x(), -bounds_origin.y());
    t.translate(dc.viewport_origin.x(), dc.viewport_origin.y());
    if ((dc.map_mode == kMapIsotropic || dc.map_mode == kMapAnisotropic) &&
        dc.window_extent.width() != 0 && dc.window_extent.height() != 0) {
        t.scale(qreal(dc.viewport_extent.width()) / dc.window_extent.width(),
                qreal(dc.viewport_extent.height()) / dc.window_extent.height());
    }
    t.translate(-dc.window_origin.x(), -dc.window_origin.y());
    return t;
}

QPolygonF EmfPoints(const Fields& f, std::size_t at, uint32_t count, bool sixteen) {
    QPolygonF points;
    const std::size_t step = sixteen ? 4 : 8;
    count = static_cast<uint32_t>(std::min<std::size_t>(count, f.size() / step));
    for (uint32_t i = 0; i < count; ++i, at += step) {
        points << (sixteen ? QPointF(f.I16(at), f.I16(at + 2)) : QPointF(f.I32(at), f.I32(at + 4)));
    }
    return points;
}

QRectF EmfBox(const Fields& f, std::size_t at) {
    return QRectF(QPointF(f.I32(at), f.I32(at + 4)), QPointF(f.I32(at + 8), f.I32(at + 12)));
}

void EmfStoreObject(Player& player, uint32_t index, GdiObject object) {
    if (index == 0 || index >= 65536) return;  // index 0 is the metafile itself
    if (player.objects.size() <= index) player.objects.resize(index + 1);
    player.objects[index] = std::move(object);
}

QString EmfText(const Fields& f, const std::string_view record, bool wide) {
    const uint32_t count = f.U32(44);
    const uint32_t offset = f.U32(48);
    if (wide) {
        QString text;
        for (uint32_t i = 0; i < count && offset + 2 * i + 1 < record.size(); ++i) {
            text += QChar(static_cast<char16_t>(f.U16(offset + 2 * i)));
        }
        return text;
    }
    const std::string_view bytes = f.Bytes(offset, count);
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Plays one record; false at the end of the metafile.
bool PlayEmfRecord(Player& player, std::string_view record, const QPoint& origin) {
    const Fields f(record);
    const uint32_t type = f.U32(0);
    DeviceContext& dc = player.dc;
    player.Begin(EmfTransform(dc, origin));
    switch (type) {
        case emr::kEof:
            return false;
        case emr::kSetWindowExt:
            dc.window_extent = QSize(f.I32(8), f.I32(12));
            break;
        case emr::kSetWindowOrg:
            dc.window_origin = QPoint(f.I32(8), f.I32(12));
            break;
        case emr::kSetViewportExt:
            dc.viewport_extent = QSize(f.I32(8), f.I32(12));
            break;
        case emr::kSetViewportOrg:
            dc.viewport_origin = QPoint(f.I32(8), f.I32(12));
            break;
        case emr::kSetMapMode:
            dc.map_mode = f.I32(8);
            break;
        case emr::kSetBkMode:
            dc.opaque_background = f.U32(8) == 2;
            break;
        case emr::kSetPolyFillMode:
            dc.fill_rule = f.U32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case emr::kSetTextAlign:
            dc.text_align = f.U32(8);
            break;
        case emr::kSetTextColor:
            dc.text_colour = ColourRef(f.U32(8));
            break;
        case emr::kSetBkColor:
            dc.background = ColourRef(f.U32(8));
            break;
        case emr::kMoveTo:
            dc.position = QPointF(f.I32(8), f.I32(12));
            break;
        case emr::kLineTo:
            player.LineTo(QPointF(f.I32(8), f.I32(12)));
            break;
        case emr::kSaveDc:
            player.SaveState();
            break;
        case emr::kRestoreDc:
            player.RestoreState(f.I32(8));
            break;
        case emr::kRectangle:
            player.Rectangle(EmfBox(f, 8));
            break;
        case emr::kEllipse:
            player.Ellipse(EmfBox(f, 8));
            break;
        case emr::kRoundRect:
            player.RoundRect(EmfBox(f, 8), f.I32(24), f.I32(28));
            break;
        case emr::kPolygon:
            player.Polygon(EmfPoints(f, 28, f.U32(24), false));
            break;
        case emr::kPolygon16:
            player.Polygon(EmfPoints(f, 28, f.U32(24), true));
            break;
        case emr::kPolyline:
        case emr::kPolyBezier:
            player.Polyline(EmfPoints(f, 28, f.U32(24), false));
            break;
        case emr::kPolyline16:
        case emr::kPolyBezier16:
            player.Polyline(EmfPoints(f, 28, f.U32(24), true));
            break;
        case emr::kPolyPolygon:
        case emr::kPolyPolygon16: {
            const bool sixteen = type == emr::kPolyPolygon16;
            const uint32_t polygons = std::min<uint32_t>(f.U32(24), record.size() / 4);
            std::size_t at = 32 + 4 * std::size_t{polygons};
            std::vector<QPolygonF> shapes;
            for (uint32_t i = 0; i < polygons; ++i) {
                const uint32_t count = std::min<uint32_t>(f.U32(32 + 4 * i), record.size());
                shapes.push_back(EmfPoints(f, at, count, sixteen));
                at += std::size_t{count} * (sixteen ? 4 : 8);
            }
            player.PolyPolygon(shapes);
            break;
        }
        case emr::kSelectObject: {
            const uint32_t index = f.U32(8);
            if (index & kStockFlag) {
                if (auto stock = StockObject(index & ~kStockFlag)) player.Select(*stock);
            } else if (index < player.objects.size() && player.objects[index]) {
                player.Select(*player.objects[index]);
            }
            break;
        }
        case emr::kDeleteObject:
            if (f.U32(8) < player.objects.size()) player.objects[f.U32(8)].reset();
            break;
        case emr::kCreatePen: {
            GdiObject pen{GdiObject::Type::Pen, MakePen(f.U32(12), f.I32(16), f.U32(24)), {}, {}};
            EmfStoreObject(player, f.U32(8), pen);
            break;
        }
        case emr::kExtCreatePen: {
            GdiObject pen{GdiObject::Type::Pen, MakePen(f.U32(28), f.I32(32), f.U32(40)), {}, {}};
            if (f.U32(36) == kBrushNull) pen.pen = QPen(Qt::NoPen);
            EmfStoreObject(player, f.U32(8), pen);
            break;
        }
        case emr::kCreateBrush: {
            GdiObject brush{
                GdiObject::Type::Brush, {}, MakeBrush(f.U32(12), f.U32(16), f.U32(20)), {}};
            EmfStoreObject(player, f.U32(8), brush);
            break;
        }
        case emr::kCreateFont: {
            QString face;
            for (int i = 0; i < 32 && f.U16(40 + 2 * i) != 0; ++i) {
                face += QChar(static_cast<char16_t>(f.U16(40 + 2 * i)));
            }
            GdiObject font{
                GdiObject::Type::Font,
                {},
                {},
                MakeFont(f.I32(12), f.I32(28), f.U8(32) != 0, f.U8(33) != 0, f.U8(34) != 0, face)};
            EmfStoreObject(player, f.U32(8), font);
            break;
        }
        case emr::kTextOutA:
        case emr::kTextOutW:
            player.Text(QPointF(f.I32(36), f.I32(40)), EmfText(f, record, type == emr::kTextOutW));
            break;
        default:
            break;  // records that do not draw, or that this player does not know
    }
    return true;
}

void PlayEmf(const Picture& picture, QImage& image) {
    const Fields header(picture.bytes);
    const QPoint origin(header.I32(8), header.I32(12));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    Player player(painter);
    std::string_view rest = picture.bytes;
    while (rest.size() >= 8) {
        const uint32_t size = Fields(rest).U32(4);
        if (size < 8 || size > rest.size()) break;
        if (!PlayEmfRecord(player, rest.substr(0, size), origin)) break;
        rest.remove_prefix(size);
    }
}

// ---------------------------------------------------------------------------
// Windows metafiles: after the 22-byte placeable header and the 18-byte
// METAHEADER, records of rdSize (words, 32 bits), rdFunction (16 bits) and their
// parameters, 16-bit words in reverse order of the call's arguments.

namespace meta {
constexpr uint32_t kEof = 0x0000, kSaveDc = 0x001E, kCreatePalette = 0x00F7, kSetBkMode = 0x0102,
                   kSetMapMode = 0x0103, kSetPolyFillMode = 0x0106, kRestoreDc = 0x0127,
                   kSelectObject = 0x012D, kSetTextAlign = 0x012E, kDibCreatePatternBrush = 0x0142,
                   kDeleteObject = 0x01F0, kCreatePatternBrush = 0x01F9, kSetBkColor = 0x0201,
                   kSetTextColor = 0x0209, kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C,
                   kLineTo = 0x0213, kMoveTo = 0x0214, kCreatePen = 0x02FA, kCreateFont = 0x02FB,
                   kCreateBrush = 0x02FC, kPolygon = 0x0324, kPolyline = 0x0325, kEllipse = 0x0418,
                   kRectangle = 0x041B, kTextOut = 0x0521, kPolyPolygon = 0x0538,
                   kRoundRect = 0x061C, kCreateRegion = 0x06FF, kExtTextOut = 0x0A32;
}  // namespace meta

constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMetaHeaderSize = 18;
constexpr std::size_t kParams = 6;             // offset of a record's first parameter
constexpr uint32_t kClippedOrOpaque = 0x0006;  // ETO_OPAQUE | ETO_CLIPPED

// The window (when set) or else the placeable bounding box fills the image.
QTransform WmfTransform(const DeviceContext& dc, const QRect& box, const QSize& image) {
    QTransform t;
    const bool window =
        dc.window_extent_set && dc.window_extent.width() != 0 && dc.window_extent.height() != 0;
    const QPoint origin = window ? dc.window_origin : box.topLeft();
    const QSize extent = window ? dc.window_extent : box.size();
    if (extent.width() == 0 || extent.height() == 0) return t;
    t.scale(qreal(image.width()) / extent.width(), qreal(image.height()) / extent.height());
    t.translate(-origin.x(), -origin.y());
    return t;
}

void WmfStoreObject(Player& player, GdiObject object) {
    for (auto& slot : player.objects) {
        if (!slot) {
            slot = std::move(object);
            return;
        }
    }
    if (player.objects.size() < 65536) player.objects.push_back(std::move(object));
}

QPolygonF WmfPoints(const Fields& f, std::size_t at, uint32_t count) {
    QPolygonF points;
    count = static_cast<uint32_t>(std::min<std::size_t>(count, f.size() / 4));
    for (uint32_t i = 0; i < count; ++i, at += 4) points << QPointF(f.I16(at), f.I16(at + 2));
    return points;
}

// A box given as bottom, right, top, left.
QRectF WmfBox(const Fields& f, std::size_t at) {
    return QRectF(QPointF(f.I16(at + 6), f.I16(at + 4)), QPointF(f.I16(at + 2), f.I16(at)));
}

QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool PlayWmfRecord(Player& player, std::string_view record, const QTransform& transform) {
    const Fields f(record);
    const uint32_t function = f.U16(4);
    DeviceContext& dc = player.dc;
    player.Begin(transform);
    const std::size_t p = kParams;
    switch (function) {
        case meta::kEof:
            return false;
        case meta::kSetWindowOrg:
            dc.window_origin = QPoint(f.I16(p + 2), f.I16(p));
            break;
        case meta::kSetWindowExt:
            dc.window_extent = QSize(f.I16(p + 2), f.I16(p));
            dc.window_extent_set = true;
            break;
        case meta::kSetMapMode:
            dc.map_mode = f.I16(p);
            break;
        case meta::kSetBkMode:
            dc.opaque_background = f.U16(p) == 2;
            break;
        case meta::kSetPolyFillMode:
            dc.fill_rule = f.U16(p) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case meta::kSetTextAlign:
            dc.text_align = f.U16(p);
            break;
        case meta::kSetTextColor:
            dc.text_colour = ColourRef(f.U32(p));
            break;
        case meta::kSetBkColor:
            dc.background = ColourRef(f.U32(p));
            break;
        case meta::kMoveTo:
            dc.position = QPointF(f.I16(p + 2), f.I16(p));
            break;
        case meta::kLineTo:
            player.LineTo(QPointF(f.I16(p + 2), f.I16(p)));
            break;
        case meta::kSaveDc:
            player.SaveState();
            break;
        case meta::kRestoreDc:
            player.RestoreState(f.I16(p));
            break;
        case meta::kRectangle:
            player.Rectangle(WmfBox(f, p));
            break;
        case meta::kEllipse:
            player.Ellipse(WmfBox(f, p));
            break;
        case meta::kRoundRect:
            player.RoundRect(WmfBox(f, p + 4), f.I16(p + 2), f.I16(p));
            break;
        case meta::kPolygon:
            player.Polygon(WmfPoints(f, p + 2, f.U16(p)));
            break;
        case meta::kPolyline:
            player.Polyline(WmfPoints(f, p + 2, f.U16(p)));
            break;
        case meta::kPolyPolygon: {
            const uint32_t polygons = f.U16(p);
            std::size_t at = p + 2 + 2 * std::size_t{polygons};
            std::vector<QPolygonF> shapes;
            for (uint32_t i = 0; i < polygons && at < record.size(); ++i) {
                const uint32_t count = f.U16(p + 2 + 2 * i);
                shapes.push_back(WmfPoints(f, at, count));
                at += 4 * std::size_t{count};
            }
            player.PolyPolygon(shapes);
            break;
        }
        case meta::kSelectObject: {
            const uint32_t index = f.U16(p);
            if (index < player.objects.size() && player.objects[index]) {
                player.Select(*player.objects[index]);
            }
            break;
        }
        case meta::kDeleteObject:
            if (f.U16(p) < player.objects.size()) player.objects[f.U16(p)].reset();
            break;
        case meta::kCreatePen:
            WmfStoreObject(
                player,
                {GdiObject::Type::Pen, MakePen(f.U16(p), f.I16(p + 2), f.U32(p + 6)), {}, {}});
            break;
        case meta::kCreateBrush:
            WmfStoreObject(
                player,
                {GdiObject::Type::Brush, {}, MakeBrush(f.U16(p), f.U32(p + 2), f.U16(p + 6)), {}});
            break;
        case meta::kCreateFont: {
            const std::string_view face_bytes = f.Bytes(p + 18, 32);
            const std::string_view face = face_bytes.substr(0, face_bytes.find('\0'));
            WmfStoreObject(player, {GdiObject::Type::Font,
                                    {},
                                    {},
                                    MakeFont(f.I16(p), f.I16(p + 8), f.U8(p + 10) != 0,
                                             f.U8(p + 11) != 0, f.U8(p + 12) != 0, Latin1(face))});
            break;
        }
        case meta::kCreatePalette:
        case meta::kCreatePatternBrush:
        case meta::kDibCreatePatternBrush:
        case meta::kCreateRegion:
            // Not drawn, but they take their place in the object table.
            WmfStoreObject(player, GdiObject{});
            break;
        case meta::kTextOut: {
            const uint32_t count = f.U16(p);
            const std::size_t after = p + 2 + ((count + 1) & ~1u);
            player.Text(QPointF(f.I16(after + 2), f.I16(after)), Latin1(f.Bytes(p + 2, count)));
            break;
        }
        case meta::kExtTextOut: {
            const uint32_t count = f.U16(p + 4);
            const std::size_t text_at = p + 8 + ((f.U16(p + 6) & kClippedOrOpaque) ? 8 : 0);
            player.Text(QPointF(f.I16(p + 2), f.I16(p)), Latin1(f.Bytes(text_at, count)));
            break;
        }
        default:
            break;
    }
    return true;
}

void PlayWmf(const Picture& picture, QImage& image) {
    const Fields header(picture.bytes);
    const QRect box(QPoint(header.I16(6), header.I16(8)), QPoint(header.I16(10), header.I16(12)));
    const QRect bounds(box.left(), box.top(), box.right() - box.left(), box.bottom() - box.top());
    std::string_view rest = std::string_view(picture.bytes);
    if (rest.size() < kPlaceableSize + kMetaHeaderSize) return;
    QPainter painter(&image);
    Player player(painter);
    rest.remove_prefix(kPlaceableSize + kMetaHeaderSize);
    while (rest.size() >= kParams) {
        const uint64_t size = uint64_t{Fields(rest).U32(0)} * 2;
        if (size < kParams || size > rest.size()) break;
        if (!PlayWmfRecord(player, rest.substr(0, size),
                           WmfTransform(player.dc, bounds, image.size())))
            break;
        rest.remove_prefix(size);
    }
}

}  // namespace

QImage PlayMetafile(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kMaxSide ||
        picture.height > kMaxSide)
        return QImage();
    QImage image(picture.width, picture.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    switch (picture.kind) {
        case PictureKind::EnhancedMetafile:
            PlayEmf(picture, image);
            return image;
        case PictureKind::Metafile:
            PlayWmf(picture, image);
            return image;
        default:
            return QImage();
    }
}

}  // namespace quom
