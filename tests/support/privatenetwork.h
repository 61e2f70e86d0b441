#pragma once

#include <QApplication>
#include <QString>
#include <QtTest>

// Moves the process into a network namespace of its own with only the
// loopback up, so a search cannot reach a real interface. Call it before
// any thread starts. Empty on success, otherwise why it could not be had
// (unshare needs root).
QString enterPrivateNetwork();

// QTEST_MAIN for suites that press Search: they run in a private network
// when the system allows it; elsewhere their route override still keeps
// every datagram on the loopback.
#define VEXA_TEST_MAIN_IN_PRIVATE_NETWORK(TestObject)                                                                  \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        enterPrivateNetwork();                                                                                         \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject test;                                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
