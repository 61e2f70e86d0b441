#pragma once

#include "base/outputfile.h"

#include <QString>

class QTextCodec;

// Writes history text to a CSV file as it comes: through the locale's codec,
// line ends as they are, control characters other than line ends dropped
// (escape sequences, NUL). Only a regular file is written (OutputFile); every
// write is checked.
class HistoryCsvWriter
{
public:
    HistoryCsvWriter();

    // Replaces the file. False with errorText() when it cannot be opened.
    bool open(const QString &path);
    bool write(const QString &text);
    bool close();
    bool isOpen() const { return m_file.isOpen(); }
    // The system's reason, or why the target was refused.
    QString errorText() const { return m_file.errorText(); }

private:
    OutputFile m_file;
    QTextCodec *m_codec;
};
