#include "link/linkerrorcontext.h"

#include "link/commsettings.h"
#include "link/devicechannel.h"

#include <QCoreApplication>

namespace {

enum class Failure { Other, TimedOut, NotOpened };

// The texts as the channel and the write slots give them, in the language
// shown and in the source language.
bool mentions(const QString &error, const char *context, const char *source)
{
    QString text = QCoreApplication::translate(context, source);
    QString original = QString::fromUtf8(source);
    // "打开串口失败: %1": the part before the port name.
    text = text.section(QStringLiteral("%1"), 0, 0);
    original = original.section(QStringLiteral("%1"), 0, 0);
    return error.contains(text) || error.contains(original);
}

Failure failureOf(const QString &error)
{
    const QString first = error.section(QLatin1Char('\n'), 0, 0);
    if (mentions(first, "QObject", "发送命令超时") || mentions(first, "QObject", "接受数据超时"))
        return Failure::TimedOut;
    if (mentions(first, "QObject", "打开串口失败: %1") || mentions(first, "QObject", "串口打开失败")
        || mentions(first, "MainWindow", "写入错误,连接设备失败"))
        return Failure::NotOpened;
    return Failure::Other;
}

} // namespace

QString withLinkContext(const QString &error, const QString &target, const QString &systemReason)
{
    const Failure failure = failureOf(error);
    // A worker may have told the context already, with the reason it saw.
    if (failure == Failure::Other || error.contains(QLatin1Char('\n')))
        return error;
    const QString check = failure == Failure::TimedOut ? QObject::tr("请检查电缆、端口和设备地址，并确认仪表已通电。")
                                                       : QObject::tr("请检查端口名称，以及端口是否被其他程序占用。");
    QString line = target;
    if (!systemReason.isEmpty())
        line += QStringLiteral(" (") + systemReason + QLatin1Char(')');
    return error + QLatin1Char('\n') + QObject::tr("%1: %2").arg(line, check);
}

QString withLinkContext(const QString &error, const DeviceChannel &channel)
{
    // A channel that was never opened falls back to the stored target.
    const QString target = channel.targetText();
    return withLinkContext(
        error, target.isEmpty() ? storedLinkSettings().targetText() : target, channel.systemReason());
}

QString withLinkContext(const QString &error)
{
    return withLinkContext(error, storedLinkSettings().targetText());
}
