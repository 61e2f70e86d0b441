#pragma once

#include <QString>

// Most GB2312 bytes a value of the named item may have: what a write frame
// carries, and what the answer can carry back, whose one length byte also
// counts the name and the colon. An empty name: the write frame's limit only.
int maxItemValueBytes(const QString &name);

// Whether the text has a GB2312 form proper: ASCII, or two bytes each in
// A1..FE, decoding back to the same text. The codec also maps a few other
// characters (GBK bytes) that the meter would store as something else.
bool isGb2312Text(const QString &text);

// Empty when the value can be written to the item; otherwise why it cannot
// (context "MainWindow"). Nothing is sent for such a value.
QString itemValueProblem(const QString &name, const QString &value);
