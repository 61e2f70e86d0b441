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
    m_thread.reset(QThread::create([this] {
        run();
        // Hands the thread's last writes over through the mutex as well: a
        // race checker does not see into QThread::wait().
        const std::lock_guard<std::mutex> handOver(m_mutex);
    }));
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
    const std::lock_guard<std::mutex> handOver(m_mutex);
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

namespace {

void setUpLayout(QTextLayout &layout)
{
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    // Keeps the shaping of the line for the glyph runs.
    layout.setCacheEnabled(true);
}

} // namespace

void HistoryPdfLayout::run()
{
    // The fonts' own engines on this thread: texts shaped with them alone can
    // be drawn as glyphs; anything else (fallback fonts) is drawn as text.
    const QRawFont primary = QRawFont::fromFont(m_table.font);
    m_primary = &primary;
    QTextLayout textLayout(QString(), m_table.font);
    setUpLayout(textLayout);
    m_textLayout = &textLayout;
    const QRawFont numberPrimary = QRawFont::fromFont(m_table.numberFont);
    QTextLayout numberLayout(QString(), m_table.numberFont);
    setUpLayout(numberLayout);
    int next = 0;
    for (int p = 0; p < m_table.pages; ++p) {
        HistoryPdfPage page;
        for (int r = 0; r < m_table.rowsPerPage; ++r, ++next) {
            if (next < m_lines.size())
                layOutRow(page, r, m_lines.at(next));
        }
        if (m_table.numbered)
            layOutNumber(page, p + 1, numberLayout, numberPrimary);
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
    QVector<HistoryPdfPiece> &pieces = page.cells;
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
            pieces.append(std::move(piece));
            continue;
        }
        // Cells in a row of glyph cells join one run: less to write and
        // compress for the same page.
        if (pieces.isEmpty() || pieces.last().glyphs.isEmpty())
            pieces.append(HistoryPdfPiece());
        HistoryPdfPiece &piece = pieces.last();
        piece.glyphs += shaped.glyphs;
        for (const QPointF &position : shaped.positions)
            piece.positions.append(QPointF(start + position.x(), baseline + position.y()));
    }
}

void HistoryPdfLayout::layOutNumber(HistoryPdfPage &page, int number, QTextLayout &layout, const QRawFont &font) const
{
    const QString text = QStringLiteral("%1 / %2").arg(number).arg(m_table.pages);
    const Shaped shaped = shapeWith(layout, font, text);
    HistoryPdfPiece &piece = page.number;
    piece.origin = QPoint(m_table.left + (m_table.width - shaped.width) / 2, m_table.numberBaseline);
    if (shaped.glyphs.isEmpty()) {
        piece.text = text;
        return;
    }
    piece.glyphs = shaped.glyphs;
    for (const QPointF &position : shaped.positions)
        piece.positions.append(position + piece.origin);
}

const HistoryPdfLayout::Shaped &HistoryPdfLayout::shape(const QString &text)
{
    const auto known = m_shaped.constFind(text);
    if (known != m_shaped.constEnd())
        return *known;
    if (m_shaped.size() >= kShapedTexts)
        m_shaped.clear();
    return *m_shaped.insert(text, shapeWith(*m_textLayout, *m_primary, text));
}

HistoryPdfLayout::Shaped HistoryPdfLayout::shapeWith(QTextLayout &layout, const QRawFont &font, const QString &text)
{
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
        ownFont = ownFont && run.rawFont() == font;
    if (ownFont) {
        for (const QGlyphRun &run : runs) {
            shaped.glyphs += run.glyphIndexes();
            for (QPointF position : run.positions()) {
                position.ry() -= ascent;
                shaped.positions.append(position);
            }
        }
    }
    return shaped;
}
