// Enter and Return press the focused button, in every window of the program.
#pragma once

namespace korv {

// Installs one application-wide key filter: Enter or Return on a focused push or tool button
// clicks it, as Space does. Installing again is harmless; the filter lives with the
// application object, so the program's start-up and every window base can call this.
void installButtonKeys();

}  // namespace korv
