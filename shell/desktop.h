#pragma once
// What the program sets up on the desktop before its first window: the
// window system's own texts (the buttons of the message boxes, the colour
// and file choosers) in Chinese, and the Japanese font tonefont.ttf of the
// program folder for the Japanese texts.

#include <string>

// Needs the application object. The program folder is GBK with its
// trailing separator. PrepareDesktop does both steps below; the program
// itself takes the font step only when the start window is up, as only the
// study window's texts use it.
void PrepareDesktop(const std::string& gbkProgramFolder);
void UseProgramJapaneseFont(const std::string& gbkProgramFolder);

// Loads the window system's Chinese translations (those installed with Qt);
// false when they are not installed, and the dialogs then keep the window
// system's own language.
bool LoadChineseTranslations();
