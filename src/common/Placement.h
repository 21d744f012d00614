// Where modal windows appear.
#pragma once

class QWidget;

namespace korv {

// Moves a window of fixed size to the middle of the primary screen.
void centreOnDesktop(QWidget *window);

}  // namespace korv
