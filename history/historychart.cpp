#include "history/historychart.h"

#include <QDateTime>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_textlabel.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_renderer.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>
#include <qwt_symbol.h>
#include <qwt_text.h>

#include <cmath>

namespace {

// Never narrower than a second: below that the time axis has no labels.
constexpr double kMinViewMs = 1000;
// A mark is under the pointer within this many pixels.
constexpr int kMarkReachPx = 5;
constexpr double kWheelZoom = 0.8;

QColor seriesColor(int index)
{
    static const QColor kColors[] = { QColor(31, 119, 180), QColor(214, 39, 40), QColor(44, 160, 44),
        QColor(255, 127, 14), QColor(148, 103, 189), QColor(140, 86, 75), QColor(227, 119, 194), QColor(23, 190, 207) };
    return kColors[index % int(sizeof(kColors) / sizeof(kColors[0]))];
}

QString timeText(double msecs)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs), Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString valueText(double value)
{
    return QString::number(value, 'g', 10);
}

QwtDateScaleDraw *timeScaleDraw()
{
    auto *draw = new QwtDateScaleDraw(Qt::UTC);
    draw->setDateFormat(QwtDate::Second, QStringLiteral("HH:mm:ss"));
    // Two lines: the labels stay narrow enough not to run into each other.
    draw->setDateFormat(QwtDate::Minute, QStringLiteral("MM-dd\nHH:mm"));
    draw->setDateFormat(QwtDate::Hour, QStringLiteral("MM-dd\nHH:mm"));
    draw->setDateFormat(QwtDate::Day, QStringLiteral("yyyy-MM-dd"));
    draw->setDateFormat(QwtDate::Week, QStringLiteral("yyyy-MM-dd"));
    draw->setDateFormat(QwtDate::Month, QStringLiteral("yyyy-MM"));
    return draw;
}

} // namespace

HistoryChart::HistoryChart(QWidget *parent)
    : QWidget(parent)
    , m_plots(new QVBoxLayout(this))
    , m_empty(new QLabel(this))
{
    m_plots->setContentsMargins(0, 0, 0, 0);
    m_plots->setSpacing(0);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setText(tr("没有可绘制的数据"));
    m_plots->addWidget(m_empty);
}

HistoryChart::~HistoryChart()
{
    deletePlots();
}

void HistoryChart::deletePlots()
{
    // A canvas being destroyed still sends events through the filter: the
    // groups are gone first, and the filter with them.
    const QVector<Group> groups = m_groups;
    m_groups.clear();
    for (const Group &group : groups) {
        group.plot->canvas()->removeEventFilter(this);
        delete group.plot;
    }
}

QwtPlot *HistoryChart::plot(int index) const
{
    return m_groups.value(index).plot;
}

int HistoryChart::drawnPoints(int seriesIndex) const
{
    for (const Group &group : m_groups) {
        const int at = group.series.indexOf(seriesIndex);
        if (at >= 0)
            return int(group.curves.at(at)->dataSize());
    }
    return 0;
}

void HistoryChart::clear()
{
    setData({}, {});
}

void HistoryChart::setData(const QVector<HistorySeries> &series, const QVector<HistoryMark> &marks)
{
    m_series = series;
    m_marks = marks;
    rebuild();
}

