#include "boardhighlight.h"

#include "anchors.h"
#include "boardimage.h"
#include "jpegpicture.h"
#include "popupform.h"
#include "radiopanel.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

namespace {

constexpr int DEFAULT_SIZE = 65;
constexpr float INNER_RADIUS_SQUARED = 0.5929f; // 0.77 squared: the inner disc ends here
constexpr float INNER_STRENGTH = 0.16f;         // equals the ring's strength at 0.77
constexpr float RING_PEAK = 0.875f;             // radius of the ring's strongest line
constexpr float RING_FALLOFF = 8.0f;            // 1 / 0.125: from the peak to 0 at radius 1

// Popup geometry: the memo height without a panel, the rows below the memo (the
// button row with its gaps, 32, and the status bar, 19) and the smallest outer size.
constexpr int MEMO_HEIGHT_WITHOUT_PANEL = 58;
constexpr int ROWS_BELOW_MEMO = 51;
constexpr QSize OUTER_SIZE_WITHOUT_PANEL(194, 141);
constexpr QSize MINIMUM_OUTER_SIZE(194, 122);
constexpr int GAP_BELOW_BOARD = 38;

// A menu entry made by BuildMenuEntry names the highlight whose MenuItemClick is its
// click handler; other entries have none.
constexpr char HANDLER_PROPERTY[] = "BoardHighlightHandler";

bool IsBoardImage(const QObject *object)
{
    return object && object->metaObject() == &TBoardImage::staticMetaObject;
}

bool IsBoardHighlight(const QObject *object)
{
    return object && object->metaObject() == &TBoardHighlight::staticMetaObject;
}

TBoardHighlight *HandlerOf(const QAction *entry)
{
    if (!entry)
        return nullptr;
    return qobject_cast<TBoardHighlight *>(entry->property(HANDLER_PROPERTY).value<QObject *>());
}

// The group menus of a caption in a menu bar, from the left.
QList<QMenu *> GroupMenus(const QMenuBar *bar, const QString &caption)
{
    QList<QMenu *> menus;
    if (!bar)
        return menus;
    for (QAction *action : bar->actions()) {
        if (action->menu() && action->text() == caption)
            menus.append(action->menu());
    }
    return menus;
}

// Handlers run while walking a group may delete highlights; the walk skips those.
QList<QPointer<TBoardHighlight>> Guarded(const QList<TBoardHighlight *> &list)
{
    return QList<QPointer<TBoardHighlight>>(list.begin(), list.end());
}

bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool IsIdentStart(QChar c)
{
    return IsAsciiLetter(c) || c == QLatin1Char('_');
}

bool IsIdentChar(QChar c)
{
    return IsIdentStart(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

namespace {

// The plain strength, and the bright variant made from it; one square root serves
// both (the same single-precision steps as computing each on its own).
float PlainStrength(float d)
{
    if (d < INNER_RADIUS_SQUARED)
        return INNER_STRENGTH;
    return 1.0f - RING_FALLOFF * std::fabs(std::sqrt(d) - RING_PEAK);
}

TRingShade Brighten(float plain, float d)
{
    TRingShade shade;
    // The inner disc is never doubled, not even in the bright image.
    if (d < INNER_RADIUS_SQUARED) {
        shade.Strength = plain;
        return shade;
    }
    float s = 2.0f * plain;
    if (s > 1.0f) {
        shade.White = true;
        s = 2.0f - s;
    }
    shade.Strength = s;
    return shade;
}

struct TShadeTarget
{
    const QImage *Source; // the captured picture; the same image as Target to shade in place
    QImage *Target;       // Format_RGB32, at least as large as Source's shaded part
    bool Bright;
    float Level;
};

// One pixel tinted by `t` (strength x level). Each channel is M x captured + L x colour
// (L = t, M = 1 - L) rounded to the nearest integer with halves to the even neighbour,
// as std::nearbyint does under the default rounding mode: clamping first keeps the
// value in 0..255, where adding and taking away 2^23 (which makes the float unit 1)
// rounds exactly. No library call and no branch per channel.
quint32 BlendPixel(quint32 pixel, float t, float cr, float cg, float cb)
{
    constexpr float TWO_TO_23 = 8388608.0f;
    const float k = 1.0f - t;
    float r = k * float(int((pixel >> 16) & 0xFFu)) + t * cr;
    float g = k * float(int((pixel >> 8) & 0xFFu)) + t * cg;
    float b = k * float(int(pixel & 0xFFu)) + t * cb;
    r = std::min(std::max(r, 0.0f), 255.0f);
    g = std::min(std::max(g, 0.0f), 255.0f);
    b = std::min(std::max(b, 0.0f), 255.0f);
    r = (r + TWO_TO_23) - TWO_TO_23;
    g = (g + TWO_TO_23) - TWO_TO_23;
    b = (b + TWO_TO_23) - TWO_TO_23;
    return 0xFF000000u | (quint32(int(r)) << 16) | (quint32(int(g)) << 8) | quint32(int(b));
}

// One row of the blend for one image: pixels c0 .. c1 - 1 of `from`, all inside the
// ellipse, tinted into `to` (which may be `from`). `take` holds strength x level per
// pixel; `white` is 0x00FFFFFF where the bright image's core line turns the captured
// pixel white first, else 0.
void BlendRow(const QRgb *from, QRgb *to, int c0, int c1, const float *take, const quint32 *white,
              float cr, float cg, float cb)
{
    int c = c0;
#if defined(__SSE2__)
    // Four pixels at a time, with the same single-precision operations in the same
    // order as BlendPixel. The clamp differs only for -0, which rounds to 0 either way.
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 zero = _mm_setzero_ps();
    const __m128 top = _mm_set1_ps(255.0f);
    const __m128 unit = _mm_set1_ps(8388608.0f);
    const __m128 red = _mm_set1_ps(cr);
    const __m128 green = _mm_set1_ps(cg);
    const __m128 blue = _mm_set1_ps(cb);
    const auto channel = [&](__m128i bits, __m128 k, __m128 t, __m128 colour) {
        __m128 v = _mm_add_ps(_mm_mul_ps(k, _mm_cvtepi32_ps(_mm_and_si128(bits, byte))),
                              _mm_mul_ps(t, colour));
        v = _mm_min_ps(_mm_max_ps(v, zero), top);
        v = _mm_sub_ps(_mm_add_ps(v, unit), unit);
        return _mm_cvttps_epi32(v);
    };
    for (; c + 4 <= c1; c += 4) {
        const __m128i pixel =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(from + c)),
                         _mm_loadu_si128(reinterpret_cast<const __m128i *>(white + c)));
        const __m128 t = _mm_loadu_ps(take + c);
        const __m128 k = _mm_sub_ps(one, t);
        const __m128i r = channel(_mm_srli_epi32(pixel, 16), k, t, red);
        const __m128i g = channel(_mm_srli_epi32(pixel, 8), k, t, green);
        const __m128i b = channel(pixel, k, t, blue);
        const __m128i out = _mm_or_si128(
            _mm_or_si128(opaque, _mm_slli_epi32(r, 16)), _mm_or_si128(_mm_slli_epi32(g, 8), b));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + c), out);
    }
#endif
    for (; c < c1; ++c)
        to[c] = BlendPixel(from[c] | white[c], take[c], cr, cg, cb);
}

