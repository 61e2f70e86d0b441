#pragma once

#include <QFont>
#include <QHash>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class QRawFont;
class QTextLayout;
class QThread;

// One piece of a page in drawing order: glyphs at their places on the page
// (of one or more cells, or of the page number), or a text that needs other
// fonts and is drawn as text.
struct HistoryPdfPiece
{
    QVector<quint32> glyphs; // empty: draw `text` at `origin`
    QVector<QPointF> positions;
    QPoint origin; // start of the text on its baseline
    QString text;
};

struct HistoryPdfPage
{
    QVector<HistoryPdfPiece> cells; // in the table's font
    HistoryPdfPiece number; // in the page number's font; empty: none
};

// The table's geometry as far as the cells need it.
struct HistoryPdfTable
{
    int columns = 0;
    int rowsPerPage = 0;
    int pages = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int rowHeight = 0;
    int baseline = 0; // from the top of a row
    int firstWidth = 0;
    int otherWidth = 0;
    QFont font; // the painter's, resolved for the writer
    // "n / m" centred under the table on this baseline, where the margin has
    // room for it.
    bool numbered = false;
    int numberBaseline = 0;
    QFont numberFont; // resolved for the writer
};

// Splits, measures and shapes the cells of the table on a thread of its own,
// a few pages ahead of the painter, so that drawing a page costs no text
// shaping and no glyph placing. Only plain data leaves that thread: its fonts
// stay there.
class HistoryPdfLayout
{
public:
    HistoryPdfLayout(const QStringList &lines, const HistoryPdfTable &table);
    // Stops the thread and waits for it.
    ~HistoryPdfLayout();

    HistoryPdfLayout(const HistoryPdfLayout &) = delete;
    HistoryPdfLayout &operator=(const HistoryPdfLayout &) = delete;

    // The next page in order; blocks until it is ready.
    HistoryPdfPage takePage();

private:
    // A cell's text as the table's font lays it out, glyph positions
    // relative to the start of its baseline.
    struct Shaped
    {
        QVector<quint32> glyphs; // empty: not all in the table's own font
        QVector<QPointF> positions;
        int width = 0;
    };

    void run();
    void layOutRow(HistoryPdfPage &page, int row, const QString &line);
    void layOutNumber(HistoryPdfPage &page, int number, QTextLayout &layout, const QRawFont &font) const;
    const Shaped &shape(const QString &text);
    static Shaped shapeWith(QTextLayout &layout, const QRawFont &font, const QString &text);

    const QStringList m_lines;
    const HistoryPdfTable m_table;
    // Used on the layout thread only. Values repeat down a column (readings,
    // units, states), so each distinct text is shaped once.
    QHash<QString, Shaped> m_shaped;
    const QRawFont *m_primary = nullptr; // the table's font on the layout thread
    QTextLayout *m_textLayout = nullptr; // used for every text, on that thread
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<HistoryPdfPage> m_ready;
    bool m_stop = false;
    std::unique_ptr<QThread> m_thread;
};
