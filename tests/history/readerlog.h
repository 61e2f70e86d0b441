#pragma once

#include "history/readthread.h"

#include <QObject>
#include <QStringList>

// Records what a ReadThread reports, in the order it arrives on the test's
// thread (queued, as in the dialog): "clear", "add:<line>" for each line of
// a signal (a signal may carry several), "error:<title>|<text>", and
// "finished" when the run has ended. `batches` keeps each signal's text.
class ReaderLog : public QObject
{
public:
    explicit ReaderLog(ReadThread &reader)
    {
        connect(&reader, &ReadThread::signalClearText, this, [this] { events << QStringLiteral("clear"); });
        connect(&reader, &ReadThread::signalAddText, this, [this](const QString &text) {
            batches << text;
            int start = 0;
            while (start < text.size()) {
                const int feed = text.indexOf(QLatin1Char('\n'), start);
                const int end = feed < 0 ? text.size() : feed + 1;
                events << QStringLiteral("add:") + text.mid(start, end - start);
                start = end;
            }
        });
        connect(&reader, &ReadThread::signalShowError, this, [this](const QString &title, const QString &error) {
            events << QStringLiteral("error:%1|%2").arg(title, error);
        });
        connect(&reader, &QThread::finished, this, [this] { events << QStringLiteral("finished"); });
    }

    bool finished() const { return events.contains(QStringLiteral("finished")); }
    QStringList events;
    QStringList batches;
};