// The tint of pixels c0 .. c1 - 1 of a row (rounded up to a multiple of four: the
// arrays have room), for up to three images: take[i][c] = strength x level[i], with
// the bright strength for a bright image, whose white core line is marked in `white`.
// The same single-precision steps as PlainStrength and Brighten, pixel by pixel.
void RowTakes(const float *xs, float yy, int c0, int c1, std::size_t n, const bool *bright,
              const float *level, float *const *take, quint32 *white)
{
    int c = c0;
#if defined(__SSE2__)
    const __m128 yys = _mm_set1_ps(yy);
    const __m128 innerRadiusSquared = _mm_set1_ps(INNER_RADIUS_SQUARED);
    const __m128 innerStrength = _mm_set1_ps(INNER_STRENGTH);
    const __m128 peak = _mm_set1_ps(RING_PEAK);
    const __m128 falloff = _mm_set1_ps(RING_FALLOFF);
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 two = _mm_set1_ps(2.0f);
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    const auto select = [](__m128 mask, __m128 yes, __m128 no) {
        return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
    };
    for (; c < c1; c += 4) {
        const __m128 x = _mm_loadu_ps(xs + c);
        const __m128 d = _mm_add_ps(_mm_mul_ps(x, x), yys);
        const __m128 inner = _mm_cmplt_ps(d, innerRadiusSquared);
        // sqrtps rounds correctly, as std::sqrt does; D is never negative.
        const __m128 ring = _mm_sub_ps(
            one, _mm_mul_ps(falloff, _mm_and_ps(magnitude, _mm_sub_ps(_mm_sqrt_ps(d), peak))));
        const __m128 plain = select(inner, innerStrength, ring);
        const __m128 doubled = _mm_mul_ps(two, plain);
        const __m128 core = _mm_andnot_ps(inner, _mm_cmpgt_ps(doubled, one));
        const __m128 strong =
            select(inner, plain, select(core, _mm_sub_ps(two, doubled), doubled));
        for (std::size_t i = 0; i < n; ++i) {
            _mm_storeu_ps(take[i] + c,
                          _mm_mul_ps(bright[i] ? strong : plain, _mm_set1_ps(level[i])));
            if (bright[i])
                _mm_storeu_si128(reinterpret_cast<__m128i *>(white + c),
                                 _mm_and_si128(_mm_castps_si128(core), rgb));
        }
    }
#endif
    for (; c < c1; ++c) {
        const float d = xs[c] * xs[c] + yy;
        const float plain = PlainStrength(d);
        for (std::size_t i = 0; i < n; ++i) {
            if (bright[i]) {
                const TRingShade shade = Brighten(plain, d);
                take[i][c] = shade.Strength * level[i];
                white[c] = shade.White ? 0x00FFFFFFu : 0u;
            } else {
                take[i][c] = plain * level[i];
            }
        }
    }
}

