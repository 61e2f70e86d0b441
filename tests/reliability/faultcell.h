#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// One cell of the fault matrix: an operation that talks to the instrument,
// run against the simulated meter over one line while one fault is injected.
struct FaultCell
{
    QString operation; // refresh write batch clock history monitor update
    QString fault; // none silence drop bad-crc other-address other-port wrong-length split disappear late
                   // duplicate flood copy
    QString line; // udp pty

    QString key() const { return operation + QLatin1Char('/') + fault + QLatin1Char('/') + line; }
    static FaultCell fromKey(const QString &key);
};

// What a cell reported from its own process.
struct CellReport
{
    QString outcome; // "ok" or the messages shown, joined by " | "
    QString detail; // counts for the log (items, lines, pages ...)
    qint64 elapsedMs = -1; // the operation, start to end
    qint64 cpuMs = -1; // CPU time of the process during the operation
    int threadsLeft = 0; // threads still alive afterwards beyond those before
    QStringList changedFiles; // files of the working folder that changed

    QJsonObject toJson() const;
    static CellReport fromJson(const QJsonObject &object);
};

QStringList faultMatrixOperations();
QStringList faultMatrixFaults();
// The simulator rules for the cell, separated by ';'; empty for no fault. *applicable is false
// for cells that make no sense (a UDP-only fault on the pty, a fault that only
// spoils address answers on an operation of tilde frames, a dropped answer in
// an operation of one exchange, which is the silence cell again).
QString faultRule(const FaultCell &cell, bool *applicable);

// Runs the cell in this process and returns what it saw.
CellReport runFaultCell(const FaultCell &cell);
