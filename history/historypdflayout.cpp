#include "history/historypdflayout.h"

#include "history/historyexport.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QThread>

namespace {

// Pages laid out ahead of the painter; enough to ride over a slow page.
constexpr size_t kPagesAhead = 4;
// Distinct texts remembered at a time; memory stays bounded on records that
// never repeat (time stamps, counters).
constexpr int kShapedTexts = 4096;

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
    m_primary = &primary;
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    QTextLayout textLayout(QString(), m_table.font);
    textLayout.setTextOption(option);
    // Keeps the shaping of the line for the glyph runs.
    textLayout.setCacheEnabled(true);
    m_textLayout = &textLayout;
    int next = 0;
    for (int p = 0; p < m_table.pages; ++p) {
        HistoryPdfPage page;
        for (int r = 0; r < m_table.rowsPerPage; ++r, ++next) {
            if (next < m_lines.size())
                layOutRow(page, r, m_lines.at(next));
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stop || m_ready.size() < kPagesAhead; });
        if (m_stop)
            break;
        m_ready.push_back(std::move(page));
        lock.unlock();
        m_changed.notify_all();
    }
    m_shaped.clear();
    m_textLayout = nullptr;
    m_primary = nullptr;
}

void HistoryPdfLayout::layOutRow(HistoryPdfPage &page, int row, const QString &line)
{
    const QStringList cells = historyCells(line, m_table.columns);
    const int baseline = m_table.top + row * m_table.rowHeight + m_table.baseline;
    int x = m_table.left;
    for (int i = 0; i < m_table.columns && i < cells.size(); ++i) {
        const int width = i == 0 ? m_table.firstWidth : m_table.otherWidth;
        const Shaped &shaped = shape(cells.at(i));
        // Centred; a text wider than its column spills over both edges.
        const int start = x + (width - shaped.width) / 2;
        x += width;
        if (shaped.glyphs.isEmpty()) {
            HistoryPdfPiece piece;
            piece.origin = QPoint(start, baseline);
            piece.text = cells.at(i);
            page.append(std::move(piece));
            continue;
        }
        // Cells in a row of glyph cells join one run: less to write and
        // compress for the same page.
        if (page.isEmpty() || page.last().glyphs.isEmpty())
            page.append(HistoryPdfPiece());
        HistoryPdfPiece &piece = page.last();
        piece.glyphs += shaped.glyphs;
        for (const QPointF &position : shaped.positions)
            piece.positions.append(QPointF(start + position.x(), baseline + position.y()));
    }
}

const HistoryPdfLayout::Shaped &HistoryPdfLayout::shape(const QString &text)
{
    const auto known = m_shaped.constFind(text);
    if (known != m_shaped.constEnd())
        return *known;
    if (m_shaped.size() >= kShapedTexts)
        m_shaped.clear();

    QTextLayout &layout = *m_textLayout;
    layout.setText(text);
    layout.beginLayout();
    const QTextLine textLine = layout.createLine();
    layout.endLayout();

    Shaped shaped;
    shaped.width = qRound(textLine.naturalTextWidth());
    const qreal ascent = textLine.ascent();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    bool ownFont = !runs.isEmpty();
    for (const QGlyphRun &run : runs)
        ownFont = ownFont && run.rawFont() == *m_primary;
    if (ownFont) {
        for (const QGlyphRun &run : runs) {
            shaped.glyphs += run.glyphIndexes();
            for (QPointF position : run.positions()) {
                position.ry() -= ascent;
                shaped.positions.append(position);
            }
        }
    }
    return *m_shaped.insert(text, shaped);
}
