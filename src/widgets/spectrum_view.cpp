#include "widgets/spectrum_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {
// Bars sink at most this fast between blocks (levels per second), so that the picture
// moves smoothly at a timer's pace; peak caps sink more slowly.
constexpr double BarFallPerSecond = 90;
constexpr double PeakFallPerSecond = 30;

void fallOff(std::vector<float> &now, const std::vector<float> &before, double drop)
{
    if (before.size() != now.size())
        return;
    for (size_t k = 0; k < now.size(); ++k)
        now[k] = std::max(now[k], float(before[k] - drop));
}

// What a screen reader learns of the view: a picture with a name and a short description.
// The picture changes many times a second, so it reports no values and sends no events.
class SpectrumViewAccessible : public QAccessibleWidget {
public:
    explicit SpectrumViewAccessible(SpectrumView *view) : QAccessibleWidget(view, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            const QString own = widget()->accessibleName();
            return own.isEmpty() ? SpectrumView::tr("Spectrum") : own;
        }
        case QAccessible::Description: {
            const QString own = widget()->accessibleDescription();
            return own.isEmpty()
                       ? SpectrumView::tr("The sound's frequencies as they are now: low on the left, high on the right")
                       : own;
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = false;
        s.focused = false;
        return s;
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(SpectrumView::staticMetaObject.className()))
        if (auto *view = qobject_cast<SpectrumView *>(object))
            return new SpectrumViewAccessible(view);
    return nullptr;
}
}  // namespace

SpectrumView::SpectrumView(QWidget *parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
    m_style = spectrum::SpectrumStyle::fromPalette(palette());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);   // nothing to operate: the keyboard passes it by
}

SpectrumView::~SpectrumView() = default;

QSize SpectrumView::sizeHint() const { return {360, 230}; }
QSize SpectrumView::minimumSizeHint() const { return {120, 80}; }

void SpectrumView::setStyleKind(Kind kind)
{
    if (kind == m_style.kind)
        return;
    m_style.kind = kind;
    update();
}

void SpectrumView::clearFrame()
{
    m_frame = {};
    m_sinceLastFrame.invalidate();
}

void SpectrumView::showFrame(spectrum::SpectrumFrame next)
{
    if (next.isEmpty()) {
        clearFrame();
        update();
        return;
    }
    const bool continues = m_sinceLastFrame.isValid() && next.size == m_frame.size
                           && next.sampleRate == m_frame.sampleRate && next.isStereo() == m_frame.isStereo();
    next.leftPeak = next.left;
    next.rightPeak = next.right;
    if (continues) {
        // A long gap (a paused feed) lets everything fall at once rather than crawl.
        const double dt = std::min<qint64>(m_sinceLastFrame.elapsed(), 1000) / 1000.0;
        fallOff(next.left, m_frame.left, BarFallPerSecond * dt);
        fallOff(next.right, m_frame.right, BarFallPerSecond * dt);
        fallOff(next.leftPeak, m_frame.leftPeak, PeakFallPerSecond * dt);
        fallOff(next.rightPeak, m_frame.rightPeak, PeakFallPerSecond * dt);
    }
    m_frame = std::move(next);
    m_sinceLastFrame.start();
    update();
}

void SpectrumView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    spectrum::renderSpectrum(p, rect(), m_frame, m_style);
}

void SpectrumView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange) {
        const spectrum::SpectrumStyle fresh = spectrum::SpectrumStyle::fromPalette(palette());
        if (!m_ownScaleColor)
            m_style.scaleColor = fresh.scaleColor;
        if (!m_ownTextColor)
            m_style.textColor = fresh.textColor;
        update();
    }
    QWidget::changeEvent(event);
}
