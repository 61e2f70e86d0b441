#pragma once

class QDateEdit;

// A date edit for whole days, shown as yyyy-MM-dd in every language, with a
// calendar to pick from. A date typed as it is shown ("2024-06-01") is the
// date taken: a separator typed where the edit has already moved on to the
// next part is not taken as a move to the part after that.
void setUpDayEdit(QDateEdit *edit);