void HistoryChart::rebuild()
{
    deletePlots();
    setCursorText(QString());

    bool any = false;
    for (const HistorySeries &series : qAsConst(m_series)) {
        if (series.times.isEmpty())
            continue;
        m_fullFrom = any ? qMin(m_fullFrom, series.times.first()) : series.times.first();
        m_fullTo = any ? qMax(m_fullTo, series.times.last()) : series.times.last();
        any = true;
    }
    m_empty->setVisible(!any);
    if (!any)
        return;
    for (const HistoryMark &mark : qAsConst(m_marks)) {
        m_fullFrom = qMin(m_fullFrom, mark.time);
        m_fullTo = qMax(m_fullTo, mark.time);
    }
    if (m_fullTo - m_fullFrom < kMinViewMs) {
        m_fullFrom -= kMinViewMs / 2;
        m_fullTo += kMinViewMs / 2;
    }

    for (int i = 0; i < m_series.size(); ++i) {
        if (m_series.at(i).times.isEmpty())
            continue;
        int group = 0;
        while (group < m_groups.size() && m_groups.at(group).unit != m_series.at(i).unit)
            ++group;
        if (group == m_groups.size()) {
            Group added;
            added.unit = m_series.at(i).unit;
            m_groups.append(added);
        }
        m_groups[group].series.append(i);
    }

    for (int g = 0; g < m_groups.size(); ++g) {
        Group &group = m_groups[g];
        auto *plot = new QwtPlot(this);
        group.plot = plot;
        // Several plots must still fit the dialog's first size.
        plot->setMinimumSize(120, 70);
        plot->setAxisMaxMajor(QwtPlot::xBottom, 6);
        plot->setObjectName(QStringLiteral("historyPlot%1").arg(g));
        plot->setCanvasBackground(Qt::white);
        plot->setAxisScaleDraw(QwtPlot::xBottom, timeScaleDraw());
        plot->setAxisScaleEngine(QwtPlot::xBottom, new QwtDateScaleEngine(Qt::UTC));
        // One time axis under the last plot; the others share it.
        plot->enableAxis(QwtPlot::xBottom, g == m_groups.size() - 1);
        plot->setAxisMaxMajor(QwtPlot::yLeft, 4);
        plot->setAxisMaxMinor(QwtPlot::yLeft, 2);
        // One curve: its name (or else the unit) written across the top of
        // the canvas, where a short plot cannot clip it as a turned axis title.
        const bool single = group.series.size() == 1;
        const QString caption = single ? m_series.at(group.series.first()).label() : group.unit;
        if (!caption.isEmpty()) {
            QwtText text(caption);
            text.setRenderFlags(Qt::AlignLeft | Qt::AlignTop);
            text.setColor(single ? seriesColor(group.series.first()).darker(130) : QColor(Qt::black));
            text.setBackgroundBrush(QColor(255, 255, 255, 200));
            auto *label = new QwtPlotTextLabel;
            label->setText(text);
            label->setMargin(2);
            label->attach(plot);
        }
        auto *grid = new QwtPlotGrid;
        grid->setMajorPen(QColor(220, 220, 220), 0, Qt::DotLine);
        grid->attach(plot);
        for (const HistoryMark &mark : qAsConst(m_marks)) {
            auto *line = new QwtPlotMarker;
            line->setLineStyle(QwtPlotMarker::VLine);
            line->setLinePen(QColor(230, 120, 0), 0, Qt::DashLine);
            line->setXValue(mark.time);
            line->attach(plot);
        }
        for (int index : qAsConst(group.series)) {
            auto *curve = new QwtPlotCurve(m_series.at(index).label());
            curve->setPen(seriesColor(index), 1.5);
            curve->setRenderHint(QwtPlotItem::RenderAntialiased);
            curve->attach(plot);
            group.curves.append(curve);
        }
        group.cursor = new QwtPlotMarker;
        group.cursor->setSymbol(
            new QwtSymbol(QwtSymbol::Ellipse, QBrush(Qt::NoBrush), QPen(Qt::black, 1.5), QSize(9, 9)));
        group.cursor->setVisible(false);
        group.cursor->attach(plot);
        if (!single)
            plot->insertLegend(new QwtLegend, QwtPlot::TopLegend);
        plot->canvas()->installEventFilter(this);
        plot->canvas()->setMouseTracking(true);
        plot->canvas()->setCursor(Qt::CrossCursor);
        m_plots->addWidget(plot, 1);
    }
    m_from = m_fullFrom;
    m_to = m_fullTo;
    refreshSamples();
}

void HistoryChart::resetView()
{
    setView(m_fullFrom, m_fullTo);
}