// Shades up to three copies of one captured picture: the geometry of a row (where the
// ellipse lies, the strength of every pixel) is worked out once for all of them, and
// then each image is blended along the row in one tight loop.
bool ShadeTargets(int width, int height, QColor color, std::initializer_list<TShadeTarget> targets)
{
    if (width < 2 || height < 2 || targets.size() == 0 || targets.size() > 3)
        return false;
    for (const TShadeTarget &t : targets) {
        // A level that is not a number would give pixels that are not numbers either.
        if (!std::isfinite(t.Level))
            return false;
    }
    int w = width;
    int h = height;
    for (const TShadeTarget &t : targets) {
        for (const QImage *image : {t.Source, static_cast<const QImage *>(t.Target)}) {
            if (!image || image->isNull() || image->format() != QImage::Format_RGB32)
                return false;
            w = std::min(w, image->width());
            h = std::min(h, image->height());
        }
        // A separate target is written whole (outside the ellipse as a copy): it must
        // be exactly the shaded part of the source.
        if (t.Source != t.Target &&
            (t.Target->size() != t.Source->size() || width < t.Source->width() ||
             height < t.Source->height()))
            return false;
    }
    const float sx = 2.0f / float(width - 1);
    const float sy = 2.0f / float(height - 1);
    const float cr = float(color.red());
    const float cg = float(color.green());
    const float cb = float(color.blue());
    const std::size_t n = targets.size();

    // Per pixel of a row: strength x level for each image, and the white mask of the
    // bright image (zeros for the others).
    // Per pixel of a row: strength x level for each image, and the white mask of the
    // bright image (zeros for the others). Four spare entries at the end let the row
    // be worked on in groups of four.
    const std::size_t padded = std::size_t(w) + 4;
    std::vector<float> take(3 * padded);
    std::vector<quint32> white(padded, 0u);
    const std::vector<quint32> noWhite(padded, 0u);
    bool bright[3] = {};
    float level[3] = {};
    float *takes[3] = {};
    for (std::size_t i = 0; i < n; ++i) {
        bright[i] = targets.begin()[i].Bright;
        level[i] = targets.begin()[i].Level;
        takes[i] = take.data() + i * padded;
    }

    // X across the row, the same single-precision value for every row.
    std::vector<float> xs(padded);
    for (std::size_t c = 0; c < padded; ++c)
        xs[c] = float(c) * sx - 1.0f;

    for (int r = 0; r < h; ++r) {
        const float y = float(r) * sy - 1.0f;
        const float yy = y * y;
        // X grows with the column, so D = X*X + Y*Y falls and then rises along the
        // row (rounding keeps both monotone): the pixels inside form one run c0 .. c1.
        int c0 = 0;
        while (c0 < w && !(xs[c0] * xs[c0] + yy < 1.0f))
            ++c0;
        int c1 = w;
        while (c1 > c0 && !(xs[c1 - 1] * xs[c1 - 1] + yy < 1.0f))
            --c1;
        RowTakes(xs.data(), yy, c0, c1, n, bright, level, takes, white.data());

        for (std::size_t i = 0; i < n; ++i) {
            const TShadeTarget &t = targets.begin()[i];
            // The target first: shading in place may detach a shared image.
            auto *to = reinterpret_cast<QRgb *>(t.Target->scanLine(r));
            const auto *from = t.Source == t.Target
                                   ? to
                                   : reinterpret_cast<const QRgb *>(t.Source->constScanLine(r));
            if (t.Source != t.Target) {
                // Outside the ellipse the picture is kept as it is.
                std::copy(from, from + c0, to);
                std::copy(from + c1, from + w, to + c1);
            }
            BlendRow(from, to, c0, c1, takes[i],
                     (t.Bright ? white : noWhite).data(), cr, cg, cb);
        }
    }
    return true;
}

} // namespace

