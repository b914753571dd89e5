#include "ViewStyling.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <cmath>

using namespace Qt::StringLiterals;

namespace ViewStyling {

namespace {

constexpr char backgroundColorName[] = "backgroundColor";
constexpr char borderColorName[] = "borderColor";
constexpr char borderWidthName[] = "borderWidth";
constexpr char cornerRadiusName[] = "cornerRadius";
constexpr char shadowColorName[] = "shadowColor";
constexpr char shadowOffsetName[] = "shadowOffset";
constexpr char shadowOpacityName[] = "shadowOpacity";
constexpr char shadowRadiusName[] = "shadowRadius";

// The backing layer of one widget: the attributes, and the painting, clipping
// and shadow that carry them out.
class Layer : public QObject
{
public:
    explicit Layer(QWidget *view)
        : QObject(view)
        , m_view(view)
    {
        setObjectName(u"tessaly-layer"_s);
        view->installEventFilter(this);
    }

    std::optional<QColor> background, border, shadow;
    double borderWidth = 0;
    double cornerRadius = 0;
    bool masksToBounds = false;
    QSizeF shadowOffset;
    float shadowOpacity = 0;
    double shadowRadius = 0;

    static void adopt(QWidget *view, const QByteArray &name);

    void changed()
    {
        updateMask();
        updateShadow();
        m_view->update();
    }

    // Keeps the widget's dynamic property equal to what the layer holds.
    void mirror(const char *name, const QVariant &value)
    {
        m_mirroring = true;
        m_view->setProperty(name, value);
        m_mirroring = false;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view)
            return false;
        switch (event->type()) {
        case QEvent::Paint:
            if (background || (border && borderWidth > 0)) {
                paint(event);
                return true;
            }
            break;
        case QEvent::Resize:
            updateMask();
            break;
        case QEvent::DynamicPropertyChange:
            if (!m_mirroring)
                adopt(m_view, static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName());
            break;
        default:
            break;
        }
        return false;
    }

private:
    QPainterPath outline(double inset) const
    {
        QPainterPath path;
        const QRectF bounds = QRectF(m_view->rect()).adjusted(inset, inset, -inset, -inset);
        path.addRoundedRect(bounds, std::max(0.0, cornerRadius - inset), std::max(0.0, cornerRadius - inset));
        return path;
    }

    // Background under the widget's own painting, border over it.
    void paint(QEvent *event)
    {
        if (background) {
            QPainter painter(m_view);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(outline(0), *background);
        }
        static_cast<QObject *>(m_view)->event(event);
        if (border && borderWidth > 0) {
            QPainter painter(m_view);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(*border, borderWidth));
            painter.drawPath(outline(borderWidth / 2));
        }
    }

    void updateMask()
    {
        if (masksToBounds && cornerRadius > 0)
            m_view->setMask(QRegion(outline(0).toFillPolygon().toPolygon()));
        else if (!m_view->mask().isEmpty())
            m_view->clearMask();
    }

    void updateShadow()
    {
        const bool wanted = shadow && shadowOpacity > 0;
        auto *effect = qobject_cast<QGraphicsDropShadowEffect *>(m_view->graphicsEffect());
        if (!wanted) {
            if (effect)
                m_view->setGraphicsEffect(nullptr);
            return;
        }
        if (!effect) {
            effect = new QGraphicsDropShadowEffect;
            m_view->setGraphicsEffect(effect);
        }
        QColor color = *shadow;
        color.setAlphaF(color.alphaF() * std::clamp(shadowOpacity, 0.0f, 1.0f));
        effect->setColor(color);
        effect->setBlurRadius(shadowRadius * 2);
        // The offset is given with y up.
        effect->setOffset(shadowOffset.width(), -shadowOffset.height());
    }

    QWidget *m_view;
    bool m_mirroring = false;
};

Layer *layerOf(const QWidget *view)
{
    return view ? view->findChild<Layer *>(u"tessaly-layer"_s, Qt::FindDirectChildrenOnly) : nullptr;
}

Layer *backingLayer(QWidget *view)
{
    if (!view)
        return nullptr;
    if (Layer *layer = layerOf(view))
        return layer;
    return new Layer(view);
}

std::optional<QColor> colorFrom(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    const QColor color = value.value<QColor>();
    return color.isValid() ? std::optional(color) : std::nullopt;
}

QVariant variantOf(const std::optional<QColor> &color)
{
    return color ? QVariant(*color) : QVariant(QMetaType(QMetaType::QColor));
}

