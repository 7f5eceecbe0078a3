// A screenshot mode of the program for its documentation: after the start-up it shows
// each window and dialog in turn and saves the whole screen as PNG files into a folder,
// then ends. focaris-screens (main.cpp here) runs it; the window tests walk the same
// pictures.
#pragma once

#include <QString>

namespace focaris::gui {

class Program;

// Takes the pictures; returns the number of files written.
int TakeScreenshots(Program &program, const QString &folder);

} // namespace focaris::gui