TRingShade RingShade(float d, bool bright)
{
    const float plain = PlainStrength(d);
    return bright ? Brighten(plain, d) : TRingShade{plain, false};
}

void ShadeCircle(QImage &image, int width, int height, bool bright, QColor color, float level)
{
    ShadeTargets(width, height, color, {{&image, &image, bright, level}});
}

QString GroupCaption(THighlightType type)
{
    switch (type) {
    case htOptions:
        return QStringLiteral("&Options");
    case htCalibration:
        return QStringLiteral("&Calibration");
    case htSettings:
        break;
    }
    return QStringLiteral("&Settings");
}

QString GroupStem(THighlightType type)
{
    // The caption without its accelerator mark: "&Settings" gives Settings.
    return TBoardHighlight::StripAmpersands(GroupCaption(type));
}

QStringList GroupInsertBefore(THighlightType type)
{
    switch (type) {
    case htOptions:
        return {QStringLiteral("&Help")};
    case htCalibration:
        return {QStringLiteral("&Options"), QStringLiteral("&Help")};
    case htSettings:
        break;
    }
    return {QStringLiteral("&Calibration"), QStringLiteral("&Options"), QStringLiteral("&Help")};
}

TBoardHighlight::TBoardHighlight(QWidget *parent) : QWidget(parent)
{
    resize(DEFAULT_SIZE, DEFAULT_SIZE);
    FNormalImage = QImage(0, 0, QImage::Format_RGB32);
    FBrightImage = QImage(0, 0, QImage::Format_RGB32);
    FMediumImage = QImage(0, 0, QImage::Format_RGB32);
    // The member defaults are those of htSettings; the setter keeps them in step.
    FHighlightType = htOptions;
    SetHighlightType(htSettings);
}

TBoardHighlight::~TBoardHighlight()
{
    // The menu entry outlives the highlight (the main window owns it): it must not
    // name a handler that is gone.
    if (FMenuEntry && HandlerOf(FMenuEntry) == this)
        FMenuEntry->setProperty(HANDLER_PROPERTY, QVariant::fromValue<QObject *>(nullptr));
    // The popup is a child widget and would be deleted after this object has become a
    // plain QWidget; deleting it here keeps its last activation reports away.
    if (FPopup) {
        FPopup->DetachHighlight();
        delete FPopup;
        FPopup = nullptr;
    }
}

void TBoardHighlight::SetHighlightType(THighlightType value)
{
    if (value == FHighlightType)
        return;
    FHighlightType = value;
    switch (value) {
    case htOptions:
        FRingColor = QColor(0x00, 0x00, 0xFF);
        FNormalLevel = 0.25f;
        FMediumLevel = 0.5f;
        FBrightLevel = 1.0f;
        break;
    case htSettings:
        FRingColor = QColor(0xFF, 0xFF, 0x00);
        FNormalLevel = 0.5f;
        FMediumLevel = 0.75f;
        FBrightLevel = 1.0f;
        break;
    case htCalibration:
        FRingColor = QColor(0xFF, 0x00, 0x00);
        FNormalLevel = 0.5f;
        FMediumLevel = 0.75f;
        FBrightLevel = 1.0f;
        break;
    }
    update();
}

void TBoardHighlight::SetTitle(const QString &value)
{
    if (value == FTitle)
        return;
    FTitle = value;
    FCaptionText = StripAmpersands(value);
    FIdentText = MakeIdentifier(value);
}

void TBoardHighlight::SetRadioPanel(TRadioPanel *panel)
{
    if (panel == FRadioPanel)
        return;
    if (!panel) {
        FRadioPanel = nullptr;
        return;
    }
    QWidget *parent = parentWidget();
    const bool designing = parent && Vcl::InDesignMode(parent);
    if (parent) {
        for (QObject *child : parent->children()) {
            if (child == this || !IsBoardHighlight(child))
                continue;
            auto *other = static_cast<TBoardHighlight *>(child);
            if (other->FRadioPanel != panel)
                continue;
            if (other->FTitle == FTitle && other->FHighlightType == FHighlightType)
                continue;
            if (designing) {
                QMessageBox box(QMessageBox::Critical, QString(),
                                panel->objectName() +
                                    QStringLiteral(" has already been assigned to ") +
                                    other->objectName() + QStringLiteral("."),
                                QMessageBox::Ok, parent->window());
                box.setWindowFlag(Qt::WindowStaysOnTopHint);
                box.exec();
            }
            return;
        }
    }
    FRadioPanel = panel;
    if (!designing)
        return;
    for (TBoardHighlight *other : LinkedHighlights()) {
        if (other == this || other->FRadioPanel == panel)
            continue;
        QMessageBox box(QMessageBox::Question, QString(),
                        objectName() +
                            QStringLiteral("'s RadioPanel property changed. Synchronize linked "
                                           "component ") +
                            other->objectName() + QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No, parent->window());
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        if (box.exec() == QMessageBox::Yes)
            other->AssignLinkedRadioPanel(panel);
    }
}