void Layer::adopt(QWidget *view, const QByteArray &name)
{
    const QVariant value = view->property(name.constData());
    if (name == backgroundColorName)
        setBackgroundColor(view, colorFrom(value));
    else if (name == borderColorName)
        setBorderColor(view, colorFrom(value));
    else if (name == borderWidthName)
        setBorderWidth(view, value.toDouble());
    else if (name == cornerRadiusName)
        setCornerRadius(view, value.toDouble());
    else if (name == shadowColorName)
        setShadowColor(view, colorFrom(value));
    else if (name == shadowOffsetName)
        setShadowOffset(view, value.toSizeF());
    else if (name == shadowOpacityName)
        setShadowOpacity(view, value.toFloat());
    else if (name == shadowRadiusName)
        setShadowRadius(view, value.toDouble());
}

// A reading from the layer, or the neutral value without one.
template<typename T>
T read(const QWidget *view, T Layer::*attribute, T neutral)
{
    const Layer *layer = layerOf(view);
    return layer ? layer->*attribute : neutral;
}

// A writing to the layer, which the widget gets first if it has none.
template<typename T>
void write(QWidget *view, T Layer::*attribute, const T &value, const char *name, const QVariant &mirrored)
{
    if (Layer *layer = backingLayer(view)) {
        layer->*attribute = value;
        layer->mirror(name, mirrored);
        layer->changed();
    }
}

} // namespace

bool isLayerBacked(const QWidget *view)
{
    return layerOf(view) != nullptr;
}

void makeLayerBacked(QWidget *view)
{
    backingLayer(view);
}

std::optional<QColor> backgroundColor(const QWidget *view)
{
    return read(view, &Layer::background, std::optional<QColor>());
}

void setBackgroundColor(QWidget *view, const std::optional<QColor> &color)
{
    write(view, &Layer::background, color, backgroundColorName, variantOf(color));
}

std::optional<QColor> borderColor(const QWidget *view)
{
    return read(view, &Layer::border, std::optional<QColor>());
}

void setBorderColor(QWidget *view, const std::optional<QColor> &color)
{
    write(view, &Layer::border, color, borderColorName, variantOf(color));
}

double borderWidth(const QWidget *view)
{
    return read(view, &Layer::borderWidth, 0.0);
}

void setBorderWidth(QWidget *view, double width)
{
    write(view, &Layer::borderWidth, width, borderWidthName, width);
}

double cornerRadius(const QWidget *view)
{
    return read(view, &Layer::cornerRadius, 0.0);
}

void setCornerRadius(QWidget *view, double radius)
{
    // A radius that is not a finite, reasonable number counts as none.
    const double hundredths = std::isfinite(radius) && std::abs(radius) < 1e15 ? std::trunc(radius * 100) : 0;
    const double stored = std::abs(hundredths / 100);
    // Content is clipped to the rounded corners.
    if (Layer *layer = backingLayer(view))
        layer->masksToBounds = true;
    write(view, &Layer::cornerRadius, stored, cornerRadiusName, stored);
}

bool masksToBounds(const QWidget *view)
{
    return read(view, &Layer::masksToBounds, false);
}

std::optional<QColor> shadowColor(const QWidget *view)
{
    return read(view, &Layer::shadow, std::optional<QColor>());
}

void setShadowColor(QWidget *view, const std::optional<QColor> &color)
{
    write(view, &Layer::shadow, color, shadowColorName, variantOf(color));
}

QSizeF shadowOffset(const QWidget *view)
{
    return read(view, &Layer::shadowOffset, QSizeF(0, 0));
}

void setShadowOffset(QWidget *view, QSizeF offset)
{
    write(view, &Layer::shadowOffset, offset, shadowOffsetName, offset);
}

float shadowOpacity(const QWidget *view)
{
    return read(view, &Layer::shadowOpacity, 0.0f);
}

void setShadowOpacity(QWidget *view, float opacity)
{
    write(view, &Layer::shadowOpacity, opacity, shadowOpacityName, opacity);
}

double shadowRadius(const QWidget *view)
{
    return read(view, &Layer::shadowRadius, 0.0);
}

void setShadowRadius(QWidget *view, double radius)
{
    write(view, &Layer::shadowRadius, radius, shadowRadiusName, radius);
}

void adoptDynamicProperties(QWidget *root)
{
    QList<QWidget *> views = root->findChildren<QWidget *>();
    views.prepend(root);
    for (QWidget *view : views) {
        for (const QByteArray &name : view->dynamicPropertyNames())
            Layer::adopt(view, name);
    }
}

} // namespace ViewStyling