void HistoryChart::setView(double from, double to)
{
    if (m_groups.isEmpty())
        return;
    if (to - from < kMinViewMs) {
        const double middle = (from + to) / 2;
        from = middle - kMinViewMs / 2;
        to = middle + kMinViewMs / 2;
    }
    m_from = from;
    m_to = to;
    refreshSamples();
}

void HistoryChart::refreshSamples(int buckets)
{
    for (Group &group : m_groups) {
        const int columns = buckets > 0 ? buckets : qMax(100, group.plot->canvas()->width());
        bool any = false;
        double low = 0;
        double high = 0;
        for (int k = 0; k < group.series.size(); ++k) {
            const HistorySeries &series = m_series.at(group.series.at(k));
            group.curves.at(k)->setSamples(decimatedPoints(series, m_from, m_to, columns));
            const HistorySeriesStats stats = seriesStats(series, m_from, m_to);
            if (stats.count == 0)
                continue;
            low = any ? qMin(low, stats.min) : stats.min;
            high = any ? qMax(high, stats.max) : stats.max;
            any = true;
        }
        if (!any) {
            low = 0;
            high = 1;
        }
        const double pad = high > low ? (high - low) * 0.05 : qMax(1.0, std::abs(high) * 0.05);
        group.plot->setAxisScale(QwtPlot::yLeft, low - pad, high + pad);
        group.plot->setAxisScale(QwtPlot::xBottom, m_from, m_to);
    }
    alignAxes();
    for (Group &group : m_groups)
        group.plot->replot();
    emit viewChanged();
}

void HistoryChart::alignAxes()
{
    // Canvases one above the other only line up when their value axes are
    // equally wide.
    double extent = 0;
    for (const Group &group : qAsConst(m_groups)) {
        group.plot->updateAxes();
        QwtScaleWidget *axis = group.plot->axisWidget(QwtPlot::yLeft);
        axis->scaleDraw()->setMinimumExtent(0);
        extent = qMax(extent, axis->scaleDraw()->extent(axis->font()));
    }
    for (const Group &group : qAsConst(m_groups))
        group.plot->axisWidget(QwtPlot::yLeft)->scaleDraw()->setMinimumExtent(extent);
}

int HistoryChart::groupOfCanvas(const QObject *canvas) const
{
    for (int g = 0; g < m_groups.size(); ++g) {
        if (m_groups.at(g).plot && m_groups.at(g).plot->canvas() == canvas)
            return g;
    }
    return -1;
}

