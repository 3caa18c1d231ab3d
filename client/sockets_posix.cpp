// POSIX sockets need no library start; only a write to a connection that the
// peer has reset needs taking care of.
#include "sockets.h"

#include <csignal>
#include <unistd.h>

// Winsock reports a send on a reset connection as an error; here it would
// raise SIGPIPE and end the process, so the signal is ignored instead.
void startSockets() {
    signal(SIGPIPE, SIG_IGN);
}

void stopSockets() {
}

void closeSocket(SocketHandle handle) {
    close(handle);
}
