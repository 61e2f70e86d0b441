#pragma once

#include "history/historymarks.h"
#include "history/historyseries.h"

#include <QPoint>
#include <QVector>
#include <QWidget>

class QLabel;
class QPainter;
class QRubberBand;
class QVBoxLayout;
class QwtPlot;
class QwtPlotCurve;
class QwtPlotMarker;

// The history readings against time: one plot per unit (stacked, sharing
// the time axis), one curve per quantity, the meter's writes as vertical
// marks. Wheel zooms around the pointer, dragging pans, dragging with the
// right button (or Ctrl) zooms to the band, a double click shows all. The
// pointer reads the nearest point; over a mark, its text. Curves show a
// decimated copy of the points; every number comes from all of them.
class HistoryChart : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryChart(QWidget *parent = nullptr);
    ~HistoryChart() override;

    // Series in time order; marks of the meter's writes.
    void setData(const QVector<HistorySeries> &series, const QVector<HistoryMark> &marks);
    void clear();

    const QVector<HistorySeries> &series() const { return m_series; }
    const QVector<HistoryMark> &marks() const { return m_marks; }
    int plotCount() const { return m_groups.size(); }
    QwtPlot *plot(int index) const;
    // Points the curve of `seriesIndex` draws now.
    int drawnPoints(int seriesIndex) const;
    double viewFrom() const { return m_from; }
    double viewTo() const { return m_to; }
    void setView(double from, double to);
    void resetView();
    QString cursorText() const { return m_cursorText; }

    // Draws the plots stacked into rect, decimated for its width.
    void render(QPainter &painter, const QRectF &rect);

signals:
    void viewChanged();
    void cursorTextChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Group
    {
        QString unit;
        QwtPlot *plot = nullptr;
        QVector<int> series;
        QVector<QwtPlotCurve *> curves;
        QwtPlotMarker *cursor = nullptr;
    };

    void rebuild();
    void deletePlots();
    void refreshSamples(int buckets = 0);
    void alignAxes();
    int groupOfCanvas(const QObject *canvas) const;
    void hover(int group, const QPoint &pos, const QPoint &globalPos);
    void setCursorText(const QString &text);

    QVector<HistorySeries> m_series;
    QVector<HistoryMark> m_marks;
    QVector<Group> m_groups;
    QVBoxLayout *m_plots;
    QLabel *m_empty;
    double m_fullFrom = 0;
    double m_fullTo = 1;
    double m_from = 0;
    double m_to = 1;
    QString m_cursorText;

    enum class Drag { None, Pan, Band };
    Drag m_drag = Drag::None;
    int m_dragGroup = -1;
    QPoint m_dragStart;
    double m_dragFrom = 0;
    double m_dragTo = 0;
    QRubberBand *m_band = nullptr;
};
