#include "items/itemfilteredit.h"

#include "items/itemcsv.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QTreeWidget>

ItemFilterEdit::ItemFilterEdit(QTreeWidget *tree, QWidget *shortcutScope, QWidget *parent)
    : QLineEdit(parent)
    , m_tree(tree)
{
    setObjectName(QStringLiteral("itemFilter"));
    setClearButtonEnabled(true);
    retranslate();
    auto *find = new QShortcut(QKeySequence::Find, shortcutScope);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        setFocus(Qt::ShortcutFocusReason);
        selectAll();
    });
    connect(this, &QLineEdit::textChanged, this, &ItemFilterEdit::applyToAll);
    QAbstractItemModel *rows = m_tree->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &parentIndex, int first, int last) {
        if (!parentIndex.isValid())
            applyToRows(first, last);
    });
    connect(rows, &QAbstractItemModel::rowsRemoved, this,
        [this] { emit signalShownChanged(totalCount() - hiddenCount(), totalCount(), isFiltering()); });
    connect(rows, &QAbstractItemModel::modelReset, this, &ItemFilterEdit::applyToAll);
    // A value written or read anew may make a row fit the filter, or not.
    connect(rows, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
            if (!topLeft.parent().isValid())
                applyToRows(topLeft.row(), bottomRight.row());
        });
}

void ItemFilterEdit::retranslate()
{
    setPlaceholderText(tr("筛选 (Ctrl+F)"));
}

int ItemFilterEdit::hiddenCount() const
{
    int hidden = 0;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        hidden += m_tree->topLevelItem(i)->isHidden() ? 1 : 0;
    return hidden;
}

int ItemFilterEdit::totalCount() const
{
    return m_tree->topLevelItemCount();
}

void ItemFilterEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ItemFilterEdit::applyToRows(int first, int last)
{
    const QString wanted = text();
    for (int i = first; i <= last && i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_tree->topLevelItem(i);
        const bool shown = !isFiltering()
            || itemRowContains({ row->data(0, Qt::UserRole).toInt(), row->text(0), row->text(1) }, wanted);
        if (row->isHidden() == shown)
            row->setHidden(!shown);
    }
    emit signalShownChanged(totalCount() - hiddenCount(), totalCount(), isFiltering());
}

void ItemFilterEdit::applyToAll()
{
    applyToRows(0, m_tree->topLevelItemCount() - 1);
}
