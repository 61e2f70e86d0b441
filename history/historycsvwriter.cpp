#include "history/historycsvwriter.h"

#include "base/metertext.h"

#include <QTextCodec>

HistoryCsvWriter::HistoryCsvWriter()
    : m_codec(QTextCodec::codecForLocale())
{
}

bool HistoryCsvWriter::open(const QString &path)
{
    return m_file.open(path, OutputFile::Mode::Replace, OutputFile::Name::Chosen);
}

bool HistoryCsvWriter::write(const QString &text)
{
    // Text mode on this system keeps line ends as they are.
    return m_file.write(m_codec->fromUnicode(withoutControlCharacters(text, true)));
}

bool HistoryCsvWriter::close()
{
    return m_file.close();
}
