#pragma once

class QDialog;
class QLabel;

// What both About boxes do after building their forms: icon, no help button,
// fixed size, and the version text for the current language.
void finishAboutDialog(QDialog *dialog, QLabel *versionLabel);
