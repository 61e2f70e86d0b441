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
    // Where the cut goes; a message ending in a path keeps its file name
    // with Qt::ElideMiddle.
    void setElideMode(Qt::TextElideMode mode);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
};