QString TBoardHighlight::StripAmpersands(const QString &text)
{
    QString result = text;
    result.remove(QLatin1Char('&'));
    return result;
}

QString TBoardHighlight::MakeIdentifier(const QString &text)
{
    if (text.isEmpty())
        return text;
    const bool valid =
        IsIdentStart(text.front()) && std::all_of(text.begin(), text.end(), IsIdentChar);
    if (valid)
        return text;
    qsizetype start = 0;
    while (start < text.size() && !IsIdentStart(text.at(start)))
        ++start;
    QString result;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (IsIdentChar(text.at(i)))
            result.append(text.at(i));
    }
    return result;
}

QString TBoardHighlight::MenuNameStem() const
{
    // A bare number is no component name: a title without any letter or underscore
    // gets a stem of its own.
    return FIdentText.isEmpty() ? QStringLiteral("Item") : FIdentText;
}

QWidget *TBoardHighlight::BoardImage() const
{
    QWidget *parent = parentWidget();
    return IsBoardImage(parent) ? parent : nullptr;
}

QList<TBoardHighlight *> TBoardHighlight::LinkedHighlights() const
{
    QList<TBoardHighlight *> linked;
    QWidget *board = BoardImage();
    if (!board) {
        linked.append(const_cast<TBoardHighlight *>(this));
        return linked;
    }
    bool selfSeen = false;
    for (QObject *child : board->children()) {
        // While a parent deletes its children, the ones already gone read as null.
        if (!child)
            continue;
        if (child == this) {
            selfSeen = true;
            linked.append(const_cast<TBoardHighlight *>(this));
            continue;
        }
        if (!IsBoardHighlight(child))
            continue;
        auto *other = static_cast<TBoardHighlight *>(child);
        if (other->FTitle == FTitle && other->FHighlightType == FHighlightType)
            linked.append(other);
    }
    if (!selfSeen)
        linked.prepend(const_cast<TBoardHighlight *>(this));
    return linked;
}

const QImage &TBoardHighlight::CurrentImage() const
{
    if (FLit && FPopupActive)
        return FBrightImage;
    if (FLit || FPopupActive)
        return FMediumImage;
    return FNormalImage;
}

