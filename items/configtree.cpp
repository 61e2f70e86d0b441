#include "items/configtree.h"

#include "items/configtreedelegate.h"

#include <QHeaderView>

ConfigTree::ConfigTree(QWidget* parent)
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
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColumnCount(2);
    setHeaderHidden(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    QFont treeFont = font();
    treeFont.setPointSize(12);
    setFont(treeFont);
}
