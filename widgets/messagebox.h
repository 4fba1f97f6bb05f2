#pragma once
// The program's message box: a modal QMessageBox with the fixed title,
// answering ShowAppMessage with the platform's button codes.

// Routes every ShowAppMessage to the message box (1 = OK, 6 = Yes, 7 = No).
void InstallMessageBoxSink();