QImage TBoardHighlight::CaptureBeneath() const
{
    const int w = std::max(0, width());
    const int h = std::max(0, height());
    QImage captured(w, h, QImage::Format_RGB32);
    if (captured.isNull())
        return captured;
    const QRect area = geometry();
    QWidget *parent = parentWidget();
    if (!parent) {
        captured.fill(palette().color(QPalette::Window));
        return captured;
    }

    if (auto *board = static_cast<TBoardImage *>(BoardImage())) {
        // Straight from the board's decoded picture: no repaint of the board is needed,
        // and the copy costs only the highlight's own pixels.
        captured.fill(board->palette().color(board->backgroundRole()));
        TGraphic *graphic = board->Picture().Graphic();
        const QRect pictureRect = board->PictureRect();
        const QImage *source = nullptr;
        if (auto *jpeg = dynamic_cast<TJpegPicture *>(graphic)) {
            jpeg->Decode();
            source = &jpeg->Image();
        } else if (auto *bitmap = dynamic_cast<TBitmapGraphic *>(graphic)) {
            source = &bitmap->Image();
        }
        if (source && !source->isNull() && source->format() == QImage::Format_RGB32 &&
            source->size() == pictureRect.size()) {
            const QRect common = area.intersected(pictureRect);
            for (int y = common.top(); y <= common.bottom(); ++y) {
                const auto *from =
                    reinterpret_cast<const QRgb *>(source->constScanLine(y - pictureRect.top())) +
                    (common.left() - pictureRect.left());
                auto *to = reinterpret_cast<QRgb *>(captured.scanLine(y - area.top())) +
                           (common.left() - area.left());
                std::copy(from, from + common.width(), to);
            }
        } else if (graphic) {
            QPainter painter(&captured);
            painter.translate(-area.topLeft());
            painter.setClipRect(area);
            graphic->Draw(painter, pictureRect);
        }
    } else {
        // Any other parent paints itself (not its children) into the image.
        captured.fill(parent->palette().color(parent->backgroundRole()));
        parent->render(&captured, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
    }

    // Rings painted before this one (earlier in the parent's child order) lie beneath it.
    QPainter *painter = nullptr;
    for (QObject *child : parent->children()) {
        if (child == this)
            break;
        auto *sibling = qobject_cast<TBoardHighlight *>(child);
        if (!sibling || !sibling->isVisible() || !sibling->FImagesReady)
            continue;
        const QRect other = sibling->geometry();
        if (!other.intersects(area))
            continue;
        if (!painter) {
            painter = new QPainter(&captured);
            painter->translate(-area.topLeft());
        }
        painter->drawImage(other.topLeft(), sibling->CurrentImage());
    }
    delete painter;
    return captured;
}

void TBoardHighlight::PrepareImages()
{
    const QImage captured = CaptureBeneath();
    // ShadeCircle on a copy of the captured picture for each image, done in one pass
    // that reads the capture and writes every pixel of the three new images.
    FNormalImage = QImage(captured.size(), QImage::Format_RGB32);
    FBrightImage = QImage(captured.size(), QImage::Format_RGB32);
    FMediumImage = QImage(captured.size(), QImage::Format_RGB32);
    if (!ShadeTargets(width(), height(), FRingColor,
                      {{&captured, &FNormalImage, false, FNormalLevel},
                       {&captured, &FBrightImage, true, FBrightLevel},
                       {&captured, &FMediumImage, false, FMediumLevel}})) {
        // Nothing to tint (too small, or a level that is not a number): plain copies.
        FNormalImage = captured;
        FNormalImage.detach();
        FBrightImage = captured;
        FBrightImage.detach();
        FMediumImage = captured;
        FMediumImage.detach();
    }
}

void TBoardHighlight::PrepareOnFirstPaint()
{
    PrepareImages();
    if (auto *board = static_cast<TBoardImage *>(BoardImage())) {
        FMenu = board->Menu();
        BuildMenuEntry();
    } else {
        FMenu = nullptr;
    }
    FImagesReady = true;
}

void TBoardHighlight::paintEvent(QPaintEvent *)
{
    // Capturing a parent that is not a board image renders it; its children (this
    // one among them) stay out of that, but guard against a nested paint anyway.
    if (FPreparing)
        return;
    FPreparing = true;
    struct Done
    {
        bool &flag;
        ~Done() { flag = false; }
    } done{FPreparing};
    if (Vcl::InDesignMode(this))
        PrepareImages();
    else if (!FImagesReady)
        PrepareOnFirstPaint();
    QPainter painter(this);
    painter.drawImage(0, 0, CurrentImage());
}

void TBoardHighlight::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    MouseEnter(0);
}

void TBoardHighlight::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    MouseLeave(0);
}

void TBoardHighlight::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        FPressed = true;
    QWidget::mousePressEvent(event);
}

void TBoardHighlight::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && FPressed &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        FPressed = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        Click();
}

void TBoardHighlight::MouseEnter(int wParam)
{
    if (FLit)
        return;
    FLit = true;
    update();
    if (FCreatePopup)
        ShowPopup();
    if (wParam == 1)
        return;
    // Synchronous: each linked ring has lit (and shown the group's popup if it owns
    // it) before the next one is told.
    for (const QPointer<TBoardHighlight> &other : Guarded(LinkedHighlights())) {
        if (other && other != this)
            other->MouseEnter(1);
    }
}

void TBoardHighlight::MouseLeave(int wParam)
{
    if (!FLit)
        return;
    if (FPopup && !FPinned) {
        // The notification comes after the pointer moved: where it is now decides.
        if (FPopup->frameGeometry().contains(QCursor::pos())) {
            FPopup->SetEnteredByMouse(true);
            PinPopup();
        } else {
            FPopup->close();
        }
    }
    if (wParam == 1)
        return;
    for (const QPointer<TBoardHighlight> &other : Guarded(LinkedHighlights())) {
        if (other && other != this)
            other->MouseLeave(1);
    }
}

void TBoardHighlight::Click()
{
    if (FOnClick)
        FOnClick(this);
    PinPopup();
}

void TBoardHighlight::PinPopup()
{
    // A ring clicked again after its group's popup was closed from the keyboard or
    // the menu: the popup is shown again first, so that a pinned, checked entry never
    // stands for a hidden window.
    if (!FLit) {
        for (TBoardHighlight *h : LinkedHighlights()) {
            if (h->FPopup && h->FPopup->isHidden()) {
                MouseEnter(0);
                break;
            }
        }
    }
    if (FPopup) {
        FPinned = true;
        SetMenuChecked(true);
    }
    for (const QPointer<TBoardHighlight> &h : Guarded(LinkedHighlights())) {
        if (h)
            h->PinAndFocusPopup();
    }
}

void TBoardHighlight::PinAndFocusPopup()
{
    if (!FPopup)
        return;
    FPinned = true;
    SetMenuChecked(true);
    if (FPopup->isVisible()) {
        FPopup->raise();
        FPopup->activateWindow();
    }
}

