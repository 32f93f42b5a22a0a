#pragma once

namespace platform {

// The busy pointer over the program's windows while work runs that the person has to wait
// for (loading or saving a knowledge base, an analysis): one at the top of a handler, and
// it is restored on every way out. A modal window opened meanwhile (a question, the file
// dialog, the saved notice) shows the normal pointer while it is open.
//
// The program takes no input while it works: clicks and keys made meanwhile wait in the
// window system's queue and would be acted on once the work is done, late and on whatever
// the window shows by then. So when the outermost busy pointer goes, the input that queued
// up is taken from the queue and dropped; everything else that waited (drawing, a close
// asked for) is done as usual, and input from then on counts again.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    // Whether a busy pointer is up, paused for a modal window or not.
    static bool Active();
};

} // namespace platform
