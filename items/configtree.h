#pragma once

#include <QTreeWidget>

// The flat, numbered two-column list of configuration items.
class ConfigTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit ConfigTree(QWidget* parent = nullptr);
};