void TBoardHighlight::SetPopupActive(bool active, bool passOn)
{
    FPopupActive = active;
    raise();
    update();
    if (!passOn || !BoardImage())
        return;
    QWidget *board = parentWidget();
    // Raising a highlight moves it to the end of the child list: the walk stays at
    // the same index afterwards and looks at one child fewer, so every linked
    // highlight is handled exactly once.
    qsizetype bound = board->children().size();
    qsizetype i = 0;
    while (i < bound) {
        QObject *child = board->children().at(i);
        if (child && child != this && IsBoardHighlight(child)) {
            auto *other = static_cast<TBoardHighlight *>(child);
            if (other->FTitle == FTitle && other->FHighlightType == FHighlightType) {
                other->SetPopupActive(active, false);
                --bound;
                continue;
            }
        }
        ++i;
    }
}

void TBoardHighlight::Unlight()
{
    FLit = false;
    update();
}

void TBoardHighlight::ShowPopup()
{
    if (FPopup) {
        if (FPopup->isHidden())
            FPinned = false;
        FPopup->show();
        FPopup->raise();
        return;
    }
    // A linked highlight that owns the group's popup already made a window with this
    // caption and tag.
    const int tag = int(FHighlightType);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == FCaptionText && Vcl::Tag(window) == tag)
            return;
    }

    auto *popup = new TPopupForm(this);
    FPopup = popup;
    FPinned = false;

    TRadioPanel *panel = FRadioPanel;
    int memoHeight = MEMO_HEIGHT_WITHOUT_PANEL;
    int panelLeft = 0;
    int panelTop = 0;
    QSize client;
    if (panel) {
        memoHeight = panel->MemoHeight();
        popup->SetOnActivate(panel->OnActivate());
        popup->SetOnDeactivate(panel->OnDeactivate());
        panelLeft = panel->x();
        panelTop = panel->y();
        client = QSize(panel->width(), panel->height() + memoHeight + ROWS_BELOW_MEMO);
        popup->resize(client);
        // Qt hides a widget that changes parent, so it is shown after the move.
        panel->setParent(popup);
        panel->move(0, 0);
        panel->setVisible(true);
        SetAnchors(panel, panel->FinalAnchors());
        panel->SetInPopup(true);
    } else {
        popup->resize(OUTER_SIZE_WITHOUT_PANEL - popup->FrameExtra());
    }

    // The outer sizes are kept through the frame the window has now; a window that
    // was never shown has none yet, so the rules then apply to the client area.
    popup->setWindowTitle(FCaptionText);
    const QSize frame = popup->FrameExtra();
    const QSize outer = (popup->size() + frame).expandedTo(MINIMUM_OUTER_SIZE);
    popup->resize(outer - frame);
    popup->setMinimumSize(popup->size());
    Vcl::SetTag(popup, tag);

    // Where the panel was laid out next to the board image, moved as far as the board
    // has moved since its first paint; the board's place is used as a screen place.
    QWidget *board = BoardImage();
    QPoint boardPos = parentWidget() ? parentWidget()->pos() : QPoint();
    int dx = 0;
    int dy = 0;
    if (board) {
        const auto *image = static_cast<TBoardImage *>(board);
        dx = image->DesignLeft() - panelLeft;
        dy = image->DesignTop() - panelTop;
    }
    if (!panel) {
        dx = 0;
        dy = -((parentWidget() ? parentWidget()->height() : 0) + GAP_BELOW_BOARD);
    }
    popup->move(boardPos.x() - dx, boardPos.y() - dy);

    popup->SetOnClose([this](QObject *sender) { PopupClosed(sender); });
    popup->BuildChildren(popup->width(), popup->height(), memoHeight);
    if (panel)
        popup->StatusMemo->setPlainText(panel->Lines().join(QLatin1Char('\n')));
    popup->KeepOnScreen();

    popup->show();
    popup->raise();
    // Once shown, Qt may know the window's frame: keep the whole frame on the screen.
    popup->KeepOnScreen();
    if (panel) {
        // The first control of the panel that takes the focus from the keyboard, or
        // the panel itself: either way the focus enters the panel.
        QWidget *target = panel;
        for (QWidget *w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain()) {
            if (!panel->isAncestorOf(w))
                break;
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(popup)) {
                target = w;
                break;
            }
        }
        popup->FocusWhenActive(target);
    } else {
        popup->FocusWhenActive(popup->DoneButton);
    }
}

void TBoardHighlight::PopupClosed(QObject *)
{
    SetMenuChecked(false);
    if (FPopup)
        FPopup->SetEnteredByMouse(false);
    for (const QPointer<TBoardHighlight> &h : Guarded(LinkedHighlights())) {
        if (h)
            h->Unlight();
    }
}

