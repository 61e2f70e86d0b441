#pragma once

#include <QFont>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class QRawFont;
class QThread;

// One cell of the PDF table, ready to draw: where its text starts and, when
// the table's own font holds every glyph, the shaped glyphs with their
// positions relative to that start on the baseline.
struct HistoryPdfCell
{
    int row = 0; // on its page
    int x = 0;
    QString text;
    QVector<quint32> glyphs; // empty: draw the text itself
    QVector<QPointF> positions;
};
using HistoryPdfPage = QVector<HistoryPdfCell>;

// The table's geometry as far as the cells need it.
struct HistoryPdfTable
{
    int columns = 0;
    int rowsPerPage = 0;
    int pages = 0;
    int left = 0;
    int firstWidth = 0;
    int otherWidth = 0;
    QFont font; // the painter's, resolved for the writer
};

// Splits, measures and shapes the cells of the table on a thread of its own,
// a few pages ahead of the painter, so that drawing a page costs no text
// shaping. Only plain data leaves that thread: its fonts stay there.
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
    void run();
    void layOutRow(HistoryPdfPage &page, int row, const QString &line, const QRawFont &primary) const;

    const QStringList m_lines;
    const HistoryPdfTable m_table;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<HistoryPdfPage> m_ready;
    bool m_stop = false;
    std::unique_ptr<QThread> m_thread;
};
