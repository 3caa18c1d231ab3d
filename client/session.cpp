// The client's one session: logs into the network's central server and prints
// every message that the server sends until the connection ends. The server and
// the login are compile definitions of each program built from this source.
//
// The C headers come first on purpose: the Windows build asks for the system
// C library's printf (__USE_MINGW_ANSI_STDIO=0), which libstdc++'s headers
// would override with MinGW's own, a printf that writes one character at a
// time and costs the client most of its speed there.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "message.h"
#include "session.h"
#include "sockets.h"

// Fixed when the program is built.
static const char serverHost[] = MARROWBY_SERVER_HOST;
static const unsigned short serverPort = MARROWBY_SERVER_PORT;
static const char userName[] = MARROWBY_USER_NAME;
static const char password[] = MARROWBY_PASSWORD;

static const int receiveAreaSize = 256;
static const int failureStatus = -1;
static const int successStatus = 0;

static void reportOutOfMemory() {
    puts("Out of memory.");
}

// The server's host entry, or null when its name does not resolve.
static const hostent* resolveServer() {
    const hostent* host = gethostbyname(serverHost);
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list[0] == nullptr) {
        puts("Cannot resolve hostname.");
        return nullptr;
    }
    puts("Resolved hostname.");
    return host;
}

// A socket connected to the server, or invalidSocket.
static SocketHandle connectToServer(const hostent* host) {
    SocketHandle connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connection == invalidSocket) {
        puts("Failed to create socket.");
        return invalidSocket;
    }
    sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_port = htons(serverPort);
    memcpy(&address.sin_addr, host->h_addr_list[0], sizeof(address.sin_addr));
    if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == socketError) {
        puts("Could not connect.");
        closeSocket(connection);
        return invalidSocket;
    }
    puts("Connected to Marrowby network server.");
    return connection;
}

// False when the text could not be made.
static bool printMessage(const Data* message) {
    char* text = dataToStr(message, characterFormat, lettersOnlyMode);
    if (text == nullptr) {
        return false;
    }
    printf("\r\nMessage:\r\n%s\r\n", text);
    free(text);
    return true;
}

// Adds the chunk to the reassembly buffer and prints every complete message
// it now holds, so none waits for the next chunk. False when memory ran out.
static bool printCompleteMessages(Data* buffer, const char* chunk, int count) {
    Data* message = parseData(buffer, chunk, count);
    while (message != nullptr) {
        bool printed = printMessage(message);
        deleteData(message);
        if (!printed) {
            return false;
        }
        message = parseData(buffer, nullptr, 0);
    }
    return !isParseOutOfMemory();
}

static void printLoopEnd(int received) {
    if (received == socketError) {
        printf("Error on socket.\r\n");
    } else if (received == 0) {
        printf("Connection closed.\r\n");
    }
}

// Prints what arrives until the server closes or the connection fails; the
// exit status. The pass after the last receive adds nothing and prints the
// messages still held.
static int receiveMessages(SocketHandle connection, Data* buffer) {
    char area[receiveAreaSize];
    int received = 0;
    do {
        received = static_cast<int>(recv(connection, area, receiveAreaSize, 0));
        if (!printCompleteMessages(buffer, area, received > 0 ? received : 0)) {
            reportOutOfMemory();
            return failureStatus;
        }
    } while (received > 0);
    printLoopEnd(received);
    return successStatus;
}

// Logs in and prints the server's messages; the exit status.
static int talkToServer(SocketHandle connection) {
    Data* login = buildLogin(userName, password);
    Data* buffer = newData(nullptr, 0);
    int status = failureStatus;
    if (login == nullptr || buffer == nullptr) {
        reportOutOfMemory();
    } else {
        // A failed send shows up as an error or a close in the receive loop.
        send(connection, login->content, login->length, 0);
        status = receiveMessages(connection, buffer);
    }
    deleteData(login);
    deleteData(buffer);
    return status;
}

static int finish(int status) {
    stopSockets();
    fflush(stdout);
    return status;
}

int runClient() {
    startSockets();
    const hostent* host = resolveServer();
    if (host == nullptr) {
        return finish(failureStatus);
    }
    SocketHandle connection = connectToServer(host);
    if (connection == invalidSocket) {
        return finish(failureStatus);
    }
    int status = talkToServer(connection);
    closeSocket(connection);
    return finish(status);
}