void TBoardHighlight::PreviousClick(QObject *)
{
    if (!FMenu)
        return;
    for (QMenu *group : GroupMenus(FMenu, GroupCaption(FHighlightType))) {
        const QList<QAction *> entries = group->actions();
        const qsizetype n = entries.size();
        for (qsizetype j = 0; j < n; ++j) {
            if (entries.at(j)->text() != FTitle)
                continue;
            if (FPopup)
                FPopup->close();
            // Entries that no highlight made have no click handler: step over them.
            for (qsizetype step = 1; step <= n; ++step) {
                const qsizetype k = ((j - step) % n + n) % n;
                if (TBoardHighlight *target = HandlerOf(entries.at(k))) {
                    target->MenuItemClick(this);
                    return;
                }
            }
            return;
        }
    }
}

void TBoardHighlight::NextClick(QObject *)
{
    if (!FMenu)
        return;
    for (QMenu *group : GroupMenus(FMenu, GroupCaption(FHighlightType))) {
        const QList<QAction *> entries = group->actions();
        const qsizetype n = entries.size();
        for (qsizetype j = 0; j < n; ++j) {
            if (entries.at(j)->text() != FTitle)
                continue;
            if (FPopup)
                FPopup->close();
            for (qsizetype step = 1; step <= n; ++step) {
                const qsizetype k = (j + step) % n;
                if (TBoardHighlight *target = HandlerOf(entries.at(k))) {
                    target->MenuItemClick(this);
                    return;
                }
            }
            return;
        }
    }
}

void TBoardHighlight::DoneClick(QObject *)
{
    if (FPopup)
        FPopup->close();
}

void TBoardHighlight::BuildMenuEntry()
{
    if (!FMenu)
        return;
    QWidget *owner = FMenu->window();
    const QString caption = GroupCaption(FHighlightType);
    const QList<QMenu *> groups = GroupMenus(FMenu, caption);
    QMenu *group = groups.isEmpty() ? nullptr : groups.first();
    if (group) {
        for (QAction *entry : group->actions()) {
            if (entry->text() == FTitle)
                return;
        }
    } else {
        group = new QMenu(caption, owner);
        group->setObjectName(Vcl::UniqueName(owner, GroupStem(FHighlightType)));
        const QStringList before = GroupInsertBefore(FHighlightType);
        QAction *insertBefore = nullptr;
        for (QAction *action : FMenu->actions()) {
            if (before.contains(action->text())) {
                insertBefore = action;
                break;
            }
        }
        if (insertBefore)
            FMenu->insertMenu(insertBefore, group);
        else
            FMenu->addMenu(group);
    }
    if (FTitle.isEmpty())
        return;
    auto *entry = new QAction(FTitle, owner);
    entry->setObjectName(Vcl::UniqueName(owner, MenuNameStem()));
    entry->setCheckable(true);
    entry->setProperty(HANDLER_PROPERTY, QVariant::fromValue<QObject *>(this));
    group->addAction(entry);
    connect(entry, &QAction::triggered, this, [this, entry] { MenuItemClick(entry); });
    FMenuEntry = entry;
}

QAction *TBoardHighlight::FindMenuEntry() const
{
    for (QMenu *group : GroupMenus(FMenu, GroupCaption(FHighlightType))) {
        for (QAction *entry : group->actions()) {
            if (entry->text() == FTitle)
                return entry;
        }
    }
    return nullptr;
}

void TBoardHighlight::SetMenuChecked(bool checked)
{
    if (!FMenu)
        return;
    if (QAction *entry = FindMenuEntry())
        entry->setChecked(checked);
}

bool TBoardHighlight::GroupPinned() const
{
    for (TBoardHighlight *h : LinkedHighlights()) {
        if (h->FPopup && h->FPopup->isVisible() && h->FPinned)
            return true;
    }
    return false;
}

void TBoardHighlight::MenuItemClick(QObject *sender)
{
    auto *entry = qobject_cast<QAction *>(sender);
    // The entry has already flipped its own mark: its state before the click is the
    // opposite of what it shows now.
    const bool wasChecked = entry && entry->isCheckable() && !entry->isChecked();
    if (wasChecked) {
        if (FPopup) {
            FPopup->close();
        } else {
            for (const QPointer<TBoardHighlight> &h : Guarded(LinkedHighlights())) {
                if (h && h != this && h->FPopup)
                    h->MenuItemClick(sender);
            }
        }
    } else {
        MouseEnter(0);
        PinPopup();
        MouseLeave(0);
    }
    // The mark shows the pinned state only, whatever the entry did to itself.
    if (entry && HandlerOf(entry) == this)
        entry->setChecked(GroupPinned());
}
