#pragma once

#include <QString>

// Text that came from a meter, made inert where something interprets it.
// Control characters are C0 (U+0000..U+001F), DEL and C1 (U+0080..U+009F).

// Without control characters; a tab stays, and with keepLineEnds so do CR
// and LF (a history line's own end).
QString withoutControlCharacters(const QString &text, bool keepLineEnds = false);

// A cell a spreadsheet would run as a formula (it starts with = + - @, a
// tab or CR) gets a leading apostrophe, which shows as text.
QString spreadsheetSafe(const QString &text);

// For a terminal: every control character but the tab as an escape (\n, \r,
// \x1b, \u0085), except, with keepLineEnds, a line feed and a CR right
// before one.
QString escapedControlCharacters(const QString &text, bool keepLineEnds = false);
