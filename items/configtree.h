#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>

// The flat, numbered two-column list of configuration items.
class ConfigTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit ConfigTree(QWidget *parent = nullptr);

    // Column 0 fits the widest name of all rows, also those far from the
    // visible ones. Each row is measured once, when it arrives, instead of
    // every row again whenever one is added.
    int sizeHintForColumn(int column) const override;
    // While painting is held nothing new is shown: laying out every row
    // again for each arriving one waits as well.
    void doItemsLayout() override;

    // Rows that arrive one by one (a slow line) go into the list at once, but
    // the list is painted at most every kRowPaintIntervalMs meanwhile; this
    // tells whether rows are waiting for that paint.
    static constexpr int kRowPaintIntervalMs = 100;
    bool isRowPaintHeld() const { return m_paintHold.isActive(); }
    // The list is complete: paint what waits now, not at the end of the interval.
    void showHeldRows();

protected:
    void changeEvent(QEvent *event) override;
    // Invalidate before the view reacts: it may ask for the width at once.
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void reset() override;
    bool viewportEvent(QEvent *event) override;

private:
    void forgetNameWidth() const;
    void holdPaintForRows();

    // Widest column 0 of the first m_measuredRows rows.
    mutable int m_nameWidth = -1;
    mutable int m_measuredRows = 0;
    QElapsedTimer m_sincePaint;
    QTimer m_paintHold;
    bool m_layoutHeld = false;
};
