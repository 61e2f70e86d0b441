#include "history/historypdflayout.h"

#include "history/historyexport.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QThread>

namespace {

// Pages laid out ahead of the painter; enough to ride over a slow page.
constexpr size_t kPagesAhead = 4;

} // namespace

HistoryPdfLayout::HistoryPdfLayout(const QStringList &lines, const HistoryPdfTable &table)
    : m_lines(lines)
    , m_table(table)
{
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

HistoryPdfLayout::~HistoryPdfLayout()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread->wait();
}

HistoryPdfPage HistoryPdfLayout::takePage()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_ready.empty(); });
    HistoryPdfPage page = std::move(m_ready.front());
    m_ready.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return page;
}

void HistoryPdfLayout::run()
{
    // The font's own engine on this thread: cells shaped with it alone can be
    // drawn as glyphs; anything else (fallback fonts) is drawn as text.
    const QRawFont primary = QRawFont::fromFont(m_table.font);
    int next = 0;
    for (int p = 0; p < m_table.pages; ++p) {
        HistoryPdfPage page;
        for (int r = 0; r < m_table.rowsPerPage; ++r, ++next) {
            if (next < m_lines.size())
                layOutRow(page, r, m_lines.at(next), primary);
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stop || m_ready.size() < kPagesAhead; });
        if (m_stop)
            return;
        m_ready.push_back(std::move(page));
        lock.unlock();
        m_changed.notify_all();
    }
}

void HistoryPdfLayout::layOutRow(HistoryPdfPage &page, int row, const QString &line, const QRawFont &primary) const
{
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);

    const QStringList cells = historyCells(line, m_table.columns);
    int x = m_table.left;
    for (int i = 0; i < m_table.columns && i < cells.size(); ++i) {
        const int width = i == 0 ? m_table.firstWidth : m_table.otherWidth;
        QTextLayout layout(cells.at(i), m_table.font);
        layout.setTextOption(option);
        // Keeps the shaping of the line for the glyph runs below.
        layout.setCacheEnabled(true);
        layout.beginLayout();
        const QTextLine textLine = layout.createLine();
        layout.endLayout();

        HistoryPdfCell cell;
        cell.row = row;
        // Centred; a text wider than its column spills over both edges.
        cell.x = x + (width - qRound(textLine.naturalTextWidth())) / 2;
        cell.text = cells.at(i);
        const qreal baseline = textLine.ascent();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        bool ownFont = !runs.isEmpty();
        for (const QGlyphRun &run : runs)
            ownFont = ownFont && run.rawFont() == primary;
        if (ownFont) {
            for (const QGlyphRun &run : runs) {
                cell.glyphs += run.glyphIndexes();
                for (QPointF position : run.positions()) {
                    position.ry() -= baseline;
                    cell.positions.append(position);
                }
            }
        }
        page.append(std::move(cell));
        x += width;
    }
}
