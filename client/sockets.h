// The little that Winsock 1.1 and POSIX sockets spell differently: the
// library's start and stop, closing a socket, the handle type and the error
// values. Everything else the client uses is the common Berkeley interface.
#ifndef MARROWBY_CLIENT_SOCKETS_H
#define MARROWBY_CLIENT_SOCKETS_H

#ifdef _WIN32
#include <winsock.h>

typedef SOCKET SocketHandle;
const SocketHandle invalidSocket = INVALID_SOCKET;
const int socketError = SOCKET_ERROR;
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

typedef int SocketHandle;
const SocketHandle invalidSocket = -1;
const int socketError = -1;
#endif

// Asks for version 1.1. A failed start is not reported here: the first call
// that needs the library fails instead.
void startSockets();
void stopSockets();
void closeSocket(SocketHandle handle);

#endif
