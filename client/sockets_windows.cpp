// Winsock 1.1 (wsock32).
#include "sockets.h"

static const WORD requestedVersion = 0x0101;

void startSockets() {
    WSADATA details;
    WSAStartup(requestedVersion, &details);
}

void stopSockets() {
    WSACleanup();
}

void closeSocket(SocketHandle handle) {
    closesocket(handle);
}
