// The processes the game forks. The system message box runs in a child process of
// its own (SDL's X11 box does), which inherits everything the game holds: the frame
// lock's descriptor, the display-loss handler, the stop-signal handlers. Such a child
// must never outlive the game nor keep the lock for it: once guarded, every child
// forked from now on is ended by the kernel when the game ends (PR_SET_PDEATHSIG, set
// in a pthread_atfork child handler), ends at once if the game is already gone, and
// lets go of the files of the descriptors registered with CloseInForkedChildren (the
// number is left open on /dev/null; the lock stays with the game's own descriptor). IsGameProcess tells the
// game's own process from such a child, so that handlers inherited by a child do not do the game's work
// there. The guarded pid and the registered descriptors are the state the fork handler reads: it gets no
// context.
#pragma once

// Records this process as the game's and installs the fork handler (once; a child
// that calls it becomes a game of its own).
void GuardForkedChildren();
// True in the process that called GuardForkedChildren (and before any call).
bool IsGameProcess();
// Registers fd to be closed in every child forked while it is registered; Forget
// takes it off (before the descriptor is closed). Room for a few descriptors.
void CloseInForkedChildren(int fd);
void ForgetInForkedChildren(int fd);
