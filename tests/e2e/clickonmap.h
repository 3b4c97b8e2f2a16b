#pragma once

// "screencheck clickonmap TITLE X Y [SECONDS]": watches the display for a
// new top-level window titled TITLE and, the moment it becomes viewable,
// clicks button 1 at (X, Y) of its client area through the XTEST extension.
// Prints "ready" once it watches, and "clicked N us after mapping" after the
// click. Returns 0 after the click, 1 when no such window became viewable
// within SECONDS (default 20) or the window clicked turned out to have
// another title, 2 on bad arguments or a display without XTEST.
int ClickOnMap(int argc, char** argv);

// "screencheck launch TITLE COMMAND [ARGUMENT...]": starts the command and
// prints the milliseconds from its start until its window titled TITLE is
// viewable (the event that made it so, as it arrived), then ends it with
// SIGKILL. Returns 1 when no such window became viewable within 20 s.
int LaunchTime(int argc, char** argv);
