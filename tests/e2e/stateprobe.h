#pragma once
// Linked only into lexilark_probe, the tests' build of the program: when
// LEXILARK_STATE_PROBE is set in the environment, the program answers
// requests on its standard input, one a line, so that a test driving it
// through the window system (real keys, a real input method) can read what
// the windows show:
//
//   state        one line of TAB-separated fields name=value: answer (the
//                answer box), composing (0/1), word (the word shown),
//                wordShown (0/1: painted in the font colour), comment and
//                commentVisible (the comment panel), marks (the answer set
//                against the word and the hints, as plain text, when
//                shown), message (the text of an
//                open message box, else empty), focus (object name of the
//                focused widget), active (the window that has the keyboard:
//                its object name, else its class, as QMessageBox)
//   where NAME   "x y": the screen centre of the visible widget named NAME,
//                or "none"
//
// Line breaks and TABs inside values are written as \n and \t.
void InstallStateProbe();
