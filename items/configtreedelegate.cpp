#include "items/configtreedelegate.h"

namespace {

constexpr int kRowHeight = 30;

} // namespace

void ConfigTreeDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    plain.font.setPointSize(12);
    QItemDelegate::paint(painter, plain, index);
}

QSize ConfigTreeDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return QSize(QItemDelegate::sizeHint(option, index).width(), kRowHeight);
}
