#pragma once

#include <QLabel>

// A one-line label that fits any width: text too long for it ends in "…"
// and its tool tip shows the whole. text() stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    bool isElided() const;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
};