bool HistoryChart::eventFilter(QObject *watched, QEvent *event)
{
    const int g = groupOfCanvas(watched);
    if (g < 0)
        return QWidget::eventFilter(watched, event);
    QWidget *canvas = m_groups.at(g).plot->canvas();
    const double width = qMax(1, canvas->width());
    QwtPlot *plot = m_groups.at(g).plot;
    switch (event->type()) {
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        const double at = plot->invTransform(QwtPlot::xBottom, wheel->position().x());
        const double factor = wheel->angleDelta().y() > 0 ? kWheelZoom : 1 / kWheelZoom;
        if (wheel->angleDelta().y() != 0)
            setView(at - (at - m_from) * factor, at + (m_to - at) * factor);
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_dragGroup = g;
        m_dragStart = mouse->pos();
        m_dragFrom = m_from;
        m_dragTo = m_to;
        const bool band = mouse->button() == Qt::RightButton
            || (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier));
        if (band) {
            m_drag = Drag::Band;
            delete m_band;
            m_band = new QRubberBand(QRubberBand::Rectangle, canvas);
            m_band->setGeometry(QRect(m_dragStart, QSize()));
            m_band->show();
        } else if (mouse->button() == Qt::LeftButton) {
            m_drag = Drag::Pan;
            canvas->setCursor(Qt::ClosedHandCursor);
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_drag == Drag::Pan && m_dragGroup == g) {
            const double shift = -(mouse->pos().x() - m_dragStart.x()) / width * (m_dragTo - m_dragFrom);
            setView(m_dragFrom + shift, m_dragTo + shift);
        } else if (m_drag == Drag::Band && m_band) {
            m_band->setGeometry(QRect(m_dragStart, mouse->pos()).normalized());
        } else {
            hover(g, mouse->pos(), mouse->globalPos());
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_drag == Drag::Band && m_band) {
            const int left = qMin(m_dragStart.x(), mouse->pos().x());
            const int right = qMax(m_dragStart.x(), mouse->pos().x());
            m_band->deleteLater();
            m_band = nullptr;
            if (right - left >= 4)
                setView(plot->invTransform(QwtPlot::xBottom, left), plot->invTransform(QwtPlot::xBottom, right));
        }
        m_drag = Drag::None;
        canvas->setCursor(Qt::CrossCursor);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        m_drag = Drag::None;
        resetView();
        return true;
    case QEvent::Leave:
        for (Group &group : m_groups) {
            group.cursor->setVisible(false);
            group.plot->replot();
        }
        return false;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void HistoryChart::hover(int g, const QPoint &pos, const QPoint &globalPos)
{
    Group &group = m_groups[g];
    QwtPlot *plot = group.plot;
    for (const HistoryMark &mark : qAsConst(m_marks)) {
        if (std::abs(plot->transform(QwtPlot::xBottom, mark.time) - pos.x()) <= kMarkReachPx) {
            group.cursor->setVisible(false);
            plot->replot();
            const QString text = timeText(mark.time) + QStringLiteral("  ") + mark.text;
            setCursorText(text);
            QToolTip::showText(globalPos, text, plot->canvas());
            return;
        }
    }
    QToolTip::hideText();
    const double at = plot->invTransform(QwtPlot::xBottom, pos.x());
    int bestSeries = -1;
    int bestPoint = -1;
    double bestDistance = 0;
    for (int index : qAsConst(group.series)) {
        const HistorySeries &series = m_series.at(index);
        const int point = nearestPoint(series, at);
        if (point < 0)
            continue;
        const double dx = plot->transform(QwtPlot::xBottom, series.times.at(point)) - pos.x();
        const double dy = plot->transform(QwtPlot::yLeft, series.values.at(point)) - pos.y();
        const double distance = dx * dx + dy * dy;
        if (bestSeries < 0 || distance < bestDistance) {
            bestSeries = index;
            bestPoint = point;
            bestDistance = distance;
        }
    }
    if (bestSeries < 0)
        return;
    const HistorySeries &series = m_series.at(bestSeries);
    group.cursor->setValue(series.times.at(bestPoint), series.values.at(bestPoint));
    group.cursor->setVisible(true);
    plot->replot();
    setCursorText(
        QStringLiteral("%1  %2: %3 %4")
            .arg(timeText(series.times.at(bestPoint)), series.name, valueText(series.values.at(bestPoint)), series.unit)
            .trimmed());
}

void HistoryChart::setCursorText(const QString &text)
{
    if (text == m_cursorText)
        return;
    m_cursorText = text;
    emit cursorTextChanged(text);
}

void HistoryChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Decimation follows the canvas width.
    if (!m_groups.isEmpty())
        refreshSamples();
}

void HistoryChart::render(QPainter &painter, const QRectF &rect)
{
    if (m_groups.isEmpty()) {
        painter.drawText(rect, Qt::AlignCenter, m_empty->text());
        return;
    }
    for (Group &group : m_groups)
        group.cursor->setVisible(false);
    // Enough points for the page's own resolution, never the whole data.
    refreshSamples(qBound(200, int(rect.width()), 4000));
    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasBackground, false);
    renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales);
    const double height = rect.height() / m_groups.size();
    for (int g = 0; g < m_groups.size(); ++g)
        renderer.render(
            m_groups.at(g).plot, &painter, QRectF(rect.left(), rect.top() + g * height, rect.width(), height));
    refreshSamples();
}
