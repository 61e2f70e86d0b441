#pragma once

class QDialog;

// What the search worker knows of its dialog; the worker itself only reports
// through its signals.
class SearchDeviceDialogInterf
{
public:
    virtual ~SearchDeviceDialogInterf() = default;
    virtual QDialog *dialog() = 0;
};
