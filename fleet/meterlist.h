#pragma once

#include "link/commsettings.h"

#include <QString>
#include <QVector>

// One line of a meters file. A meter the program can reach has a name and its
// connection; a line it cannot read keeps its text and says why, so saving
// the file never drops it; blank lines and comments are kept as they are.
struct MeterEntry
{
    enum Kind { Meter, Unreadable, Comment };
    Kind kind = Meter;
    int line = 0; // in the file as read; 0 for a meter added since
    QString name;
    LinkSettings link;
    QByteArray raw; // the line as the file holds it, written back as it is
    QString text; // the same for people
    QString problem; // why an unreadable line cannot be used
};

// A fleet: one meter a line, "NAME,URI" (see targeturi.h); blank lines and
// lines starting with # are skipped. Names are plain file names (they name
// each meter's output file) and unique; a later duplicate is refused.
class MeterList
{
public:
    static constexpr int kMaxLineBytes = 4096;
    static constexpr int kMaxMeters = 4096;
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

    enum ReadStatus { Read, Missing, Failed };
    // Empty list and Missing when there is no file; Failed (with the message)
    // when it cannot be read or is too large to be a meters file.
    ReadStatus read(const QString &path, QString *error = nullptr);
    void parse(const QByteArray &bytes);

    const QVector<MeterEntry> &entries() const { return m_entries; }
    QVector<MeterEntry> meters() const;
    // "path 第N行: reason" for each unreadable line.
    QStringList problems(const QString &path) const;
    int indexOf(const QString &name) const;

    // Why this name cannot be given to a meter; empty when it can.
    QString nameProblem(const QString &name) const;
    // Adds a meter; false (and the reason) when its name is taken or not plain.
    bool add(const QString &name, const LinkSettings &link, QString *problem = nullptr);
    void removeAt(int entryIndex);

    QByteArray toBytes() const;
    // Atomically: the old file stays whole if writing fails.
    bool save(const QString &path, QString *error = nullptr) const;

private:
    MeterEntry readLine(int lineNumber, const QByteArray &bytes, int meters) const;

    QVector<MeterEntry> m_entries;
};
