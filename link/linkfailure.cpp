#include "link/linkfailure.h"

#include <QObject>

LinkFailure LinkFailure::of(Kind kind, const QString &message)
{
    LinkFailure failure;
    failure.kind = kind;
    failure.message = message;
    return failure;
}

QString LinkFailure::text() const
{
    if (kind != Kind::NotOpened && kind != Kind::TimedOut)
        return message;
    const QString check = kind == Kind::TimedOut ? QObject::tr("请检查电缆、端口和设备地址，并确认仪表已通电。")
                                                 : QObject::tr("请检查端口名称，以及端口是否被其他程序占用。");
    QString line = target;
    if (!reason.isEmpty())
        line += QStringLiteral(" (") + reason + QLatin1Char(')');
    return message + QLatin1Char('\n') + QObject::tr("%1: %2").arg(line, check);
}

QString LinkFailure::briefText() const
{
    return kind == Kind::NotOpened ? text() : message;
}

LinkFailure LinkFailure::saying(const QString &firstLine) const
{
    LinkFailure told = *this;
    told.message = firstLine;
    return told;
}

LinkFailure::Kind linkFailureKind(LinkResult result, const QByteArray &response)
{
    switch (result) {
    case LinkStopped:
        return LinkFailure::Kind::None;
    case LinkSendError:
    case LinkReceiveTimeout:
        return LinkFailure::Kind::TimedOut;
    case LinkOk:
        return linkErrorText(result, response).isEmpty() ? LinkFailure::Kind::None : LinkFailure::Kind::BadAnswer;
    }
    return LinkFailure::Kind::Other;
}
