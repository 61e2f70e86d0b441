#pragma once

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

protected:
    void changeEvent(QEvent *event) override;
    // Invalidate before the view reacts: it may ask for the width at once.
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void reset() override;

private:
    void forgetNameWidth() const;

    // Widest column 0 of the first m_measuredRows rows.
    mutable int m_nameWidth = -1;
    mutable int m_measuredRows = 0;
};
