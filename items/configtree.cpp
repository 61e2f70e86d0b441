#include "items/configtree.h"

ConfigTree::ConfigTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(2);
    setHeaderHidden(true);
}
