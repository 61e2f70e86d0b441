#pragma once

#include <QLineEdit>

class QTreeWidget;

// The line above the item list: rows whose shown number, name or value do
// not contain its text are hidden, the others keep their order. It changes
// what is shown only; every operation still acts on every row. Ctrl+F in
// the given scope focuses it, Escape clears it; rows that arrive later (a
// refresh) are filtered as they come.
class ItemFilterEdit : public QLineEdit
{
    Q_OBJECT

public:
    ItemFilterEdit(QTreeWidget *tree, QWidget *shortcutScope, QWidget *parent = nullptr);

    bool isFiltering() const { return !text().trimmed().isEmpty(); }
    int hiddenCount() const;
    int totalCount() const;

    void retranslate();

signals:
    // The rows shown changed: shown of total, and whether a filter is set.
    void signalShownChanged(int shown, int total, bool filtering);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyToRows(int first, int last);
    void applyToAll();

    QTreeWidget *m_tree;
};
