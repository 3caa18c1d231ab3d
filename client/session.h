// The whole life of the console client, apart from the process around it.
#ifndef MARROWBY_CLIENT_SESSION_H
#define MARROWBY_CLIENT_SESSION_H

// Connects to the server fixed at build time, logs in and prints the server's
// messages until the connection ends; the exit status (0, or -1 on failure).
int runClient();

#endif
