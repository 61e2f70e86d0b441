#include "items/configtree.h"

#include "items/configtreedelegate.h"

#include <QEvent>
#include <QHeaderView>

ConfigTree::ConfigTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setCursor(Qt::ArrowCursor);
    setRootIsDecorated(false);
    setAlternatingRowColors(true);
    setItemDelegate(new ConfigTreeDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The delegate gives every row the same height: no row has to be
    // measured to know where the others are.
    setUniformRowHeights(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColumnCount(2);
    setHeaderHidden(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    QFont treeFont = font();
    treeFont.setPointSize(12);
    setFont(treeFont);

    // Whatever else may have removed or reordered the widest name.
    const QAbstractItemModel *rows = model();
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &ConfigTree::forgetNameWidth);
    connect(rows, &QAbstractItemModel::rowsMoved, this, &ConfigTree::forgetNameWidth);
    connect(rows, &QAbstractItemModel::layoutChanged, this, &ConfigTree::forgetNameWidth);

    m_paintHold.setSingleShot(true);
    connect(&m_paintHold, &QTimer::timeout, this, &ConfigTree::showHeldRows);
}

int ConfigTree::sizeHintForColumn(int column) const
{
    if (column != 0)
        return QTreeWidget::sizeHintForColumn(column);
    ensurePolished();
    const int rowCount = topLevelItemCount();
    if (rowCount == 0)
        return -1;
    if (m_measuredRows > rowCount)
        forgetNameWidth();
    if (m_measuredRows < rowCount) {
        // The same measure the view takes of a row: the delegate's width plus
        // the indentation of a top-level row.
        const QStyleOptionViewItem option = viewOptions();
        const int indent = rootIsDecorated() ? indentation() : 0;
        const QAbstractItemModel *rows = model();
        for (int row = m_measuredRows; row < rowCount; ++row) {
            const QModelIndex index = rows->index(row, 0);
            m_nameWidth = qMax(m_nameWidth, itemDelegate(index)->sizeHint(option, index).width() + indent);
        }
        m_measuredRows = rowCount;
    }
    return m_nameWidth;
}

void ConfigTree::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        forgetNameWidth();
    QTreeWidget::changeEvent(event);
}

void ConfigTree::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    if (topLeft.column() == 0)
        forgetNameWidth();
    QTreeWidget::dataChanged(topLeft, bottomRight, roles);
}

void ConfigTree::rowsInserted(const QModelIndex &parent, int start, int end)
{
    // Rows appended at the end are measured when the width is next asked for.
    if (parent.isValid() || start < m_measuredRows)
        forgetNameWidth();
    holdPaintForRows();
    QTreeWidget::rowsInserted(parent, start, end);
}

void ConfigTree::holdPaintForRows()
{
    // Painting the visible rows costs far more than taking one row in. Rows
    // of one event-loop turn share a paint anyway; rows of later turns wait
    // until the interval since the last paint is over.
    if (m_paintHold.isActive() || !m_sincePaint.isValid() || !isVisible())
        return;
    const qint64 since = m_sincePaint.elapsed();
    if (since >= kRowPaintIntervalMs)
        return;
    setUpdatesEnabled(false);
    m_paintHold.start(int(kRowPaintIntervalMs - since));
}

void ConfigTree::doItemsLayout()
{
    if (m_paintHold.isActive()) {
        m_layoutHeld = true;
        return;
    }
    QTreeWidget::doItemsLayout();
}

void ConfigTree::showHeldRows()
{
    m_paintHold.stop();
    if (m_layoutHeld) {
        m_layoutHeld = false;
        scheduleDelayedItemsLayout();
    }
    setUpdatesEnabled(true);
}

bool ConfigTree::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Paint)
        m_sincePaint.start();
    return QTreeWidget::viewportEvent(event);
}

void ConfigTree::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    // A new list (refresh, import) shows its first rows at once.
    if (m_paintHold.isActive())
        showHeldRows();
    forgetNameWidth();
    QTreeWidget::rowsAboutToBeRemoved(parent, start, end);
}

void ConfigTree::reset()
{
    if (m_paintHold.isActive())
        showHeldRows();
    forgetNameWidth();
    QTreeWidget::reset();
}

void ConfigTree::forgetNameWidth() const
{
    m_nameWidth = -1;
    m_measuredRows = 0;
}
