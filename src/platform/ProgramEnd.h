#pragma once

/// Ending a program at the session's request (a termination signal),
/// whatever window is open at that moment: a message box, a dialog with its
/// own event loop, a menu, even a box shown during start-up before the
/// application's loop runs.
namespace vexa {

/// True once EndProgram() ran. From then on ShowMessage() answers as a
/// dismissed box would, without showing one, and every dialog that is shown
/// is dismissed at once: nothing asks the user anything any more.
bool IsProgramEnding();

/// Marks the program as ending, dismisses every open dialog and popup, and
/// leaves every running event loop, the application's own included; a loop
/// started afterwards returns at once. The program's main() must not enter
/// the application's loop when this ran during start-up. Calling it again
/// (a second signal) repeats the dismissal and never blocks.
void EndProgram();

}  // namespace vexa
